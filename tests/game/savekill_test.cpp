// A game killed at a random moment while it saves: the settings file and the score file are
// each either the old file or a new one, never a part of one, and the next start reads them.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "actors/grid.h"
#include "engine2d/simplemenu.h"
#include "game/multiscoretable.h"
#include "platform/settings.h"
#include "tests/game/player_fixture.h"
#include "tests/support/temporaries.h"

namespace {

namespace fs = std::filesystem;
using Vortel::Game;
namespace grid = Vortel::grid;

constexpr int ROUNDS = 1000;  // more than a child lives through before it is killed
const char* const SPEED = "NORMAL";

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The score and the name the game of a round ends with, in the child of a run.
std::uint32_t scoreOf(int run, int round) {
    return static_cast<std::uint32_t>(1000000 + 1000 * run + round);
}

std::string nameOf(int run, int round) {
    return "R" + std::to_string(run) + "K" + std::to_string(round);
}

class SaveKillGL : public testgame::PlayerFixture {
protected:
    void select(Stelkor::SimpleMenu& menu, const std::string& item) {
        for (int i = 0; i < 20 && menu.selectedItem().text() != item; ++i) {
            keyDown(SDL_SCANCODE_DOWN);
            keyUp(SDL_SCANCODE_DOWN);
        }
        ASSERT_EQ(menu.selectedItem().text(), item);
    }

    // One round of the save-heavy road from the main menu and back: the cockpit type flipped
    // in the settings by a burst of keys, each saving, then a game lost and its score named.
    void saveRound(int run, int round) {
        testgame::TestGame& g = game();
        select(*g._menuMain, "SETTINGS");
        tap(SDL_SCANCODE_RETURN);
        select(*g._menuSettings, "DISPLAY");
        tap(SDL_SCANCODE_RETURN);
        select(*g._menuDisplay, "COCKPIT TYPE");
        for (int i = 0; i < 4; ++i) {
            for (const SDL_Scancode key : {SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT}) {
                keyDown(key);
                keyUp(key);
            }
            frame(FRAME);
        }
        tap(SDL_SCANCODE_ESCAPE);
        tap(SDL_SCANCODE_ESCAPE);
        ASSERT_EQ(g._currentMenu, g._menuMain.get());
        select(*g._menuMain, "START GAME");
        tap(SDL_SCANCODE_RETURN);
        ASSERT_EQ(g._state, Game::STATE_PLAY);

        // Lost on the last shield against a wall; the score is the one a long game earned.
        g._player._hitpoints = 1.0f;
        for (int cells = 1; cells < 6; ++cells) {
            const Vector3<int> cell = grid::add(g._player._cell, grid::scaled(g._player._forward, cells));
            g._octree.setTerminalNode(grid::wrapCell(cell, g._octree.size()), Vortel::OcTree::CELL_SOLID_1, 0);
        }
        ASSERT_TRUE(until([&] { return g._state == Game::STATE_GAME_OVER; }, 5.0));
        g._score = scoreOf(run, round);
        frames(0.5, LONG_FRAME);
        tap(SDL_SCANCODE_SPACE);
        ASSERT_EQ(g._state, Game::STATE_ENTER_SCORE);
        type(nameOf(run, round));
        tap(SDL_SCANCODE_RETURN);
        ASSERT_EQ(g._state, Game::STATE_MAIN_MENU);
    }

    // What a start made of the two files: the cockpit setting and every table's entries.
    void expectStartRead(testgame::TestGame& g) {
        Settings file;
        ASSERT_TRUE(file.load("data/vasp.conf", false));
        EXPECT_EQ(g._cockpitHud, file["cockpitHud"].text == "1");
        Vortel::MultiScoreTable tables(20, 32);
        ASSERT_TRUE(tables.load("data/scores"));
        for (const Vortel::ScoreTable& table : tables.tables()) {
            const Vortel::ScoreTable* read = g._scoreTables.getTable(table.name());
            ASSERT_NE(read, nullptr) << table.name();
            ASSERT_EQ(read->entries().size(), table.entries().size()) << table.name();
            auto entry = read->entries().begin();
            for (const Vortel::ScoreTable::Entry& saved : table.entries()) {
                EXPECT_EQ(entry->name, saved.name);
                EXPECT_EQ(entry->score, saved.score);
                ++entry;
            }
        }
    }

