#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "actors/bot.h"
#include "engine2d/font.h"
#include "game/fontcharsets.h"
#include "game/hudtexts.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"

namespace {

using Vortel::Game;

TEST(HudTexts, TheTextBarShowsEachCounterInItsColumnAndColour) {
    Vortel::BarHudValues v;
    v.score = 1234;
    v.pointsToGo = 250;
    v.shields = 40.0f;
    v.ammo = 7;
    v.bombs = 3;
    v.liveChasers = 2;
    v.chasers = 4;
    v.density = 5;
    const struct {
        const char* text;
        const char* widest;
        RGBA<float> color;
    } expected[] = {
        {"SCORE: 001234", "SCORE: 88888888", {0.8f, 1, 0.8f, 1}}, {"TO GO: 250", "TO GO: -888888", {0.8f, 1, 0.8f, 1}},
        {"SHIELDS: 40", "SHIELDS: 88", {0.8f, 0.8f, 1, 1}},       {"AMMO: 007", "AMMO: 888", {0.8f, 0.8f, 0.8f, 1}},
        {"EMP: 3", "EMP: 8", {1, 0.8f, 0.8f, 1}},                 {"CHASERS: 2/4", "CHASERS: 88/88", {1, 0.8f, 1, 1}},
        {"DENS: 05", "DENS: 888", {0.9f, 1, 0.8f, 1}},
    };
    // Columns as wide as their longest texts: where the row has room they keep margins of 16
    // and share what is left equally; where it has not, gaps of 8 and the row centred.
    // Widths are whole pixels, rounded up.
    const struct {
        std::array<float, 7> widths;
        std::array<float, 7> x;
    } placements[] = {
        {{100, 100, 80, 70, 40, 110, 70}, {16, 149, 282, 395, 498, 571, 714}},
        {{130, 130, 100, 90, 60, 140, 90}, {6, 144, 282, 390, 488, 556, 704}},
        {{99.2f, 100, 80, 70, 40, 110, 70}, {16, 149, 282, 395, 498, 571, 714}},
    };
    std::string text;
    for (const auto& p : placements) {
        const std::array<Vortel::BarHudColumn, 7> columns = Vortel::barHudColumns(p.widths, 800.0f);
        for (std::size_t i = 0; i < 7; ++i) {
            SCOPED_TRACE(i);
            Vortel::barHudText(i, v, text);
            EXPECT_EQ(text, expected[i].text);
            Vortel::barHudWidestText(i, '8', text);
            EXPECT_EQ(text, expected[i].widest);
            EXPECT_EQ(columns[i].x, p.x[i]);
            EXPECT_EQ(columns[i].color, expected[i].color);
        }
    }
    // Widths are minimums.
    v.score = 1234567;
    Vortel::barHudText(0, v, text);
    EXPECT_EQ(text, "SCORE: 1234567");
}

TEST(HudTexts, HitpointBarsHangBelowTheBoxAndRunOutGreenOrangeRed) {
    const Quib::AABB2<float> box(100, 200, 150, 240);
    const struct {
        float hitpoints;
        int max;
        bool labels;
        bool bar, fill;
        float frameBottom, fillRight;
        RGBA<float> color;
    } cases[] = {
        {10, 10, true, true, true, 177, 136, {0, 1, 0, 1}},  // full: inner box from x 2 to 36
        {6, 10, true, true, true, 177, 121.6f, {0, 1, 0, 1}},
        {5, 10, false, true, true, 188, 118, {1, 0.7f, 0, 1}},  // exactly half is no longer green
        {2, 10, false, true, true, 188, 107.2f, {1, 0, 0, 1}},  // exactly a fifth is red
        {0.1f, 10, true, true, true, 177, 102, {1, 0, 0, 1}},   // too short to show: 0 wide
        {0, 10, true, true, false, 177, 0, {}},                 // nothing left: no inner box
        {5, 0, true, false, false, 0, 0, {}},                   // no maximum: no bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hitpoints);
        const float offset = Vortel::hitpointBarOffset(c.labels, false);
        Vortel::HitpointBar bar;
        ASSERT_EQ(Vortel::hitpointBar(box, c.hitpoints, c.max, offset, bar), c.bar);
        if (!c.bar) {
            continue;
        }
        // 16 to 23 pixels under the box with labels, 5 to 12 without; 38 x 7.
        EXPECT_EQ(bar.frame, Quib::AABB2<float>(100, c.frameBottom, 138, c.frameBottom + 7));
        ASSERT_EQ(bar.hasFill, c.fill);
        if (c.fill) {
            EXPECT_FLOAT_EQ(bar.fill.min.x, 102);
            EXPECT_FLOAT_EQ(bar.fill.max.x, c.fillRight);
            EXPECT_EQ(bar.fill.min.y, c.frameBottom + 2);
            EXPECT_EQ(bar.fill.max.y, c.frameBottom + 5);
            EXPECT_EQ(bar.fillColor, c.color);
        }
    }
    EXPECT_EQ(Vortel::hitpointBarOffset(false, true), 14.0f);
}

TEST(HudTexts, LabelsRingsAndFrameRate) {
    std::string text;
    const struct {
        bool names, types;
        const char* label;
    } labels[] = {{true, true, "ZAK (rocker)"}, {true, false, "ZAK "}, {false, true, "(rocker)"}, {false, false, ""}};
    for (const auto& l : labels) {
        Vortel::chaserLabel("ZAK", "rocker", l.names, l.types, text);
        EXPECT_EQ(text, l.label);
    }
    EXPECT_FLOAT_EQ(Vortel::comboDialValue(0.0, 5.0), 1.0f);
    EXPECT_FLOAT_EQ(Vortel::comboDialValue(5.0, 5.0), 0.0f);
    EXPECT_FLOAT_EQ(Vortel::comboDialValue(1.0, 0.0), 0.0f);
    EXPECT_FLOAT_EQ(Vortel::speedingDialValue(2.4f, 2, 4), 0.4f);
    EXPECT_FLOAT_EQ(Vortel::speedingDialValue(4.7f, 4, 4), 1.0f);
    Vortel::speedingText(2, text);
    EXPECT_EQ(text, "x2");
    Vortel::frameRateText(true, 59.9, text);
    EXPECT_EQ(text, "59 fps\n");
    Vortel::frameRateText(false, 59.9, text);
    EXPECT_EQ(text, "");
}

// The game with its fonts and its frame rate set by the test.
class HudGame : public testgame::TestGame {
public:
    HudGame()
        : TestGame(std::make_unique<testsupport::FakeEventSource>(), std::make_unique<testsupport::FakeDevice>()) {
        _fontSmall.reset(
            new Stelkor::Font("textures/font_small.png", fontcharsets::kCharsetA, 5, 16, 0, _renderer, true));
        _font.reset(new Stelkor::Font("textures/font.png", fontcharsets::kCharsetB, 5, 16, 0, _renderer, true));
        _fontBig.reset(new Stelkor::Font("textures/font_big.png", fontcharsets::kCharsetA, 5, 32, 2, _renderer, true));
        _renderer.vport(Quib::AABB2<int>(0, 0, 800, 600));
        placeBarHud();
    }
    void fps(double f) { _fps = f; }
    void blank() {
        _renderer.color(0, 0, 0, 1);
        _renderer.clear();
    }
};

class HudOverlaysGL : public testgame::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        hud = std::make_unique<HudGame>();
    }
    void TearDown() override {
        hud.reset();
        GameFixture::TearDown();
    }
    std::unique_ptr<HudGame> hud;
};

