// The whole game as a player meets it, from the first splash screen to the name in the score
// file and a second start that finds it. Every action is a key, a button or the mouse; where
// a player would need luck or a long while, the situation is set up in the game's members.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actors/bot.h"
#include "actors/grid.h"
#include "actors/tricktrainer.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "game/multiscoretable.h"
#include "platform/crand.h"
#include "platform/settings.h"
#include "tests/game/player_fixture.h"

namespace {

using Vortel::Bot;
using Vortel::Game;
using Vortel::OcTree;
namespace grid = Vortel::grid;

class PlaythroughGL : public testgame::PlayerFixture {
protected:
    testgame::TestGame& g() { return game(); }

    bool heard(const std::string& sound, std::size_t since = 0) {
        const std::vector<std::string>& s = game().sounds;
        return std::find(s.begin() + static_cast<long>(std::min(since, s.size())), s.end(), sound) != s.end();
    }

    std::string setting(const std::string& key) {
        Settings file;
        EXPECT_TRUE(file.load("data/vasp.conf", false));
        return file.exists(key) ? file[key].text : std::string("(none)");
    }

    Vector3<int> ahead(int cells) {
        const Vortel::Player& craft = g()._player;
        return grid::wrapCell(grid::add(craft._cell, grid::scaled(craft._forward, cells)), g()._octree.size());
    }

    int kindAt(const Vector3<int>& cell) { return g()._octree.getTerminalNode(cell)->count(); }

    // Splashes by their time-out, a key and a click, then the loading screen until the menu.
    void startUp() {
        testgame::TestGame& game = g();
        game.init();
        ASSERT_EQ(game._state, Game::STATE_SPLASH_LUMISK);
        double shown = 0.0;
        while (game._state == Game::STATE_SPLASH_LUMISK && shown < 6.0) {
            frame(FRAME);
            shown += FRAME;
        }
        ASSERT_EQ(game._state, Game::STATE_SPLASH_ZINDLE);
        EXPECT_GT(shown, 5.0);
        EXPECT_LT(shown, 5.0 + 2.5 * FRAME);
        frames(1.0);
        tap(SDL_SCANCODE_SPACE);
        ASSERT_EQ(game._state, Game::STATE_SPLASH_QUENDLE);
        frames(0.5);
        click(1);
        ASSERT_EQ(game._state, Game::STATE_LOADING);
        ASSERT_TRUE(until([&] { return game._state != Game::STATE_LOADING; }, 600.0));
        ASSERT_EQ(game._state, Game::STATE_MAIN_MENU);
        EXPECT_TRUE(game._loaded);
    }

    // The player's turn keys as a trainer of the trick would advise them, until the game
    // announces a trick; the frames go on meanwhile.
    bool flyTrick(const Vortel::Trick& trick) {
        testgame::TestGame& game = g();
        Vortel::TrickTrainer coach(game._octree);
        SDL_Scancode held = SDL_SCANCODE_UNKNOWN;
        const std::size_t heardBefore = game.sounds.size();
        for (int i = 0; i < 60 * 8; ++i) {
            const Vector3<int> before = game._player._cell;
            frame(FRAME);
            if (held != SDL_SCANCODE_UNKNOWN) {
                keyUp(held);
                held = SDL_SCANCODE_UNKNOWN;
            }
            if (heard("trick", heardBefore)) {
                return true;
            }
            const auto& steps = game._player.movementTrack().steps();
            if (game._player._cell == before || steps.empty()) {
                continue;
            }
            if (!coach.doingTrick() && coach.trickPossible(game._player, trick)) {
                coach.trick(trick);
                coach.beginTrick();
            }
            if (coach.doingTrick()) {
                coach.step(steps.front());
                static const SDL_Scancode turnKeys[] = {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP,
                                                        SDL_SCANCODE_DOWN};
                if (coach.advice() <= Vortel::TrickTrainer::ADVICE_DOWN) {
                    held = turnKeys[coach.advice()];
                    keyDown(held);
                }
            }
        }
        return false;
    }

