#include <benchmark/benchmark.h>

#include <memory>

#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "engine2d/timelinesprite.h"

// Every menu, splash and HUD element is a sprite tree animated once per frame; this is the
// cost of one frame's step for a tree of n sprites, each with a looping swing on its x.
static void BM_SpriteTreeAnimate(benchmark::State& state) {
    Stelkor::Sprite root;
    for (int i = 0; i < state.range(0); ++i) {
        Stelkor::TimelineSprite* s = new Stelkor::TimelineSprite;
        s->pos(static_cast<float>(i), 0);
        s->vel(5, 0.5f);
        Stelkor::Timeline<float> swing;
        swing.addSineKeys(2, -10, 0.35f, 0, 0.7f, 10);
        s->setTimeline(s->_pos.x, swing);
        s->parent(&root);
    }
    for (auto _ : state) {
        root.animate(0.016);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SpriteTreeAnimate)->Arg(16)->Arg(256);

// A shown menu: its item texts with fading highlights, animated every frame.
static void BM_MenuAnimate(benchmark::State& state) {
    Stelkor::TextSprite normal;
    Stelkor::TextSprite highlight;
    Stelkor::Timeline<float> fade;
    fade.loop = false;
    fade.addKey({0, 0, 1});
    fade.addKey({0.5, 1, 1});
    highlight.setTimeline(highlight.textColor.a, fade);
    Stelkor::SimpleMenu menu(normal, highlight);
    menu.lineSpacing = 20;
    for (int i = 0; i < 12; ++i) {
        menu.addItem("ITEM", true).addIntRangeValues(0, 10, 5, 1);
    }
    int frame = 0;
    for (auto _ : state) {
        if (++frame % 30 == 0) {
            menu.selectNextItem();
        }
        menu.animate(0.016);
    }
}
BENCHMARK(BM_MenuAnimate);
