#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine2d/font.h"
#include "game/fontcharsets.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;
using Vortel::RoundCounter;
using CockpitDialsGL = testgame::GameFixture;

TEST_F(CockpitDialsGL, TheGameBuildsItsNineDialsTranslucentWhiteOverTheirDiscs) {
    const struct {
        RoundCounter Game::*dial;
        float inner, outer;
        int segments;
        RGBA<float> disc;
        float discRadius, value;  // no disc: radius 0
    } table[] = {
        {&Game::_scoreDial, 40, 50, 30, {0, 0.4f, 0, 0.6f}, 53, 1},
        {&Game::_shieldsDial, 24, 30, 30, {0, 0, 0.7f, 0.5f}, 33, 1},
        {&Game::_ammoDial, 24, 30, 30, {0, 0, 0, 0.6f}, 33, 1},
        {&Game::_bombsDial, 16, 20, 30, {0.6f, 0, 0, 0.6f}, 23, 1},
        {&Game::_densityDial, 10, 10, 25, {0.2f, 0.4f, 0, 0.4f}, 20, 0},
        {&Game::_chasersDial, 10, 10, 25, {0.5f, 0.35f, 0.5f, 0.6f}, 25, 0},
        {&Game::_waveDial, 10, 10, 25, {0.2f, 0.4f, 0, 0.4f}, 20, 0},
        {&Game::_comboDial, 30, 60, 30, {}, 0, 1},
        {&Game::_speedingDial, 30, 50, 30, {}, 0, 1},
    };
    for (const auto& row : table) {
        const RoundCounter& dial = game().*row.dial;
        SCOPED_TRACE(&row - table);
        EXPECT_FLOAT_EQ(dial.innerRadius(), row.inner);
        EXPECT_FLOAT_EQ(dial.outerRadius(), row.outer);
        EXPECT_EQ(dial.segments(), row.segments);
        EXPECT_FLOAT_EQ(dial.value(), row.value);
        EXPECT_EQ(dial.ringColor(), RGBA<float>(1, 1, 1, 0.55f));
        ASSERT_EQ(dial.hasBackground(), row.discRadius > 0);
        if (dial.hasBackground()) {
            EXPECT_EQ(dial.backgroundColor(), row.disc);
            EXPECT_FLOAT_EQ(dial.backgroundRadius(), row.discRadius);
            EXPECT_EQ(dial.backgroundSegments(), 30);
        }
    }
}

// The HUD part of a play frame on a black screen, with the fonts of the loaded game.
std::vector<unsigned char> drawHud(Game& g) {
    if (!g._font) {
        g._fontSmall.reset(
            new Stelkor::Font("textures/font_small.png", fontcharsets::kCharsetA, 5, 16, 0, g._renderer, true));
        g._font.reset(new Stelkor::Font("textures/font.png", fontcharsets::kCharsetB, 5, 16, 0, g._renderer, true));
    }
    g._renderer.vport(Quib::AABB2<int>(0, 0, 800, 600));
    g._renderer.color(0, 0, 0, 1);
    g._renderer.clear();
    for (void (Game::*draw)() : {&Game::drawScore, &Game::drawShields, &Game::drawAmmo, &Game::drawBombs,
                                 &Game::drawDensity, &Game::drawChasers, &Game::drawWave}) {
        (g.*draw)();
    }
    return testsupport::readScreen();
}

TEST_F(CockpitDialsGL, DialsSitAtTheScreenEdgesAndShowTheGamesFractions) {
    Game& g = game();
    g._pointsToGo = g._waveQuota;
    g._player._hitpoints = 5;
    g._gun.ammo(0);
    g._bombs = 3;
    const std::vector<unsigned char> emptyScore = drawHud(g);
    const struct {
        RoundCounter Game::*dial;
        Vector2<float> centre;
        float value;
    } table[] = {
        {&Game::_scoreDial, {60, 540}, 0},   {&Game::_shieldsDial, {760, 560}, 0.1f},
        {&Game::_ammoDial, {760, 40}, 0},    {&Game::_bombsDial, {696, 34}, 3 / 9.0f},
        {&Game::_densityDial, {27, 465}, 0}, {&Game::_chasersDial, {35, 30}, 0},
        {&Game::_waveDial, {135, 573}, 0},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(&row - table);
        EXPECT_EQ((g.*row.dial).pos(), row.centre);
        EXPECT_FLOAT_EQ((g.*row.dial).value(), row.value);
    }
    EXPECT_EQ(g._renderer._font, g._font.get());
    EXPECT_EQ(g._renderer._color, RGBA<float>(1, 1, 1, 1));

    g._pointsToGo = 0;
    const std::vector<unsigned char> fullScore = drawHud(g);
    EXPECT_FLOAT_EQ(g._scoreDial.value(), 1.0f);
    // The score ring at 3 o'clock: its disc is green, so any red there is the white ring's.
    const std::size_t threeOClock = (540u * 800 + 105) * 4;
    EXPECT_EQ(emptyScore[threeOClock], 0);
    EXPECT_GT(fullScore[threeOClock], 100);
}

// Over a bright sky only the disc shows white text: every letter must stand on its disc.
TEST_F(CockpitDialsGL, EveryLabelAndNumberStaysOnItsDisc) {
    Game& g = game();
    g._score = 88888;
    g._pointsToGo = 88888;
    g._player._hitpoints = 50;
    g._gun.ammo(100);
    g._bombs = 9;
    g._density = 88;
    g._liveBotCount = 8;
    g._stage = 88;
    const std::vector<unsigned char> screen = drawHud(g);
    for (RoundCounter Game::*dial : {&Game::_scoreDial, &Game::_shieldsDial, &Game::_ammoDial, &Game::_bombsDial,
                                     &Game::_densityDial, &Game::_chasersDial, &Game::_waveDial}) {
        const RoundCounter& d = g.*dial;
        SCOPED_TRACE(d.backgroundRadius());
        const float reach = d.backgroundRadius() + 6.0f;
        int letters = 0;
        for (int y = static_cast<int>(d.pos().y - reach); y <= static_cast<int>(d.pos().y + reach); ++y) {
            for (int x = static_cast<int>(d.pos().x - reach); x <= static_cast<int>(d.pos().x + reach); ++x) {
                if (x < 0 || x >= 800 || y < 0 || y >= 600) {
                    continue;
                }
                const unsigned char* p = &screen[(static_cast<std::size_t>(y) * 800 + x) * 4];
                if (p[0] < 200 || p[1] < 200 || p[2] < 200) {
                    continue;
                }
                ++letters;
                EXPECT_LE(std::hypot(x + 0.5f - d.pos().x, y + 0.5f - d.pos().y), d.backgroundRadius())
                    << "white at " << x << ", " << y;
            }
        }
        EXPECT_GT(letters, 20);
    }
}

}  // namespace