    // The trick's obstacles ten cells ahead of the craft, in the craft's own frame, the way
    // the trainer lays them for a craft heading +z with up +y.
    void layAhead(const Vortel::Trick& trick) {
        testgame::TestGame& game = g();
        const Vector3<int> f = game._player._forward;
        const Vector3<int> u = game._player._up;
        const Vector3<int> r = grid::cross(u, f);
        for (int cells = 1; cells < 20; ++cells) {
            game._octree.setTerminalNode(ahead(cells), OcTree::SET_CLEAR_ANY, 0);
        }
        for (const Vector3<int>& o : trick.obstacles()) {
            Vector3<int> cell = grid::add(game._player._cell, grid::scaled(f, 10 + o.z));
            cell = grid::add(cell, grid::scaled(r, o.x));
            cell = grid::add(cell, grid::scaled(u, -o.y));
            game._octree.setTerminalNode(grid::wrapCell(cell, game._octree.size()), OcTree::CELL_SOLID_1, 0);
        }
    }
};

TEST_F(PlaythroughGL, FromTheFirstSplashToTheNameInTheTableAfterARestart) {
    const unsigned int runSeed = seed();
    SCOPED_TRACE("seed " + std::to_string(runSeed));
    testgame::TestGame& game = g();
    // Chasers' names, types and places and the pick-ups' kinds follow the seed.
    crand::srand(runSeed);
    game._botTypeGenerator.seed(runSeed);
    game.totalTime(static_cast<double>(runSeed));

    // ---- splash screens, loading, and the main menu over the demo --------------------------
    startUp();
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(game._currentMenu, game._menuMain.get());
    EXPECT_TRUE(game._demoMode);
    EXPECT_TRUE(game._cursorVisible);
    EXPECT_TRUE(heard("theme_main"));
    ASSERT_EQ(game._bots.size(), 3u);
    for (const Bot* bot : game._bots) {
        EXPECT_GE(bot->_name.size(), 3u);
    }
    const Vector3<float> demoFrom = game._cameraSubject->_pos;
    frames(1.0);
    EXPECT_NE(game._cameraSubject->_pos, demoFrom);
    EXPECT_EQ(game._state, Game::STATE_MAIN_MENU);

    // One speed up, saved at once; then START GAME.
    tap(SDL_SCANCODE_DOWN);
    ASSERT_EQ(game._menuMain->selectedItem().text(), "SPEED");
    const std::string speedBefore = game._currentGameSpeed->second.name;
    tap(SDL_SCANCODE_RIGHT);
    const std::string speed = game._currentGameSpeed->second.name;
    EXPECT_NE(speed, speedBefore);
    EXPECT_EQ(setting("gameSpeed"), game._currentGameSpeed->first);
    tap(SDL_SCANCODE_UP);
    game.sounds.clear();
    tap(SDL_SCANCODE_RETURN);

    // ---- a fresh game: stage 1, full counters, the chaser arrives ---------------------------
    ASSERT_EQ(game._state, Game::STATE_PLAY);
    EXPECT_TRUE(heard("getready"));
    EXPECT_FALSE(game._cursorVisible);
    EXPECT_EQ(game._bombs, 3) << "the RETURN that started the game fired an EMP";
    const int shields = static_cast<int>(game._player._hitpoints);
    const std::vector<int> fresh = {game._stage, static_cast<int>(game._score), shields,
                                    game._bombs, game._gun.ammo(), game._liveBotCount};
    EXPECT_EQ(fresh, (std::vector<int>{1, 0, 50, 3, 100, 0}));
    const Vector3<int> startCell = game._player._cell;
    frames(2.0);
    EXPECT_NE(game._player._cell, startCell);
    EXPECT_GT(game._score, 0u);
    EXPECT_EQ(game._liveBotCount, 1);
    ASSERT_EQ(game._bots.size(), 1u);
    EXPECT_TRUE(heard("chaserentered"));
    Bot& chaser = *game._bots.front();
    // The cockpit's dials show the counters as they stand.
    EXPECT_FLOAT_EQ(game._shieldsDial.value(), game._player._hitpoints / 50.0f);
    EXPECT_FLOAT_EQ(game._ammoDial.value(), 100.0f / 999.0f);
    EXPECT_FLOAT_EQ(game._bombsDial.value(), 3.0f / 9.0f);

    // The aim cursor follows the mouse and comes back with it.
    const Vector2<float> aimAt = game._aimCursorSprite->pos();
    mouseBy(40, -20);
    frame(FRAME);
    EXPECT_EQ(game._aimCursorSprite->pos(), Vector2<float>(aimAt.x + 40.0f, aimAt.y + 20.0f));
    mouseBy(-40, 20);
    frame(FRAME);
    EXPECT_EQ(game._aimCursorSprite->pos(), aimAt);

    // ---- a turn, then a trick flown into its shape ------------------------------------------
    const Vector3<int> forward = game._player._forward;
    const Vector3<int> up = game._player._up;
    tap(SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(heard("swoosh_right"));
    ASSERT_TRUE(until([&] { return game._player._forward != forward; }, 2.0));
    EXPECT_EQ(game._player._forward, grid::cross(forward, up));

    const Vortel::Trick* slick = game._trickLibrary.trickByName("SLICK", "LEFT");
    ASSERT_NE(slick, nullptr);
    bool tricked = false;
    std::uint32_t beforeTrick = 0;
    for (int attempt = 0; attempt < 3 && !tricked; ++attempt) {
        frames(0.5);
        layAhead(*slick);
        beforeTrick = game._score;
        tricked = flyTrick(*slick);
    }
    ASSERT_TRUE(tricked);
    EXPECT_EQ(game._comboCount, 1);
    EXPECT_GE(game._score - beforeTrick, static_cast<std::uint32_t>(game._matchedTrick.score()));
    EXPECT_NE(game._message._text.str().find("*" + game._matchedTrick.name() + "*"), std::string::npos);

    // ---- the chaser shot down: it hovers in the craft's line, the fire button held -------------
    frames(0.5);
    ASSERT_FALSE(chaser.dead());
    for (int cells = 1; cells < 14; ++cells) {
        game._octree.setTerminalNode(ahead(cells), OcTree::SET_CLEAR_ANY, 0);
    }
    // Caught between two cells, with no turn under way.
    chaser._turnQueue.clear();
    chaser._requestedDirection = Vortel::Player::DIR_NONE;
    chaser._turning = false;
    chaser._turnAngle = 0.0f;
    chaser._progress = game._player._progress;
    chaser.orientation(game._player._forward);
    chaser.up(game._player._up);
    chaser.velocity(0.0f);
    chaser.position(ahead(12));
    // The aim cursor rests a little above the middle of the view: down onto the craft's line.
    mouseBy(0, static_cast<int>(game._aimCursorSprite->pos().y) - game.height() / 2);
    frame(FRAME);
    const std::uint32_t beforeShot = game._score;
    const int ammoBefore = game._gun.ammo();
    game.sounds.clear();
    button(1, true);
    const bool shotDown = until([&] { return chaser.dead(); }, 3.0);
    button(1, false);
    frame(FRAME);
    ASSERT_TRUE(shotDown);
    EXPECT_TRUE(heard("lazer"));
    EXPECT_TRUE(heard("chaserdestroyed"));
    EXPECT_LT(game._gun.ammo(), ammoBefore);
    EXPECT_EQ(game._liveBotCount, 0);
    EXPECT_EQ(game._deadBots.size(), 1u);
    EXPECT_GE(game._score - beforeShot, 250u);
    EXPECT_NE(game._message._text.str().find("DESTROYED: " + chaser._name + " +250"), std::string::npos);

    // ---- a pick-up on the way: the chaser's own, or one placed where it fell -----------------
    Vector3<int> pickupCell = grid::wrapCell(chaser._cell, game._octree.size());
    for (int draw = 0; draw < 20 && kindAt(pickupCell) != OcTree::CELL_COLLECTABLE; ++draw) {
        pickupCell = ahead(4);
        game.addCollectable(pickupCell);
    }
    ASSERT_EQ(kindAt(pickupCell), OcTree::CELL_COLLECTABLE);
    const Vortel::Collectable& pickup = *game._octree.getTerminalNode(pickupCell)->collectable();
    const std::vector<int> amounts = {pickup._shieldAmount, pickup._bombAmount, pickup._ammoAmount,
                                      static_cast<int>(pickup._scoreAmount)};
    const int shieldsBefore = static_cast<int>(game._player._hitpoints);
    const int bombsBefore = game._bombs;
    const int ammoBeforePickup = game._gun.ammo();
    const std::uint32_t scoreBeforePickup = game._score;
    game.sounds.clear();
    ASSERT_TRUE(until([&] { return heard("pickup"); }, 4.0));
    EXPECT_NE(kindAt(pickupCell), OcTree::CELL_COLLECTABLE);
    EXPECT_EQ(game._octree.getTerminalNode(pickupCell)->collectable(), nullptr);
    EXPECT_EQ(static_cast<int>(game._player._hitpoints), std::min(50, shieldsBefore + amounts[0]));
    EXPECT_EQ(game._bombs, std::min(9, bombsBefore + amounts[1]));
    EXPECT_EQ(game._gun.ammo(), std::min(999, ammoBeforePickup + amounts[2]));
    EXPECT_GE(game._score - scoreBeforePickup, static_cast<std::uint32_t>(amounts[3]));

    // ---- the EMP clears the wall ahead ----------------------------------------------------
    const Vector3<int> wall = ahead(5);
    game._octree.setTerminalNode(wall, OcTree::CELL_SOLID_1, 0);
    const int bombsBeforeEmp = game._bombs;
    game.sounds.clear();
    tap(SDL_SCANCODE_RETURN);
    EXPECT_TRUE(heard("emp_blast"));
    EXPECT_EQ(game._bombs, bombsBeforeEmp - 1);
    EXPECT_NE(kindAt(wall), OcTree::CELL_SOLID_1);
    frame(FRAME);
    EXPECT_FLOAT_EQ(game._bombsDial.value(), static_cast<float>(game._bombs) / 9.0f);

    // ---- stage 2: the rest of the quota as a long flight would have earned it ---------------
    const std::uint32_t quotaMet = game._score + static_cast<std::uint32_t>(game._pointsToGo);
    game.score(game._pointsToGo - 1);
    const int bombsBeforeStage = game._bombs;
    game.sounds.clear();
    ASSERT_TRUE(until([&] { return game._stage == 2; }, 2.0));
    EXPECT_TRUE(heard("next_wave_signal"));
    EXPECT_EQ(game._bombs, std::min(9, bombsBeforeStage + 1));
    EXPECT_EQ(game._waveBotCount, 2);
    // Points past the quota count toward the next one.
    EXPECT_EQ(game._pointsToGo, game._waveQuota - static_cast<int>(game._score - quotaMet));
    frames(2.0);
    // The chaser shot down waits for its return among the two.
    EXPECT_EQ(game._bots.size(), 2u);
    EXPECT_EQ(game._liveBotCount, 1);

    // ---- pause: the world stands still until any key ----------------------------------------
    tap(SDL_SCANCODE_RCTRL);
    ASSERT_TRUE(game._paused);
    const Vector3<float> pausedAt = game._player._pos;
    const double clock = game._playClock;
    frames(1.0, LONG_FRAME);
    EXPECT_EQ(game._player._pos, pausedAt);
    EXPECT_EQ(game._playClock, clock);
    tap(SDL_SCANCODE_SPACE);
    EXPECT_FALSE(game._paused);
    frames(0.25);
    EXPECT_NE(game._player._pos, pausedAt);

    // ---- the in-game menu: the cockpit becomes the simple bar, saved at once ----------------
    tap(SDL_SCANCODE_ESCAPE);
    ASSERT_EQ(game._state, Game::STATE_INGAME_MENU);
    EXPECT_TRUE(game._paused);
    EXPECT_EQ(game._currentMenu, game._menuIngame.get());
    tap(SDL_SCANCODE_DOWN);
    tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game._currentMenu, game._menuSettings.get());
    tap(SDL_SCANCODE_DOWN);
    tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game._currentMenu, game._menuDisplay.get());
    for (int i = 0; i < 10 && game._menuDisplay->selectedItem().text() != "COCKPIT TYPE"; ++i) {
        tap(SDL_SCANCODE_DOWN);
    }
    tap(SDL_SCANCODE_RIGHT);
    EXPECT_FALSE(game._cockpitHud);
    EXPECT_EQ(setting("cockpitHud"), "0");
    frames(0.5);
    EXPECT_EQ(game._state, Game::STATE_INGAME_MENU);
    for (int i = 0; i < 3; ++i) {
        tap(SDL_SCANCODE_ESCAPE);
    }
    ASSERT_EQ(game._state, Game::STATE_PLAY);
    EXPECT_FALSE(game._paused);
    EXPECT_EQ(game._bottomBar.targetHeight(), game._barPlayHeight);
    frames(0.5);
    EXPECT_EQ(game._state, Game::STATE_PLAY);