TEST_F(HudOverlaysGL, BoostShowsOnlyFromTheSecondLevelAndTheComboRingRunsOut) {
    HudGame& g = *hud;
    const RGBA<float> before(0.1f, 0.2f, 0.3f, 0.4f);
    g._renderer._color = before;
    g._renderer._font = g._font.get();
    g._renderer._lineSpacing = 3;
    g._speedLevel = 1.9f;
    g._speedLevelRounded = 1;
    g.drawSpeeding();
    EXPECT_EQ(g._renderer._color, before);
    EXPECT_EQ(g._renderer._font, g._font.get());
    EXPECT_EQ(g._renderer._lineSpacing, 3);

    g._speedingMaxLevel = 4;
    g._speedLevel = 2.4f;
    g._speedLevelRounded = 2;
    g.drawSpeeding();
    EXPECT_EQ(g._speedingDial.pos(), Vector2<float>(500, 100));
    EXPECT_NEAR(g._speedingDial.value(), 0.4f, 1e-6f);
    EXPECT_EQ(g._hudText, "x2");
    EXPECT_EQ(g._renderer._lineSpacing, 0);
    EXPECT_EQ(g._renderer._font, g._fontSmall.get());
    EXPECT_EQ(g._renderer._color, RGBA<float>(1, 1, 1, 1));
    g._speedLevel = 4.3f;
    g._speedLevelRounded = 4;
    g.drawSpeeding();
    EXPECT_FLOAT_EQ(g._speedingDial.value(), 1.0f);

    g._comboCount = 3;
    for (const double time : {0.0, g._comboWindow}) {
        g._comboTime = time;
        g.drawCombo();
        EXPECT_FLOAT_EQ(g._comboDial.value(), time == 0.0 ? 1.0f : 0.0f);
    }
    EXPECT_EQ(g._comboDial.pos(), Vector2<float>(300, 100));
    EXPECT_EQ(g._hudText, "3");
    EXPECT_EQ(g._renderer._font, g._fontSmall.get());

    g.drawBarHud();
    EXPECT_EQ(g._hudText, "DENS: 00");
    EXPECT_EQ(g._renderer._color, RGBA<float>(0.9f, 1, 0.8f, 1));
    EXPECT_EQ(g._renderer._font, g._font.get());
}

