#include <gtest/gtest.h>

#include <GL/gl.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "actors/bot.h"
#include "engine2d/sprite.h"
#include "tests/game/game_fixture.h"
#include "tests/support/helpers.h"
#include "world/cubecolors.h"
#include "world/cuberenderer.h"

namespace {

using testsupport::expectColor;

using Vortel::Game;

// A game whose colour file is the given text, with its schemes set up (a new game starts the colour tables empty).
class ColorSchemeGL : public testgame::GameFixture {
protected:
    Game& gameWithColorFile(const std::string& text) {
        std::ofstream("data/color") << text;
        Game& g = game();
        const Vortel::CubeColors& colors = g._octree.renderer().colors();
        firstTriplet = colors.tripletCount();
        firstTrail = colors.trailCount();
        g.setupColorSchemes();
        triplets = colors.tripletCount() - firstTriplet;
        trails = colors.trailCount() - firstTrail;
        return g;
    }

    const Game::ColorScheme& scheme(const std::string& key) { return game()._colorSchemes.at(key); }
    unsigned char trail(int offset) const { return static_cast<unsigned char>(firstTrail + offset); }

    int firstTriplet = 0;
    int firstTrail = 0;
    int triplets = 0;
    int trails = 0;
};

TEST_F(ColorSchemeGL, BuiltInSchemesAreMadeAndSpectrumLightIsApplied) {
    Game& g = gameWithColorFile("");
    std::vector<std::string> keys;
    for (const auto& entry : g._colorSchemes) {
        keys.push_back(entry.first);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"default_light", "spectrum_dark", "spectrum_light"}));
    EXPECT_EQ(triplets, 13);
    EXPECT_EQ(trails, 7);
    EXPECT_EQ(g._currentColorScheme->first, "spectrum_light");
    expectColor(g._fogColor, 1, 1, 1, 1);
    expectColor(g._hudColor, 0, 0, 0, 1);
    const auto& stops = g._backgroundGradient.entries();
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_FLOAT_EQ(stops[1].position, 0.5f);
    EXPECT_FLOAT_EQ(stops[2].position, 1.5f);
    expectColor(stops[0].value, 1, 0, 0, 1);
    expectColor(stops[2].value, 1, 1, 1, 1);
    GLfloat fog[4] = {};
    glGetFloatv(GL_FOG_COLOR, fog);
    EXPECT_FLOAT_EQ(fog[1], 1.0f);

    const Vortel::CubeColors& colors = g._octree.renderer().colors();
    const auto& red = colors.triplet(static_cast<unsigned char>(firstTriplet + 4)).shadeFloats;
    expectColor(red[0], 0.6f, 0, 0, 1);
    expectColor(red[2], 1, 0, 0, 1);
    const Game::ColorScheme& light = scheme("default_light");
    expectColor(light.backgrounds.at(2), 178 / 255.0f, 123 / 255.0f, 123 / 255.0f, 1);
    EXPECT_EQ(light.playerTrail, light.trailColors.front());

    Game::ColorScheme dark = scheme("spectrum_dark");
    const Game::ColorScheme& spectrum = scheme("spectrum_light");
    EXPECT_EQ(dark.trailColors, spectrum.trailColors);
    EXPECT_EQ(dark.playerTrail, trail(6));
    expectColor(dark.starfieldColor, 1, 1, 1, 0.3f);
    expectColor(dark.backgrounds.at(0), 0, 0, 0, 1);
    EXPECT_EQ(dark.backgrounds.size(), 1u);
    expectColor(dark.hit, 1, 0, 0, 1);
}

TEST_F(ColorSchemeGL, UserSchemesFollowTheNumberedKeysOfTheFile) {
    Game& g = gameWithColorFile(
        "red 1 0 0 1  1 0 0 1  1 0 0 1\n"
        "blue 0 0 1 1  0 0 1 1  0 0 1 1\n"
        "1_name ONE\n"
        "1_background1 0.1 0.2 0.3 1\n"
        "1_background2 0.4 0.5 0.6 1\n"
        "1_changeBackgroundOnEvery 0\n"
        "1_trail1 red blue\n"
        "1_trail2 red red\n"
        "1_trail3 blue nowhere\n"
        "1_playerTrail 2\n"
        "1_playerTrailExclusive 1\n"
        "2_name TWO\n"
        "2_changeBackgroundOnEvery -3\n"
        "2_hud 0.5 0.5 0.5 1\n"
        "2_trail1 red blue\n"
        "2_trail2 red blue\n"
        "2_playerTrail 1\n"
        "4_name FOUR\n");
    EXPECT_EQ(g._colorSchemes.size(), 5u);
    EXPECT_EQ(g._colorSchemes.count("FOUR"), 0u);

    const Game::ColorScheme& one = scheme("ONE");
    EXPECT_EQ(one.name, "ONE");
    ASSERT_EQ(one.backgrounds.size(), 2u);
    expectColor(one.backgrounds[1], 0.4f, 0.5f, 0.6f, 1);
    EXPECT_EQ(one.changeBackgroundOnEvery, 1);
    expectColor(one.hud, 0, 0, 0, 0);
    expectColor(one.starfieldColor, 0, 0, 0, 0.3f);
    // Exclusive: the craft's trail 2 stays out of the chasers' list.
    EXPECT_EQ(one.trailColors, (std::vector<unsigned char>{trail(7), trail(9)}));
    EXPECT_EQ(one.playerTrail, trail(8));

    const Game::ColorScheme& two = scheme("TWO");
    EXPECT_EQ(two.changeBackgroundOnEvery, 1);
    expectColor(two.hud, 0.5f, 0.5f, 0.5f, 1);
    EXPECT_EQ(two.trailColors, (std::vector<unsigned char>{trail(10), trail(11)}));
    EXPECT_EQ(two.playerTrail, trail(10));

    // "red" and "blue" registered once each; "nowhere" is the black triplet.
    EXPECT_EQ(triplets, 13 + 2);
    EXPECT_EQ(trails, 7 + 5);
    const Vortel::CubeColors& colors = g._octree.renderer().colors();
    EXPECT_EQ(colors.trail(trail(9)).end, firstTriplet);
}

