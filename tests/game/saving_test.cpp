// Saving the settings and the score tables when the files or the disk work against it: links
// that lead elsewhere, a read-only folder, a full disk, files the game could not read,
// permissions and temporaries left by a kill. The settings change through the menus or a
// menu callback and the scores through the keys of the score entry, as the player makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "engine2d/simplemenu.h"
#include "game/multiscoretable.h"
#include "platform/settings.h"
#include "tests/game/player_fixture.h"

namespace {

namespace fs = std::filesystem;
using Vortel::Game;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Whether text says part once; with nothing to say, whether it says nothing at all.
bool toldOnce(const std::string& text, const std::string& part) {
    return part.empty() ? text.empty() : countOf(text, part) == 1;
}

// The FPS display as the file says it, -1 when the file has no such line or cannot be read.
int fpsInFile() {
    Settings file;
    return file.load("data/vasp.conf", false) && file.exists("displayFps") ? file["displayFps"].i : -1;
}

class SavingGL : public testgame::PlayerFixture {
protected:
    void TearDown() override {
        destroyGame();
        if (mounted) {
            umount2((folder->path() / "data").c_str(), MNT_DETACH);
        }
        PlayerFixture::TearDown();
    }

    // The item of that text selected in the menu shown, by the arrow keys.
    void select(Stelkor::SimpleMenu& menu, const std::string& item) {
        for (int i = 0; i < 20 && menu.selectedItem().text() != item; ++i) {
            tap(SDL_SCANCODE_DOWN);
        }
        ASSERT_EQ(menu.selectedItem().text(), item);
    }

    // A setting changed in the menu, which saves it at once.
    void changeSetting(bool fps) { Game::_menucallback_displayFps("", fps ? "ON" : "OFF", &game()); }

    // A score entered as after a game over: a name typed, then ENTER, which saves the tables.
    void enterScore(std::uint32_t score) {
        Game& g = game();
        g._score = score;
        g.enterScore();
        send(WM_KEYDOWN, 'Q');
        send(WM_KEYDOWN, VK_RETURN);
        ASSERT_EQ(g._state, Game::STATE_MAIN_MENU);
    }

    // The game's data folder on a small tmpfs holding what it held; false where mounting is
    // not permitted.
    bool dataOnTmpfs(const char* options) {
        const fs::path data = folder->path() / "data";
        const fs::path kept = folder->path() / "data.kept";
        fs::rename(data, kept);
        fs::create_directory(data);
        if (mount("tmpfs", data.c_str(), "tmpfs", 0, options) != 0) {
            fs::remove(data);
            fs::rename(kept, data);
            return false;
        }
        mounted = true;
        fs::copy(kept, data, fs::copy_options::recursive);
        return true;
    }

    // The score file a fresh game writes, made by a game of its own in the current folder.
    std::string freshScoreFile() {
        Game& g = game();
        g.init();
        g.setupSpeeds();
        g.setupScoreTables();
        EXPECT_TRUE(g._scoreTables.save("fresh.scores"));
        destroyGame();
        return bytesOf("fresh.scores");
    }

