#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "actors/builtintricks.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;
using Vortel::Player;
using Sounds = std::vector<std::string>;

constexpr unsigned int ESCAPE = 1;
constexpr unsigned int KEY_Q = 16;  // bound to nothing
constexpr unsigned int KEY_W = 17;

// The system's show count, read without changing it.
int showCount() {
    ShowCursor(true);
    return ShowCursor(false);
}

class PlayInputGL : public testgame::GameFixture {
protected:
    // Flying with the default bindings, nothing loaded.
    testgame::TestGame& flying() {
        testgame::TestGame& g = game();
        g.defaultControls();
        g._state = Game::STATE_PLAY;
        g.trackPlayerKeys();
        return g;
    }

    // A game started from the loaded main menu.
    testgame::TestGame& started() {
        testgame::TestGame& g = game();
        g.init();
        g.load();
        for (int i = 0; i < 20000 && g._state == Game::STATE_LOADING; ++i) {
            frame(0.001);
        }
        g.startGame();
        frame(0.01);
        return g;
    }

    bool keyDown(unsigned int code) { return send(game()._wmKeyDownDI, code); }
    bool keyUp(unsigned int code) { return send(game()._wmKeyUpDI, code); }
    bool motion(std::int32_t dx, std::int32_t dy) {
        std::int32_t move[2] = {dx, dy};
        return send(game()._wmMouseMoveDI, 0, reinterpret_cast<LPARAM>(move));
    }
    // A key pressed and let go on the device, heard over two frames.
    void tap(unsigned int code) {
        hold(code, true);
        frame(0.01);
        hold(code, false);
        frame(0.01);
    }
};

TEST_F(PlayInputGL, TheFirstMatchingBindingActsAndFireAndEmpBelongToPlay) {
    testgame::TestGame& g = flying();
    EXPECT_TRUE(keyDown(g._keyLeft));
    EXPECT_EQ(g._player.requestedDirection(), Player::DIR_LEFT);
    EXPECT_EQ(g.sounds, Sounds{"swoosh_left"});

    // Fire shares the left key: the turn is taken and the gun stays quiet.
    g._keyFire = g._keyLeft;
    g._gun.ammo(0);
    g.sounds.clear();
    keyDown(g._keyLeft);
    EXPECT_FALSE(g._gun._triggerDown);
    EXPECT_EQ(g.sounds, Sounds{"swoosh_left"});

    g.defaultControls();
    g.sounds.clear();
    keyDown(g._keyFire);
    EXPECT_TRUE(g._gun._triggerDown);
    EXPECT_EQ(g.sounds, Sounds{"weapon_empty"});

    g._boostTime = 3.0;
    keyDown(g._keyBoost);
    EXPECT_TRUE(g._player._boost);
    EXPECT_EQ(g._boostTime, 0.0);
    g._boostTime = 3.0;

    // Let go while paused, fire and boost still let go.
    g._paused = true;
    EXPECT_TRUE(keyUp(g._keyBoost));
    EXPECT_TRUE(keyUp(g._keyFire));
    EXPECT_FALSE(g._player._boost);
    EXPECT_EQ(g._boostTime, 0.0);
    EXPECT_FALSE(g._gun._triggerDown);
    g._paused = false;

    // In training the gun and the EMP stay silent; the rest flies as in play.
    g._state = Game::STATE_TRICK_TRAINER;
    g.sounds.clear();
    keyDown(g._keyFire);
    EXPECT_FALSE(g._gun._triggerDown);
    EXPECT_TRUE(g.sounds.empty());
    keyDown(g._keyRight);
    keyDown(g._keyBoost);
    keyDown(g._keyMouselook);
    EXPECT_EQ(g._player._turnQueue.back(), Player::DIR_RIGHT);
    EXPECT_TRUE(g._player._boost);
    EXPECT_TRUE(g._mouselookHeld);
    keyDown(g._keyPause);
    EXPECT_TRUE(g._paused);

    EXPECT_TRUE(send(WM_KEYDOWN, 'A'));
    EXPECT_FALSE(send(WM_KEYUP, 'A'));
}

TEST_F(PlayInputGL, MouseMovesTheMouselookOrTheAimCursorWithinTheWindow) {
    testgame::TestGame& g = flying();
    g._mouseSensitivity = 2.0f;
    g._aimCursorSprite = std::make_unique<Stelkor::Sprite>();
    const auto cursorAt = [&](float x, float y) { g._aimCursorSprite->pos(Vector2<float>(x, y)); };
    const auto cursor = [&] { return g._aimCursorSprite->pos(); };

    keyDown(g._keyMouselook);
    EXPECT_FALSE(motion(3, 0));
    EXPECT_EQ(g._mouselookYaw, 6.0f);
    motion(0, 2);
    EXPECT_EQ(g._mouselookPitch, 4.0f);
    g._invertMouse = false;
    motion(0, 2);
    EXPECT_EQ(g._mouselookPitch, 0.0f);
    keyUp(g._keyMouselook);
    EXPECT_FALSE(g._mouselookHeld);

    struct Move {
        float x, y;
        std::int32_t dx, dy;
        float toX, toY;
    };
    for (const Move& m : {Move{400, 300, 3, 2, 406, 296}, Move{10, 10, -10, 10, 0, 0}, Move{790, 590, 10, -10, 800, 600},
                          Move{799, 1, 1, 1, 800, 0}}) {
        cursorAt(m.x, m.y);
        motion(m.dx, m.dy);
        EXPECT_EQ(cursor(), Vector2<float>(m.toX, m.toY)) << m.x << "," << m.y;
    }

    // Mouselook that is not allowed is never held: the cursor goes on moving.
    g._mouselookEnabled = false;
    keyDown(g._keyMouselook);
    EXPECT_FALSE(g._mouselookHeld);
    cursorAt(400, 300);
    motion(1, 0);
    EXPECT_EQ(cursor(), Vector2<float>(402, 300));

    g._pointAndClickEnabled = false;
    motion(5, 5);
    g._pointAndClickEnabled = true;
    g._paused = true;
    motion(5, 5);
    EXPECT_EQ(cursor(), Vector2<float>(402, 300));
    EXPECT_EQ(g._mouselookYaw, 6.0f);
    EXPECT_FALSE(send(g._wmMouseMoveDI, 0, 0));  // no motion with it
}

