#ifndef QUELLARIS_GAME_NOTICE_H
#define QUELLARIS_GAME_NOTICE_H

#include <string>
#include <vector>

#include "platform/rgba.h"
#include "platform/vector2.h"

namespace Stelkor {
class Renderer2D;
}

namespace Vortel {

// A short line at the top of the menu screens that tells the player of something that went
// wrong out of sight ("SETTINGS NOT SAVED"), where the play screen's announcement is not drawn.
// show() puts a line up: it stays fully visible for holdSeconds, fades out over fadeSeconds and
// then hides. A second line shown meanwhile joins the first, and both hold again from then;
// the same line twice is shown once.
// Per frame: animate(frame time), then draw() with the renderer's font already chosen.
class Notice {
public:
    static constexpr double holdSeconds = 4.0;
    static constexpr double fadeSeconds = 1.0;

    void show(const std::string& line);

    // While shown: advances the clock; past hold plus fade the notice hides and forgets its lines.
    void animate(double dt);

    // While shown: every line, each centred on top.x, the first line's top edge on top.y, in
    // color with the fading alpha. Loads the identity modelview first.
    void draw(Stelkor::Renderer2D& renderer, const Vector2<float>& top, const RGBA<float>& color) const;

    bool shown() const { return !_lines.empty(); }
    // The lines shown, top first, one per line; joined when a line is shown, so a frame that
    // draws them allocates nothing.
    const std::string& text() const { return _text; }
    // 1 while holding, falling to 0 over the fade.
    float alpha() const;

private:
    std::vector<std::string> _lines;
    std::string _text;
    double _time = 0.0;
};

}  // namespace Vortel

#endif