    // The child: a start in the folder given, which must read what the last one left, then
    // the road of saves until it is killed.
    void runChild(const char* folder, int run) {
        fs::current_path(folder);
        testgame::TestGame& g = game();
        loadToMainMenu();
        ASSERT_FALSE(HasFatalFailure());
        expectStartRead(g);
        ASSERT_FALSE(HasFailure());
        std::ofstream("ready") << run;
        for (int round = 0; round < ROUNDS; ++round) {
            saveRound(run, round);
            ASSERT_FALSE(HasFatalFailure());
        }
    }
};

// Started by the parent below, in a process of its own.
TEST_F(SaveKillGL, DISABLED_SavesUntilKilled) {
    const char* folder = std::getenv("QUELLARIS_SAVE_ROAD");
    const char* run = std::getenv("QUELLARIS_SAVE_ROAD_RUN");
    ASSERT_TRUE(folder != nullptr && run != nullptr);
    runChild(folder, std::atoi(run));
}

// The child's process: this test program running the test above in the folder.
pid_t startChild(const fs::path& folder, int run) {
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string log = (folder / ("child-" + std::to_string(run) + ".log")).string();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QUELLARIS_SAVE_ROAD", folder.c_str(), 1);
        setenv("QUELLARIS_SAVE_ROAD_RUN", std::to_string(run).c_str(), 1);
        // A killed child reports no leaks; one that ends by itself is checked as usual.
        std::FILE* out = std::freopen(log.c_str(), "w", stdout);
        if (out == nullptr || dup2(fileno(stdout), STDERR_FILENO) < 0) {
            _exit(3);
        }
        execl(self.c_str(), self.c_str(), "--gtest_also_run_disabled_tests",
              "--gtest_filter=SaveKillGL.DISABLED_SavesUntilKilled", static_cast<char*>(nullptr));
        _exit(4);
    }
    return pid;
}

TEST_F(SaveKillGL, AGameKilledWhileSavingLeavesWholeFilesThatTheNextStartReads) {
    const char* count = std::getenv("QUELLARIS_KILL_RUNS");
    const int runs = count != nullptr ? std::atoi(count) : 10;
    std::mt19937 random(seed());
    const fs::path here = fs::current_path();

    // The two settings files the flips leave, and a score file to start from; one round here
    // shows the files are written as the versions below expect.
    testgame::TestGame& g = game();
    loadToMainMenu();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(g._scoreTables.save("data/scores"));
    const std::string hud = bytesOf("data/vasp.conf");
    Game::_menucallback_cockpitType("COCKPIT TYPE", "SIMPLE BAR", &g);
    const std::string bar = bytesOf("data/vasp.conf");
    Game::_menucallback_cockpitType("COCKPIT TYPE", "HUD", &g);
    ASSERT_EQ(bytesOf("data/vasp.conf"), hud);
    ASSERT_NE(bar, hud);
    const std::string scoresBefore = bytesOf("data/scores");
    const auto roundStart = std::chrono::steady_clock::now();
    saveRound(runs, 0);
    ASSERT_FALSE(HasFatalFailure());
    const auto roundTime = std::chrono::steady_clock::now() - roundStart;
    EXPECT_EQ(bytesOf("data/vasp.conf"), hud);
    std::ofstream("scores.expected", std::ios::binary) << scoresBefore;
    Vortel::MultiScoreTable expected(20, 32);
    ASSERT_TRUE(expected.load("scores.expected"));
    expected.currentTable(SPEED);
    expected.addEntry(scoreOf(runs, 0), nameOf(runs, 0));
    ASSERT_TRUE(expected.save("scores.expected"));
    ASSERT_EQ(bytesOf("data/scores"), bytesOf("scores.expected"));
    destroyGame();
    // Kills spread over the first three rounds of a child.
    const long long killWithin = 3 * std::chrono::duration_cast<std::chrono::microseconds>(roundTime).count();

    int changed = 0;
    int temporaries = 0;
    for (int run = 0; run < runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const std::string scoresBefore = bytesOf("data/scores");
        fs::remove(here / "ready");
        const pid_t child = startChild(here, run);
        ASSERT_GT(child, 0);
        int status = 0;
        bool ended = false;
        for (int waited = 0; waited < 120000 && !fs::exists(here / "ready"); ++waited) {
            if (waitpid(child, &status, WNOHANG) == child) {
                ended = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(ended) << bytesOf(here / ("child-" + std::to_string(run) + ".log"));
        const long long delay = std::uniform_int_distribution<long long>(0, killWithin)(random);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << bytesOf(here / ("child-" + std::to_string(run) + ".log"));

        const std::string settings = bytesOf("data/vasp.conf");
        EXPECT_TRUE(settings == hud || settings == bar) << settings;
        const std::string scores = bytesOf("data/scores");
        changed += scores != scoresBefore ? 1 : 0;
        temporaries += testsupport::holdsSaveTemporary("data") ? 1 : 0;
        // The file of some round: the one before it with that round's entry added.
        std::ofstream("scores.expected", std::ios::binary) << scoresBefore;
        Vortel::MultiScoreTable tables(20, 32);
        ASSERT_TRUE(tables.load("scores.expected"));
        bool known = bytesOf("scores.expected") == scores;
        for (int round = 0; round < ROUNDS && !known; ++round) {
            tables.currentTable(SPEED);
            tables.addEntry(scoreOf(run, round), nameOf(run, round));
            ASSERT_TRUE(tables.save("scores.expected"));
            known = bytesOf("scores.expected") == scores;
        }
        EXPECT_TRUE(known) << "the score file is none the game wrote";
        if (HasFailure()) {
            return;
        }
    }
    std::cout << runs << " kills: the score file changed in " << changed << ", a temporary was left by "
              << temporaries << "\n";

    testgame::TestGame& next = game();
    loadToMainMenu();
    ASSERT_FALSE(HasFatalFailure());
    expectStartRead(next);
}

}  // namespace