TEST_F(PlayInputGL, ThePauseKeyFreezesUntilAnyKeyAndEscapeGoesOnToTheMenu) {
    testgame::TestGame& g = started();
    tap(g._keyPause);
    EXPECT_TRUE(g._paused);
    EXPECT_TRUE(FSOUND_GetPaused(g._humChannel));
    EXPECT_TRUE(FSOUND_IsPlaying(g._musicChannel));

    // Any key ends it, and the flight keys are all that is heard again.
    tap(KEY_Q);
    EXPECT_FALSE(g._paused);
    EXPECT_FALSE(FSOUND_GetPaused(g._humChannel));
    g._paused = true;
    tap(KEY_W);
    EXPECT_TRUE(g._paused);
    g._paused = false;

    tap(g._keyPause);
    tap(ESCAPE);
    EXPECT_EQ(g._state, Game::STATE_INGAME_MENU);
    EXPECT_TRUE(g._paused);
}

TEST_F(PlayInputGL, TheInGameMenuFreezesTheGameAndResumingReturnsToPlayOrTraining) {
    testgame::TestGame& g = started();
    Stelkor::SimpleMenu& menu = *g._menuIngame;
    menu.selectedItemID(1);
    g._gun._triggerDown = true;
    const int shown = showCount();
    g._player._progress = 0.0f;

    // LEFT, then ESCAPE before the craft reaches the next cell.
    hold(g._keyLeft, true);
    frame(0.001);
    hold(ESCAPE, true);
    frame(0.001);
    hold(g._keyLeft, false);
    hold(ESCAPE, false);
    EXPECT_EQ(g._state, Game::STATE_INGAME_MENU);
    EXPECT_TRUE(g._paused);
    EXPECT_TRUE(g._cursorVisible);
    EXPECT_EQ(showCount(), shown + 1);
    EXPECT_EQ(menu.selectedItemID(), 0);
    EXPECT_FALSE(g._gun._triggerDown);
    EXPECT_TRUE(FSOUND_GetPaused(g._humChannel));
    EXPECT_TRUE(FSOUND_IsPlaying(g._musicChannel));
    for (int i = 0; i < 30; ++i) {
        frame(0.02);
    }

    g.resumeGame();
    EXPECT_EQ(g._state, Game::STATE_PLAY);
    EXPECT_FALSE(g._paused);
    EXPECT_FALSE(g._cursorVisible);
    EXPECT_EQ(showCount(), shown);
    EXPECT_EQ(g._player.requestedDirection(), Player::DIR_LEFT);
    EXPECT_TRUE(g._player._turnQueue.empty());
    EXPECT_EQ(g._bottomBar.targetHeight(), 0.0f);
    tap(g._keyRight);
    EXPECT_EQ(g._player._turnQueue.back(), Player::DIR_RIGHT);

    // A bar-HUD game, a trick being trained, and an open menu whose cursor already shows.
    g._cockpitHud = false;
    g.ingameMenu();
    g.resumeGame();
    EXPECT_EQ(g._bottomBar.targetHeight(), 20.0f);
    g._trainedTrick = &g._trickLibrary.tricks().front();
    g.ingameMenu();
    g.resumeGame();
    EXPECT_EQ(g._state, Game::STATE_TRICK_TRAINER);
    EXPECT_EQ(g._bottomBar.targetHeight(), 0.0f);
    g._trainedTrick = nullptr;
    g.cursor(true);
    for (int i = 0; i < 10; ++i) {
        g.ingameMenu();
        g.resumeGame();
    }
    EXPECT_EQ(showCount(), shown);

    // Menus 100 and 180 pixels high: a bar of a third of the window, then of the menu and
    // its margin.
    const auto menuOf = [&](int spacing) {
        auto made = std::make_unique<Stelkor::SimpleMenu>(g._menuItemPrototype, g._menuItemHighlightPrototype);
        made->lineSpacing = spacing;
        made->addItem("RESUME GAME", true);
        if (spacing > 0) {
            made->addItem("QUIT CURRENT GAME", true);
        }
        return made;
    };
    const int line = static_cast<int>(menuOf(0)->boundingBox().size().y);
    std::unique_ptr<Stelkor::SimpleMenu> own = std::move(g._menuIngame);
    for (const auto& [high, bar] : {std::pair<int, float>{100, 200.0f}, {180, 240.0f}}) {
        g._menuIngame = menuOf(high - line);
        ASSERT_EQ(g._menuIngame->boundingBox().size().y, static_cast<float>(high));
        g.ingameMenu();
        EXPECT_EQ(g._bottomBar.targetHeight(), bar);
        g.resumeGame();
    }
    g._menuIngame = std::move(own);
}

}  // namespace