TEST_F(ColorSchemeGL, BackgroundsChangeEveryFewStagesInPlay) {
    Game& g = gameWithColorFile(
        "1_name FOUR_BACKGROUNDS\n"
        "1_background 0.1 0 0 1\n"
        "1_background1 0.2 0 0 1\n"
        "1_background2 0.3 0 0 1\n"
        "1_background3 0.4 0 0 1\n"
        "1_changeBackgroundOnEvery 2\n");
    g._state = Game::STATE_PLAY;
    const struct {
        int stage;
        float red;
    } cases[] = {{1, 0.1f}, {2, 0.1f}, {3, 0.2f}, {4, 0.2f}, {8, 0.4f}, {9, 0.1f}};
    for (const auto& c : cases) {
        g._stage = c.stage;
        g.applyColorScheme("FOUR_BACKGROUNDS");
        EXPECT_FLOAT_EQ(g._fogColor.r, c.red) << "stage " << c.stage;
    }
    // Outside play the first background stands, whatever the stage.
    g._state = Game::STATE_MAIN_MENU;
    g._stage = 3;
    g.applyColorScheme("FOUR_BACKGROUNDS");
    EXPECT_FLOAT_EQ(g._fogColor.r, 0.1f);
}

TEST_F(ColorSchemeGL, ApplyingFindsKeyOrNameAndRemapsPlacedTrails) {
    Game& g = gameWithColorFile("");
    g.applyColorScheme("SPECTRUM DARK");
    EXPECT_EQ(g._currentColorScheme->first, "spectrum_dark");
    g.applyColorScheme("no such scheme");
    EXPECT_EQ(g._currentColorScheme->first, "spectrum_dark");
    expectColor(g._hudColor, 1, 1, 1, 1);
    expectColor(g._message._color, 1, 1, 1, 1);

    g.applyColorScheme("default_light");
    for (int i = 0; i < 4; ++i) {
        g._octree.setTerminalNode(Vector3<int>(i, 0, 0), Vortel::OcTree::CELL_SOLID_1, trail(i));
    }
    g.applyColorScheme("spectrum_light");
    const int expected[4] = {4, 5, 4, 5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g._octree.getTerminalNode(Vector3<int>(i, 0, 0))->colorIndex(), trail(expected[i])) << i;
    }
    // The craft's own trail colour is in neither list and stays.
    g._octree.setTerminalNode(Vector3<int>(0, 5, 0), Vortel::OcTree::CELL_SOLID_1, trail(6));
    g.applyColorScheme("spectrum_dark");
    EXPECT_EQ(g._octree.getTerminalNode(Vector3<int>(0, 5, 0))->colorIndex(), trail(6));
    EXPECT_EQ(g._player._trailColor, trail(6));
}

TEST_F(ColorSchemeGL, EverySchemeColoursTheAimCursorWithItsHudColour) {
    Game& g = gameWithColorFile(
        "red 1 0 0 1  1 0 0 1  1 0 0 1\n"
        "1_name BARE\n"
        "1_hud 0.2 0.4 0.6 1\n"
        "2_name PLAYER_ONLY\n"
        "2_hud 0.6 0.4 0.2 1\n"
        "2_trail1 red red\n"
        "2_playerTrail 1\n"
        "2_playerTrailExclusive 1\n");
    g._aimCursorSprite = std::make_unique<Stelkor::Sprite>();
    Vortel::Bot* chaser =
        new Vortel::Bot("chaser", Vector3<int>(4, 4, 4), Vector3<int>::X_PLUS, Vector3<int>::Y_PLUS, 4.0f, g._octree);
    g._bots.push_back(chaser);
    const struct {
        const char* scheme;
        bool trails;  // the chasers get new trail colours
    } cases[] = {{"spectrum_dark", true}, {"BARE", false}, {"default_light", true}, {"PLAYER_ONLY", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scheme);
        chaser->_trailColor = 200;
        g.applyColorScheme(c.scheme);
        const RGBA<float>& hud = scheme(c.scheme).hud;
        EXPECT_EQ(g._hudColor, hud);
        EXPECT_EQ(g._aimCursorSprite->color(), hud);
        EXPECT_EQ(chaser->_trailColor != 200, c.trails);
    }
}

TEST_F(ColorSchemeGL, ShippedColourFileHoldsNightfallAndEmber) {
    std::ifstream shipped(std::string(QUELLARIS_RUN_DIR) + "/data/color");
    const std::string text((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    gameWithColorFile(text);
    const Game::ColorScheme& nightfall = scheme("NIGHTFALL");
    EXPECT_EQ(nightfall.trailColors.size(), 3u);
    EXPECT_EQ(nightfall.playerTrail, trail(7));
    EXPECT_EQ(nightfall.changeBackgroundOnEvery, 2);
    const Game::ColorScheme& ember = scheme("EMBER");
    EXPECT_EQ(ember.playerTrail, ember.trailColors.at(2));
}

}  // namespace