// The text bar of the game's own font at the largest counters of a game: no two columns
// closer than 8 pixels, all inside the window, and what is drawn stays inside the columns.
TEST_F(HudOverlaysGL, TheTextBarKeepsItsLongestCountersApartInsideTheWindow) {
    testgame::TestGame& g = game();
    g.init();
    Vortel::BarHudValues most;
    most.score = 99999999;
    most.pointsToGo = -999999;
    most.shields = 50.0f;
    most.ammo = 999;
    most.bombs = 9;
    most.liveChasers = 99;
    most.chasers = 99;
    most.density = 100;
    std::vector<std::pair<float, float>> spans;
    std::string text;
    for (std::size_t i = 0; i < 7; ++i) {
        Vector2<float> size;
        Vortel::barHudText(i, most, text);
        g._renderer.getTextSize(&size, nullptr, text, *g._font, Vector2<float>(1, 1));
        spans.emplace_back(g._barHudColumns[i].x, g._barHudColumns[i].x + size.x);
    }
    EXPECT_GE(spans.front().first, 0.0f);
    EXPECT_LE(spans.back().second, 800.0f);
    for (std::size_t i = 1; i < spans.size(); ++i) {
        EXPECT_GE(spans[i].first - spans[i - 1].second, 8.0f) << "between columns " << i - 1 << " and " << i;
    }

    g._score = most.score;
    g._pointsToGo = most.pointsToGo;
    g._player._hitpoints = most.shields;
    g._gun.ammo(most.ammo);
    g._bombs = most.bombs;
    g._liveBotCount = most.liveChasers;
    g._density = most.density;
    g._renderer.vport(Quib::AABB2<int>(0, 0, 800, 600));
    g._renderer.color(0, 0, 0, 1);
    g._renderer.clear();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    g.drawBarHud();
    const std::vector<unsigned char> screen = testsupport::readScreen();
    std::vector<bool> lit(800, false);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 800; ++x) {
            const unsigned char* p = &screen[static_cast<std::size_t>(y * 800 + x) * 4];
            lit[static_cast<std::size_t>(x)] = lit[static_cast<std::size_t>(x)] || p[0] + p[1] + p[2] > 0;
        }
    }
    std::vector<int> litPerColumn(spans.size(), 0);
    for (int x = 0; x < 800; ++x) {
        if (!lit[static_cast<std::size_t>(x)]) {
            continue;
        }
        bool inside = false;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            if (x >= spans[i].first - 1 && x <= spans[i].second + 1) {
                inside = true;
                ++litPerColumn[i];
            }
        }
        EXPECT_TRUE(inside) << "lit at x " << x << ", between the columns";
    }
    for (std::size_t i = 0; i < spans.size(); ++i) {
        EXPECT_GT(litPerColumn[i], 0) << "column " << i << " shows nothing";
    }
}

TEST_F(HudOverlaysGL, ChaserLabelsLeaveFogAsTheyFoundIt) {
    HudGame& g = *hud;
    Vortel::Bot bot("ZAK", Vector3<int>(3, 3, 3), Vector3<int>::X_PLUS, Vector3<int>::Y_PLUS, 4.0f, g._octree);
    bot.type("rocker");
    bot._screenBox = Quib::AABB2<float>(100, 200, 150, 240);
    g._botInfoList.push_back(&bot);
    for (const bool fog : {true, false}) {
        fog ? glEnable(GL_FOG) : glDisable(GL_FOG);
        g.drawBotInfo();
        EXPECT_EQ(glIsEnabled(GL_FOG) == GL_TRUE, fog);
    }
    EXPECT_EQ(g._hudText, "ZAK (rocker)");
    g._botInfoList.clear();
}