    // ---- lost: the shields a long fight left, spent on a wall of cubes ----------------------
    game._player._hitpoints = 5.0f;
    for (int cells = 1; cells < 30; ++cells) {
        game._octree.setTerminalNode(ahead(cells), OcTree::CELL_SOLID_1, 0);
    }
    game.sounds.clear();
    ASSERT_TRUE(until([&] { return game._state != Game::STATE_PLAY; }, 10.0));
    ASSERT_EQ(game._state, Game::STATE_GAME_OVER);
    EXPECT_TRUE(heard("warning_low_shields"));
    EXPECT_TRUE(heard("gameover"));
    EXPECT_EQ(game._message._text.str(), "GAME OVER\n\nPRESS ANY KEY TO CONTINUE");
    const std::uint32_t finalScore = game._score;
    tap(SDL_SCANCODE_SPACE, LONG_FRAME / 4.0);  // too early: keys still held from play
    EXPECT_EQ(game._state, Game::STATE_GAME_OVER);
    frames(0.5, LONG_FRAME);
    tap(SDL_SCANCODE_SPACE);
    ASSERT_EQ(game._state, Game::STATE_ENTER_SCORE);
    EXPECT_EQ(game._scoreTables.currentTable()->name(), speed);

    // ---- the name, with a slip mended ------------------------------------------------------
    const std::string name = "ACE " + std::to_string(runSeed);
    type(name + "X");
    tap(SDL_SCANCODE_BACKSPACE);
    tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game._state, Game::STATE_MAIN_MENU);
    Vortel::MultiScoreTable file(20, 32);
    ASSERT_TRUE(file.load("data/scores"));
    const auto& saved = file.getTable(speed)->entries();
    const auto mine = std::find_if(saved.begin(), saved.end(), [&](const Vortel::ScoreTable::Entry& e) {
        return e.name == name;
    });
    ASSERT_NE(mine, saved.end());
    EXPECT_EQ(mine->score, finalScore);
    frames(0.5);

    // ---- a second start in the same folder finds the name and the settings ------------------
    destroyGame();
    testgame::TestGame& second = g();
    startUp();
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(second._currentGameSpeed->second.name, speed);
    EXPECT_FALSE(second._cockpitHud);
    const auto& table = second._scoreTables.getTable(speed)->entries();
    EXPECT_NE(std::find_if(table.begin(), table.end(),
                           [&](const Vortel::ScoreTable::Entry& e) { return e.name == name && e.score == finalScore; }),
              table.end());

    // This time the mouse starts the game: over the menu's first line, then a click, which
    // must not fire the gun its button is bound to.
    frames(0.5);
    second._menuMain->selectedItemID(3);
    const Quib::AABB2<float> menu = second._menuMain->boundingBox();
    mouseTo(static_cast<int>(menu.min.x) + 30, second.height() - static_cast<int>(menu.max.y) + 8);
    frame(FRAME);
    ASSERT_EQ(second._menuMain->selectedItem().text(), "START GAME");
    second.sounds.clear();
    click(1);
    ASSERT_EQ(second._state, Game::STATE_PLAY);
    frames(0.5);
    EXPECT_EQ(second._gun.ammo(), 100);
    EXPECT_FALSE(heard("lazer"));
    EXPECT_EQ(second._bottomBar.targetHeight(), second._barPlayHeight);
}