    bool mounted = false;
};

// Whether some table of the set holds a row of that score.
bool hasEntry(const Vortel::MultiScoreTable& tables, std::uint32_t score) {
    return std::any_of(tables.tables().begin(), tables.tables().end(), [score](const Vortel::ScoreTable& table) {
        return std::any_of(table.entries().begin(), table.entries().end(),
                           [score](const Vortel::ScoreTable::Entry& e) { return e.score == score; });
    });
}

// Where the player's files lead elsewhere: only a link to a regular file is written through.
TEST_F(SavingGL, LinksAreWrittenThroughOnlyToARegularFile) {
    enum Kind { DANGLING, REGULAR, DEVICE };  // the device last: not every machine lets it be made
    for (const Kind kind : {DANGLING, REGULAR, DEVICE}) {
        SCOPED_TRACE(kind);
        destroyGame();
        folder.reset();  // back in the test's own folder before a fresh game folder is made
        folder = std::make_unique<testgame::GameFolder>();
        fs::create_directory("elsewhere");
        for (const char* file : {"vasp.conf", "scores"}) {
            const fs::path target = fs::absolute(fs::path("elsewhere") / file);
            if (kind == DEVICE) {
                // The numbers of the null device, in a scratch folder: a save that still
                // replaced its target would replace only this node.
                if (mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
                    ASSERT_EQ(errno, EPERM);
                    GTEST_SKIP() << "device nodes may not be made here";
                }
            } else if (kind == REGULAR) {
                writeBytes(target, std::string(file) == "scores" ? freshScoreFile() : bytesOf("data/vasp.conf"));
            }
            fs::remove(fs::path("data") / file);
            fs::create_symlink(target, fs::path("data") / file);
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        // No ASSERT while standard error is captured: a capture left open aborts the next one,
        // and with it every later test of the process.
        testing::internal::CaptureStderr();
        changeSetting(true);
        EXPECT_NO_FATAL_FAILURE(enterScore(123456));
        const std::string told = testing::internal::GetCapturedStderr();

        for (const char* file : {"vasp.conf", "scores"}) {
            SCOPED_TRACE(file);
            const fs::path link = fs::path("data") / file;
            const fs::path target = fs::absolute(fs::path("elsewhere") / file);
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(fs::read_symlink(link), target);
            EXPECT_EQ(countOf(told, std::string("Cannot save data/") + file + ": "), kind == REGULAR ? 0 : 1) << told;
            EXPECT_EQ(fs::exists(fs::symlink_status(target.string() + ".tmp")), false);
        }
        const std::string notice = game()._notice.text();
        switch (kind) {
        case DEVICE:
            EXPECT_TRUE(fs::is_character_file(fs::symlink_status("elsewhere/vasp.conf")));
            EXPECT_TRUE(fs::is_character_file(fs::symlink_status("elsewhere/scores")));
            // A device is no file the game reads: it says so at the start, then at the save.
            EXPECT_EQ(notice, "SETTINGS NOT READ\nHIGH SCORES NOT READ\nSETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
            break;
        case DANGLING:
            EXPECT_FALSE(fs::exists(fs::symlink_status("elsewhere/vasp.conf")));
            EXPECT_FALSE(fs::exists(fs::symlink_status("elsewhere/scores")));
            EXPECT_EQ(notice, "SETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
            break;
        case REGULAR: {
            EXPECT_EQ(notice, "");
            EXPECT_EQ(fpsInFile(), 1);
            Vortel::MultiScoreTable tables(20, 32);
            ASSERT_TRUE(tables.load("elsewhere/scores"));
            EXPECT_TRUE(hasEntry(tables, 123456));
            break;
        }
        }
    }
}

// A read-only folder and a full disk: the old files stay whole, the player is told at the
// first failure and again only after a save has succeeded, and the next start reads them.
TEST_F(SavingGL, AFolderThatCannotBeWrittenKeepsTheOldFilesAndTellsThePlayerOnce) {
    for (const bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "read-only folder");
        if (mounted) {
            destroyGame();
            ASSERT_EQ(umount2((folder->path() / "data").c_str(), MNT_DETACH), 0);
            mounted = false;
            folder.reset();
            folder = std::make_unique<testgame::GameFolder>();
        }
        if (!dataOnTmpfs("size=256k")) {
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        Game& g = game();
        changeSetting(false);
        ASSERT_NO_FATAL_FAILURE(enterScore(100));
        const std::string settings = bytesOf("data/vasp.conf");
        const std::string scores = bytesOf("data/scores");
        const fs::path data = folder->path() / "data";
        const auto block = [&] {
            if (fullDisk) {
                std::ofstream filler(data / "filler", std::ios::binary);
                const std::string piece(4096, 'x');
                while (filler.write(piece.data(), piece.size())) {
                }
            } else {
                ASSERT_EQ(mount(nullptr, data.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0) << errno;
            }
        };
        const auto unblock = [&] {
            if (fullDisk) {
                fs::remove(data / "filler");
            } else {
                ASSERT_EQ(mount(nullptr, data.c_str(), nullptr, MS_REMOUNT, nullptr), 0) << errno;
            }
        };
        ASSERT_NO_FATAL_FAILURE(block());

        testing::internal::CaptureStderr();
        changeSetting(true);
        EXPECT_NO_FATAL_FAILURE(enterScore(5000000));
        changeSetting(false);  // quiet: failing still
        changeSetting(true);
        EXPECT_NO_FATAL_FAILURE(enterScore(5000001));
        std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(told, "Cannot save data/vasp.conf: "), 1) << told;
        EXPECT_EQ(countOf(told, "Cannot save data/scores: "), 1) << told;
        EXPECT_EQ(countOf(told, fullDisk ? "No space left on device" : "Read-only file system"), 2) << told;
        EXPECT_EQ(g._notice.text(), "SETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
        // The run goes on with what the player chose.
        EXPECT_TRUE(g._displayFps);
        EXPECT_TRUE(hasEntry(g._scoreTables, 5000001));
        EXPECT_EQ(bytesOf("data/vasp.conf"), settings);
        EXPECT_EQ(bytesOf("data/scores"), scores);
        EXPECT_FALSE(fs::exists("data/vasp.conf.tmp"));
        EXPECT_FALSE(fs::exists("data/scores.tmp"));

        // A save that succeeds ends the quiet; the next failure is told again.
        ASSERT_NO_FATAL_FAILURE(unblock());
        testing::internal::CaptureStderr();
        changeSetting(false);
        EXPECT_NO_FATAL_FAILURE(block());
        changeSetting(true);
        told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(countOf(told, "Cannot save data/vasp.conf: "), 1) << told;
        EXPECT_EQ(fpsInFile(), 0);

        // The next start reads the files as they were last saved whole.
        destroyGame();
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        EXPECT_FALSE(game()._displayFps);
        EXPECT_TRUE(hasEntry(game()._scoreTables, 100));
        EXPECT_FALSE(hasEntry(game()._scoreTables, 5000000));
    }
}

// A score file that did not read whole keeps its bytes as data/scores.damaged before the next
// entry replaces it; without that copy nothing is replaced.
TEST_F(SavingGL, ADamagedScoreFileIsKeptAsideBeforeTheNextEntryReplacesIt) {
    std::string forged = freshScoreFile();
    ASSERT_GE(forged.size(), 4u);
    forged[0] = '\x09';  // more tables than the file holds
    std::string noise(700, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>((i * 151 + 7) % 256);
    }
    const struct {
        const char* what;
        std::string bytes;
        bool damagedIsFolder;
    } cases[] = {
        {"random bytes", noise, false},
        {"forged table count", forged, false},
        {"no room for the copy", noise, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        destroyGame();
        folder.reset();
        folder = std::make_unique<testgame::GameFolder>();
        writeBytes("data/scores", c.bytes);
        writeBytes("data/scores.damaged", "an older copy");
        if (c.damagedIsFolder) {
            fs::remove("data/scores.damaged");
            fs::create_directory("data/scores.damaged");
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        testing::internal::CaptureStderr();
        EXPECT_NO_FATAL_FAILURE(enterScore(4000000));
        const std::string told = testing::internal::GetCapturedStderr();
        Vortel::MultiScoreTable tables(20, 32);
        if (c.damagedIsFolder) {
            EXPECT_EQ(bytesOf("data/scores"), c.bytes);
            EXPECT_EQ(countOf(told, "Cannot save data/scores: cannot keep the damaged file as data/scores.damaged"), 1)
                << told;
            EXPECT_EQ(game()._notice.text(), "HIGH SCORES NOT READ\nHIGH SCORES NOT SAVED\n");
            continue;
        }
        EXPECT_EQ(bytesOf("data/scores.damaged"), c.bytes);
        ASSERT_TRUE(tables.load("data/scores"));
        EXPECT_TRUE(hasEntry(tables, 4000000));
        // Copied once: the file now on disk is the game's own.
        ASSERT_NO_FATAL_FAILURE(enterScore(4000001));
        EXPECT_EQ(bytesOf("data/scores.damaged"), c.bytes);
        EXPECT_EQ(told, "");
    }
}

// A settings file the game cannot read is told at the start and kept as vasp.conf.damaged
// before the first change in the menus replaces it; one it cannot keep is not replaced. And
// the game never writes a file that it would refuse at the next start.
TEST_F(SavingGL, ASettingsFileThatCannotBeReadIsToldAndKeptBeforeAChangeReplacesIt) {
    enum Kind { OVER_THE_SIZE, A_FOLDER, WRITTEN_LARGER };
    const struct {
        Kind kind;
        const char* toldAtStart;
        const char* toldAtSave;
    } cases[] = {
        {OVER_THE_SIZE, "Cannot read data/vasp.conf: larger than 256 KiB;", ""},
        {A_FOLDER, "Cannot read data/vasp.conf: a folder, not a file;",
         "Cannot save data/vasp.conf: cannot keep the damaged file as data/vasp.conf.damaged: a folder, not a file\n"},
        // At the size, with one blank where the game writes two.
        {WRITTEN_LARGER, "", "Cannot save data/vasp.conf: the settings would be larger than 256 KiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        destroyGame();
        folder.reset();
        folder = std::make_unique<testgame::GameFolder>();
        std::string old = bytesOf("data/vasp.conf");
        old.replace(old.find("fov  90"), 7, "fov 70");
        old.replace(old.find("masterVolume  8"), 15, "masterVolume 3");
        if (c.kind == OVER_THE_SIZE) {
            for (int i = 0; i < 6000; ++i) {
                old += "# a line the player keeps about these settings\n";
            }
        } else if (c.kind == WRITTEN_LARGER) {
            for (int i = 0; old.size() < (std::size_t(256) << 10) - 64; ++i) {
                old += "note" + std::to_string(i) + " " + std::string(48, 'n') + "\n";
            }
            old.resize(std::size_t(256) << 10, '#');
        }
        if (c.kind == A_FOLDER) {
            fs::remove("data/vasp.conf");
            fs::create_directory("data/vasp.conf");
        } else {
            writeBytes("data/vasp.conf", old);
        }

        testing::internal::CaptureStderr();
        game();
        std::string told = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(toldOnce(told, c.toldAtStart)) << told;
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        Game& g = game();
        const std::string readNotice = *c.toldAtStart != '\0' ? "SETTINGS NOT READ\n" : "";
        EXPECT_EQ(g._notice.text(), readNotice);

        ASSERT_NO_FATAL_FAILURE(select(*g._menuMain, "SETTINGS"));
        tap(SDL_SCANCODE_RETURN);
        ASSERT_NO_FATAL_FAILURE(select(*g._menuSettings, "SOUND"));
        tap(SDL_SCANCODE_RETURN);
        ASSERT_NO_FATAL_FAILURE(select(*g._menuSound, "MASTER VOLUME"));
        const unsigned char before = g._masterVolume;
        testing::internal::CaptureStderr();
        tap(SDL_SCANCODE_RIGHT);
        told = testing::internal::GetCapturedStderr();
        const unsigned char chosen = g._masterVolume;
        EXPECT_NE(chosen, before);
        const bool saveFailed = *c.toldAtSave != '\0';
        EXPECT_TRUE(toldOnce(told, c.toldAtSave)) << told;
        EXPECT_EQ(g._notice.text(), readNotice + (saveFailed ? "SETTINGS NOT SAVED\n" : ""));

        destroyGame();
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        switch (c.kind) {
        case OVER_THE_SIZE:
            // The player's file is kept whole; the new one holds the change and reads back.
            EXPECT_TRUE(bytesOf("data/vasp.conf.damaged") == old);
            EXPECT_EQ(game()._masterVolume, chosen);
            EXPECT_EQ(game()._notice.text(), "");
            break;
        case A_FOLDER:
            EXPECT_TRUE(fs::is_directory("data/vasp.conf"));
            EXPECT_FALSE(fs::exists(fs::symlink_status("data/vasp.conf.damaged")));
            EXPECT_EQ(game()._notice.text(), "SETTINGS NOT READ\n");
            break;
        case WRITTEN_LARGER:
            EXPECT_TRUE(bytesOf("data/vasp.conf") == old);
            EXPECT_EQ(game()._masterVolume, 76);
            EXPECT_EQ(game()._fov, 70.0f);
            EXPECT_EQ(game()._notice.text(), "");
            break;
        }
    }
}

// A file the player keeps private stays private when the game saves over it, also where a
// link leads to it.
TEST_F(SavingGL, ASaveKeepsThePermissionsOfTheFileItReplaces) {
    const fs::perms privately = fs::perms::owner_read | fs::perms::owner_write;
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "through a link" : "the file itself");
        destroyGame();
        folder.reset();
        folder = std::make_unique<testgame::GameFolder>();
        writeBytes("data/scores", freshScoreFile());
        fs::create_directory("elsewhere");
        for (const char* file : {"vasp.conf", "scores"}) {
            const fs::path path = fs::path("data") / file;
            if (linked) {
                fs::rename(path, fs::path("elsewhere") / file);
                fs::create_symlink(fs::absolute(fs::path("elsewhere") / file), path);
            }
            fs::permissions(path, privately);
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        changeSetting(true);
        ASSERT_NO_FATAL_FAILURE(enterScore(123456));
        EXPECT_EQ(fpsInFile(), 1);
        for (const char* file : {"vasp.conf", "scores"}) {
            EXPECT_EQ(fs::status(fs::path("data") / file).permissions(), privately) << file;
        }
    }
}

// A save or a keeping copy killed before its rename leaves its temporary; the next start
// removes it, but nothing in its place that is not a regular file.
TEST_F(SavingGL, TheStartRemovesTemporariesLeftByAKill) {
    writeBytes("data/vasp.conf.tmp", "displayFps 1\n");
    writeBytes("data/vasp.conf.damaged.tmp", "displayFps 1\n");
    writeBytes("data/scores.damaged.tmp", "half a table");
    fs::create_directory("data/scores.tmp");
    game();
    for (const char* left : {"data/vasp.conf.tmp", "data/vasp.conf.damaged.tmp", "data/scores.damaged.tmp"}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(left))) << left;
    }
    EXPECT_TRUE(fs::is_directory("data/scores.tmp"));
    destroyGame();

    fs::remove("data/scores.tmp");
    writeBytes("data/scores.tmp", "half a table");
    fs::create_symlink("vasp.conf", "data/vasp.conf.tmp");
    game();
    EXPECT_FALSE(fs::exists(fs::symlink_status("data/scores.tmp")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status("data/vasp.conf.tmp")));
}

}  // namespace