// The lowest and leftmost lit pixel of the screen.
Vector2<int> lowerLeftOfLitPixels(const std::vector<unsigned char>& screen) {
    Vector2<int> corner(800, 600);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const unsigned char* p = &screen[(y * 800 + x) * 4];
            if (p[0] + p[1] + p[2] > 0) {
                corner.set(std::min(corner.x, x), std::min(corner.y, y));
            }
        }
    }
    return corner;
}

TEST_F(HudOverlaysGL, TheRespawnListGrowsUpFromAboveTheDialsOrTheBar) {
    HudGame& g = *hud;
    g._hudColor = RGBA<float>(1, 1, 1, 1);
    g.blank();
    g.drawDeadBots();
    EXPECT_EQ(g._hudText, "");
    EXPECT_EQ(lowerLeftOfLitPixels(testsupport::readScreen()), Vector2<int>(800, 600));

    Vortel::Bot bot("ZAK", Vector3<int>(3, 3, 3), Vector3<int>::X_PLUS, Vector3<int>::Y_PLUS, 4.0f, g._octree);
    bot.die(3.9);
    g._deadBots.push_back(&bot);
    std::vector<Vector2<int> > corners;
    for (const bool dials : {true, false}) {
        g._cockpitHud = dials;
        g.blank();
        g.drawDeadBots();
        EXPECT_EQ(g._hudText, "CHASER RESPAWN:\nZAK 3\n");
        corners.push_back(lowerLeftOfLitPixels(testsupport::readScreen()));
    }
    g._deadBots.clear();
    // The bottom line sits 14 pixels higher over the dials, from x 16 on.
    EXPECT_EQ(corners[0].y - corners[1].y, 14);
    EXPECT_EQ(corners[0].x, corners[1].x);
    EXPECT_GE(corners[1].x, 16);
    EXPECT_LT(corners[1].x, 20);
    EXPECT_GE(corners[1].y, 26);
}

// Where the screen shows the magenta of the message: its red and blue alike, no green.
std::vector<bool> magentaOf(const std::vector<unsigned char>& screen) {
    std::vector<bool> mask(screen.size() / 4);
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const unsigned char* p = &screen[i * 4];
        mask[i] = p[0] > 0 && p[0] == p[2] && p[1] == 0;
    }
    return mask;
}

TEST_F(HudOverlaysGL, AnnouncementsArePrintedInTheGameFontWhateverTheHudUsedBefore) {
    HudGame& g = *hud;
    g._hudColor = RGBA<float>(1, 1, 1, 1);
    g._displayFps = true;
    g.fps(59.9);
    g._message._pos = Vector2<float>(400, 342);
    g._message._color = RGBA<float>(1, 0, 1, 1);
    const std::string text = "GAME OVER\n\nPRESS ANY KEY TO CONTINUE";
    for (const int state : {Game::STATE_PLAY, Game::STATE_GAME_OVER, Game::STATE_TRICK_TRAINER}) {
        SCOPED_TRACE(state);
        g._state = state;
        g._message.clear();
        g._message._text << text;
        g._message.showText(10.0, 0.0);
        g.blank();
        g.drawHud();
        const std::vector<bool> shown = magentaOf(testsupport::readScreen());

        g.blank();
        g._renderer._font = g._font.get();
        g._message.draw();
        const std::vector<bool> alone = magentaOf(testsupport::readScreen());
        EXPECT_GT(std::count(alone.begin(), alone.end(), true), 100);
        EXPECT_TRUE(shown == alone);
    }
}

TEST_F(HudOverlaysGL, TheFrameRateIsPrintedOnlyWhenShownButTheTextIsAlwaysSetUp) {
    HudGame& g = *hud;
    g._hudColor = RGBA<float>(0.2f, 0.3f, 0.4f, 1);
    g._displayFps = false;
    g.fps(59.9);
    g.drawDebugInfo();
    EXPECT_EQ(g._hudText, "");
    EXPECT_EQ(g._renderer._color, g._hudColor);
    EXPECT_EQ(g._renderer._font, g._fontSmall.get());
    EXPECT_EQ(g._renderer._boundTexture, 0u);
    g._displayFps = true;
    g.drawDebugInfo();
    EXPECT_EQ(g._hudText, "59 fps\n");
}

}  // namespace
