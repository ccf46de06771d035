#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/game/game_fixture.h"
#include "tests/support/helpers.h"
#include "world/particle.h"

namespace {

using testsupport::expectColor;

using Vortel::Game;
using GameGL = testgame::GameFixture;

float glFloat(GLenum what) {
    GLfloat value = 0.0f;
    glGetFloatv(what, &value);
    return value;
}

TEST_F(GameGL, ConstructionSetsTheStartValuesAndTheFixedGlState) {
    Game& g = game();
    EXPECT_STREQ(SDL_GetWindowTitle(g.sdlWindow()), "Quellaris");
    EXPECT_EQ(g._state, Game::STATE_NONE);
    EXPECT_EQ(g._maxCubes, 32768);
    EXPECT_FLOAT_EQ(g._barMenuMinHeight, 200.0f);
    EXPECT_EQ(g._masterVolume, 128);
    EXPECT_EQ(g._effectsVolume, 128);
    EXPECT_EQ(g._musicVolume, 128);
    EXPECT_EQ(g._voiceVolume, 128);
    EXPECT_FLOAT_EQ(g._fov, 90.0f);
    EXPECT_EQ(g._speedLevelRounded, 1);
    EXPECT_TRUE(g._currentGameSpeed == g._gameSpeeds.end());
    EXPECT_TRUE(g._currentColorScheme == g._colorSchemes.end());
    EXPECT_EQ(g._wmKeyDownDI, g._input.keyDownMessage());
    EXPECT_EQ(g._wmMouseMoveDI, g._input.mouseMoveMessage());
    EXPECT_EQ(g._cameraSubject, &g._player);
    EXPECT_TRUE(Vortel::Particle::managementActive());

    GLint fogMode = 0;
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_EQ(fogMode, GL_LINEAR);
    EXPECT_FLOAT_EQ(glFloat(GL_FOG_START), 8.0f);
    EXPECT_FLOAT_EQ(glFloat(GL_FOG_END), 16.0f);
    EXPECT_FLOAT_EQ(glFloat(GL_FOG_DENSITY), 0.1f);
    GLfloat fogColor[4] = {};
    glGetFloatv(GL_FOG_COLOR, fogColor);
    expectColor(RGBA<float>(fogColor[0], fogColor[1], fogColor[2], fogColor[3]), 0.5f, 0.5f, 0.6f, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_FLAT);

    // Between the flash colour at 0.5 and the fog colour at 1.5.
    expectColor(g._backgroundGradient.value(1.0f), 0.75f, 0.25f, 0.3f, 1.0f);
    EXPECT_FLOAT_EQ(g._camera.fov(), 90.0f);
    EXPECT_FLOAT_EQ(g._camera.farClip(), 16.0f);
    EXPECT_FLOAT_EQ(g._camera.nearClip(), 0.1f);
}

TEST_F(GameGL, NeedsTheNameStatisticsButNoSettingsFile) {
    for (const char* optional : {"data/vasp.conf", "data/color", "data/speed"}) {
        std::filesystem::remove(optional);
    }
    EXPECT_EQ(game()._fov, 90.0f);
    EXPECT_FLOAT_EQ(game()._mouseSensitivity, 1.0f);
    destroyGame();

    std::filesystem::remove("data/english_mf.txt");
    try {
        game();
        FAIL() << "a game without its name statistics";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "NameGenerator::buildStats - cannot open requested source file");
    }
}

TEST_F(GameGL, StateTimersRestartWhenAMessageChangesTheState) {
    testgame::TestGame& g = game();
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    // As a message handler would, between two frames.
    g.viewScores();
    frame(0.25);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.0);
    EXPECT_DOUBLE_EQ(g._idleTime, 0.0);
    frame(0.25);
    frame(0.5);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.75);
    EXPECT_DOUBLE_EQ(g._idleTime, 0.75);

    g.mainMenu();
    frame(0.25);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.0);
    frame(0.125);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.125);

    // A paint runs a frame of no length.
    g.winProc(g.hwnd(), WM_PAINT, 0, 0);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.125);
}

TEST_F(GameGL, MouseMessagesMoveTheCursorAndWakeTheGameInEveryState) {
    Game& g = game();
    for (int state = Game::STATE_NONE; state <= Game::STATE_SPLASH_QUENDLE; ++state) {
        SCOPED_TRACE(state);
        g._state = state;
        for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
            g._idleTime = 3.0;
            const bool handled = send(msg, 0, point(123 + state, 456));
            EXPECT_EQ(g._cursorX, 123 + state);
            EXPECT_EQ(g._cursorY, 456);
            EXPECT_DOUBLE_EQ(g._idleTime, 0.0);
            if (state == Game::STATE_NONE || state == Game::STATE_LOADING) {
                EXPECT_FALSE(handled);
            }
        }
        g._state = state;
        g._idleTime = 3.0;
        send(WM_RBUTTONDOWN, 0, point(1, 2));
        send(WM_KEYDOWN, 'A', 0);
        send(g._wmKeyDownDI, 30, 0);
        EXPECT_EQ(g._cursorX, 123 + state);
        // The attract loop and the credits screen leave on these, and the main menu they return
        // to starts its idle time anew; in the menus a key is a player at work.
        const bool wakes = state == Game::STATE_VIEW_SCORES_AUTOMATIC || state == Game::STATE_CREDITS ||
                           state == Game::STATE_CREDITS_AUTOMATIC || state == Game::STATE_MAIN_MENU;
        EXPECT_DOUBLE_EQ(g._idleTime, wakes ? 0.0 : 3.0);
    }
    // The words are unsigned: the far corner of a big screen stays positive.
    send(WM_MOUSEMOVE, 0, point(0xFFFF, 0xFFFF));
    EXPECT_EQ(g._cursorX, 0xFFFF);
    EXPECT_EQ(g._cursorY, 0xFFFF);
}

TEST_F(GameGL, MainLoopRunsToAQuitAndTearsDownCleanly) {
    testgame::TestGame& g = game();
    for (int i = 0; i < 5; ++i) {
        g.events.push(WM_MOUSEMOVE, 0, point(10 * i, 20 * i));
    }
    g.events.push(WM_QUIT);
    g.mainLoop();
    EXPECT_EQ(g._cursorX, 40);
    EXPECT_EQ(g._cursorY, 80);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_LUMISK);
    EXPECT_FALSE(Vortel::Particle::managementActive());
    destroyGame();
    EXPECT_FALSE(Vortel::Particle::managementActive());
}

}  // namespace