// The key that ends the game-over screen reaches the game twice, as the input layer's press
// in the frame and as the window's key message after it; only the name typed afterwards,
// between the arrows a player is still steering with, goes into the table; the same key
// pressed anew types as any other.
TEST_F(PlaythroughGL, TheKeyThatLeavesGameOverAndTheSteeringArrowsTypeNothingIntoTheName) {
    testgame::TestGame& game = g();
    game.init();
    game.load();
    ASSERT_TRUE(until([&] { return game._state != Game::STATE_LOADING; }, 600.0, 0.001));
    ASSERT_EQ(game._state, Game::STATE_MAIN_MENU);
    tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game._state, Game::STATE_PLAY);

    // The last shield of a long game, spent on a wall.
    game._score = 5000;
    game._player._hitpoints = 1.0f;
    for (int cells = 2; cells < 6; ++cells) {
        game._octree.setTerminalNode(ahead(cells), OcTree::CELL_SOLID_1, 0);
    }
    ASSERT_TRUE(until([&] { return game._state == Game::STATE_GAME_OVER; }, 3.0));
    frames(0.6);
    ASSERT_EQ(game._state, Game::STATE_GAME_OVER);

    keyDownPolledFirst(SDL_SCANCODE_SPACE);
    ASSERT_EQ(game._state, Game::STATE_ENTER_SCORE);
    frame(FRAME);
    keyUp(SDL_SCANCODE_SPACE);
    frame(FRAME);
    for (const SDL_Scancode arrow : {SDL_SCANCODE_LEFT, SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN}) {
        tap(arrow);
    }
    type("GAME 4");
    tap(SDL_SCANCODE_LEFT);
    tap(SDL_SCANCODE_RETURN);
    ASSERT_EQ(game._state, Game::STATE_MAIN_MENU);

    Vortel::MultiScoreTable file(20, 32);
    ASSERT_TRUE(file.load("data/scores"));
    const auto& saved = file.getTable(game._currentGameSpeed->second.name)->entries();
    const auto mine = std::find_if(saved.begin(), saved.end(), [&](const Vortel::ScoreTable::Entry& e) {
        return e.score == game._score && e.name != "NOBODY";
    });
    ASSERT_NE(mine, saved.end());
    EXPECT_EQ(mine->name, "GAME 4");
}

}  // namespace
