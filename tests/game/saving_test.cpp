// Saving the settings and the score tables when the files or the disk work against it: links
// that lead elsewhere, a read-only folder, a full disk, files the game could not read,
// permissions and temporaries left by a kill. The settings change through the menus or a
// menu callback and the scores through the keys of the score entry, as the player makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "engine2d/simplemenu.h"
#include "game/multiscoretable.h"
#include "platform/safewrite.h"
#include "platform/settings.h"
#include "tests/game/player_fixture.h"
#include "tests/support/temporaries.h"

namespace {

// Set while every sync of a folder fails with an I/O error, as on a failing disk.
std::atomic<bool> foldersFailToSync{false};
// Set while the modes of the files saves lock are recorded, as each is when it is locked.
std::atomic<bool> recordingLocks{false};
std::vector<mode_t> lockedModes;

}  // namespace

extern "C" int fsync(int descriptor) {
    struct stat status = {};
    if (foldersFailToSync.load() && fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

extern "C" int flock(int descriptor, int operation) noexcept {
    struct stat status = {};
    if (recordingLocks.load() && fstat(descriptor, &status) == 0) {
        lockedModes.push_back(status.st_mode & 07777);
    }
    return static_cast<int>(syscall(SYS_flock, descriptor, operation));
}

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

    // A score entered as after a game over: the score opens the name entry with a row to type
    // into, a name is typed, then ENTER, which saves the tables.
    void enterScore(std::uint32_t score) {
        Game& g = game();
        g._score = score;
        g.leaveGameOver();
        ASSERT_EQ(g._state, Game::STATE_ENTER_SCORE);
        ASSERT_NE(g._scoreTables.currentTable()->editEntry(), nullptr);
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
            EXPECT_FALSE(testsupport::holdsSaveTemporary(target.parent_path()));
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
            // Told at the start, though there is nothing to read, then at the save.
            EXPECT_EQ(notice, "SETTINGS NOT READ\nHIGH SCORES NOT READ\nSETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
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
        EXPECT_EQ(countOf(told, fullDisk ? ": No space left on device\n"
                                         : ": cannot write in the folder data: Read-only file system\n"),
                  2)
            << told;
        EXPECT_EQ(g._notice.text(), "SETTINGS NOT SAVED\nHIGH SCORES NOT SAVED\n");
        // The run goes on with what the player chose.
        EXPECT_TRUE(g._displayFps);
        EXPECT_TRUE(hasEntry(g._scoreTables, 5000001));
        EXPECT_EQ(bytesOf("data/vasp.conf"), settings);
        EXPECT_EQ(bytesOf("data/scores"), scores);
        EXPECT_FALSE(testsupport::holdsSaveTemporary("data"));

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

// A folder that does not sync after the rename: the new files are in place, so no notice says
// otherwise, but standard error says once of each file that it may not survive a power cut.
TEST_F(SavingGL, AFolderThatDoesNotSyncSavesAndSaysTheFilesMayNotSurviveAPowerCut) {
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    foldersFailToSync.store(true);
    testing::internal::CaptureStderr();
    const bool saved = game().saveSettings();
    EXPECT_NO_FATAL_FAILURE(enterScore(5000000));
    changeSetting(true);
    EXPECT_NO_FATAL_FAILURE(enterScore(5000001));
    foldersFailToSync.store(false);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(saved);
    const std::string unsynced = ", but the folder data did not sync (Input/output error): the new file may not "
                                 "survive a power cut\n";
    EXPECT_EQ(told, "Saved data/vasp.conf" + unsynced + "Saved data/scores" + unsynced);
    EXPECT_EQ(game()._notice.text(), "");
    EXPECT_EQ(fpsInFile(), 1);
}

// A score file that did not read whole, or whose tables hold more or fewer rows than the 20
// each shows, is told at the start and kept before the next entry replaces it: beside a copy
// kept before, never over it. Where it cannot be kept, nothing is replaced.
TEST_F(SavingGL, ADamagedScoreFileIsKeptBesideOlderCopiesBeforeTheNextEntryReplacesIt) {
    std::string forged = freshScoreFile();
    ASSERT_GE(forged.size(), 4u);
    forged[0] = '\x09';  // more tables than the file holds
    std::string noise(700, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>((i * 151 + 7) % 256);
    }
    // The NORMAL table of 200,000 rows, just under the size the game reads: the table shows
    // its best 20 and keeps no more.
    const auto le = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    std::string longTable = le(1) + le(6) + "NORMAL" + le(0) + std::string(24, '\0') + le(200000);
    for (std::uint32_t score = 1; score <= 200000; ++score) {
        longTable += le(score) + '\0';
    }
    // The five tables with no row at all: each still takes a score.
    Vortel::MultiScoreTable rowless(0, 32);
    for (const char* speed : {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"}) {
        rowless.createTable(speed, "");
    }
    ASSERT_TRUE(rowless.save("rowless.scores"));
    const std::string keptAs = " and saves over it only once it is kept as data/scores.damaged\n";
    const std::string damaged = "Cannot read data/scores: damaged, not a whole score file; the game goes on without it" + keptAs;
    const std::string uneven = "data/scores is not as the game writes it: the ";
    const struct {
        const char* what;
        std::string bytes;
        std::string toldAtStart;
        bool roomForTheCopy;
    } cases[] = {
        {"random bytes", noise, damaged, true},
        {"forged table count", forged, damaged, true},
        {"a table longer than its own", longTable,
         uneven + "NORMAL table holds 200000 rows, more than the 20 it shows, and keeps the best; the game goes on "
                  "with it" + keptAs,
         true},
        {"tables shorter than their own", bytesOf("rowless.scores"),
         uneven + "VERY SLOW table holds 0 rows, fewer than the 20 it shows, and is filled up with empty rows; the "
                  "game goes on with it" + keptAs,
         true},
        {"no room for the copy", std::string(160 << 10, '\x5A'), damaged, false},  // last: it mounts the folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        destroyGame();
        folder.reset();
        folder = std::make_unique<testgame::GameFolder>();
        if (!c.roomForTheCopy && !dataOnTmpfs("size=256k")) {
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        }
        writeBytes("data/scores", c.bytes);
        writeBytes("data/scores.damaged", "an older copy");
        testing::internal::CaptureStderr();
        loadToMainMenu();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.toldAtStart);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(game()._notice.text(), "HIGH SCORES NOT READ\n");
        for (const Vortel::ScoreTable& table : game()._scoreTables.tables()) {
            EXPECT_EQ(table.entries().size(), 20u) << table.name();
        }
        if (c.bytes == longTable) {
            const Vortel::ScoreTable* const normal = game()._scoreTables.getTable("NORMAL");
            EXPECT_EQ(normal->entries().front().score, 200000u);
            EXPECT_EQ(normal->entries().back().score, 199981u);
        }
        testing::internal::CaptureStderr();
        EXPECT_NO_FATAL_FAILURE(enterScore(4000000));
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(bytesOf("data/scores.damaged") == "an older copy");
        if (!c.roomForTheCopy) {
            EXPECT_TRUE(bytesOf("data/scores") == c.bytes);
            EXPECT_EQ(told, "Cannot save data/scores: cannot keep the damaged file as data/scores.damaged: No space "
                            "left on device\n");
            EXPECT_EQ(game()._notice.text(), "HIGH SCORES NOT READ\nHIGH SCORES NOT SAVED\n");
            EXPECT_FALSE(fs::exists("data/scores.damaged.2"));
            EXPECT_FALSE(testsupport::holdsSaveTemporary("data"));
            continue;
        }
        EXPECT_EQ(told, "Kept data/scores as data/scores.damaged.2: data/scores.damaged, kept before, stays as it "
                        "is\n");
        EXPECT_TRUE(bytesOf("data/scores.damaged.2") == c.bytes);
        Vortel::MultiScoreTable tables(20, 32);
        ASSERT_TRUE(tables.load("data/scores"));
        EXPECT_TRUE(hasEntry(tables, 4000000));
        // Kept once: the file now on disk is the game's own.
        EXPECT_NO_FATAL_FAILURE(enterScore(4000001));
        EXPECT_TRUE(bytesOf("data/scores.damaged.2") == c.bytes);
        EXPECT_FALSE(fs::exists("data/scores.damaged.3"));
    }
}

// Another game in the folder read the same damaged files, kept them and saved its own since
// this one started: this game's first saves keep none of that game's files over the player's.
TEST_F(SavingGL, AFileAnotherGameSavedSinceTheStartIsNotKeptOverThePlayers) {
    const std::string settings = bytesOf("data/vasp.conf") + "a@1  x\na  y  z\n";
    const std::string scores(700, '\x5A');
    writeBytes("data/vasp.conf", settings);
    writeBytes("data/scores", scores);
    ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
    // What the other game's first saves leave.
    writeBytes("data/vasp.conf.damaged", settings);
    writeBytes("data/scores.damaged", scores);
    ASSERT_TRUE(safeWrite("data/vasp.conf", "gameSpeed  fast\n"));
    ASSERT_TRUE(game()._scoreTables.save("data/scores"));
    testing::internal::CaptureStderr();
    changeSetting(true);
    EXPECT_NO_FATAL_FAILURE(enterScore(2000000));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(bytesOf("data/vasp.conf.damaged") == settings);
    EXPECT_TRUE(bytesOf("data/scores.damaged") == scores);
    EXPECT_FALSE(fs::exists("data/vasp.conf.damaged.2") || fs::exists("data/scores.damaged.2"));
    EXPECT_EQ(countOf(told, " is no longer the file the game could not read at the start"), 2) << told;
}

// A settings file the game cannot read, or could read but never save back, is told at the
// start and kept as vasp.conf.damaged before the first change in the menus replaces it; one it
// cannot keep is not replaced, and a link that leads nowhere is told though nothing is there
// to keep. A byte order mark before the first line is no part of its name and is not written.
TEST_F(SavingGL, ASettingsFileThatCannotBeReadIsToldAndKeptBeforeAChangeReplacesIt) {
    enum Kind { OVER_THE_SIZE, A_FOLDER, WRITTEN_LARGER, A_CLASHING_NAME, A_DANGLING_LINK, A_BYTE_ORDER_MARK };
    const std::string keptAs = "; the game goes on without it and saves over it only once it is kept as "
                               "data/vasp.conf.damaged\n";
    const std::string missing = fs::absolute("no-such-folder/vasp.conf").string();
    const struct {
        Kind kind;
        std::string toldAtStart;
        std::string toldAtSave;
    } cases[] = {
        {OVER_THE_SIZE, "Cannot read data/vasp.conf: larger than 256 KiB" + keptAs, ""},
        // No save replaces what no save could keep.
        {A_FOLDER, "Cannot read data/vasp.conf: a folder, not a file; the game goes on without it and does not save "
                   "over it\n",
         "Cannot save data/vasp.conf: not a regular file\n"},
        // At the size, with one blank where the game writes two.
        {WRITTEN_LARGER,
         "Cannot read data/vasp.conf: written as the game writes it, with two blanks after each name, it would be "
         "larger than 256 KiB" + keptAs,
         ""},
        // A name of a key that the reader also makes for the second value of a later line.
        {A_CLASHING_NAME, "Cannot read data/vasp.conf: line 1 has a name the game cannot save back: a@1" + keptAs, ""},
        {A_DANGLING_LINK,
         "Cannot read data/vasp.conf: a link to " + missing + ", which leads to no file; the game goes on without it\n",
         "Cannot save data/vasp.conf: link leads to no file\n"},
        {A_BYTE_ORDER_MARK, "", ""},
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
        } else if (c.kind == A_CLASHING_NAME) {
            old = "a@1 x\n" + old + "a 1 2\n";
        } else if (c.kind == A_BYTE_ORDER_MARK) {
            ASSERT_EQ(old.compare(0, 13, "cockpitHud  1"), 0);
            old = "\xEF\xBB\xBF" "cockpitHud  0" + old.substr(13);
        }
        fs::remove("data/vasp.conf");
        if (c.kind == A_FOLDER) {
            fs::create_directory("data/vasp.conf");
        } else if (c.kind == A_DANGLING_LINK) {
            fs::create_symlink(missing, "data/vasp.conf");
        } else {
            writeBytes("data/vasp.conf", old);
        }

        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        game();
        const std::string trace = testing::internal::GetCapturedStdout();
        std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(told, c.toldAtStart);
        EXPECT_EQ(countOf(trace, "\ncockpitHud@0 = 0\n"), c.kind == A_BYTE_ORDER_MARK ? 1 : 0);
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        Game& g = game();
        const std::string readNotice = !c.toldAtStart.empty() ? "SETTINGS NOT READ\n" : "";
        EXPECT_EQ(g._notice.text(), readNotice);
        EXPECT_EQ(g._cockpitHud, c.kind != A_BYTE_ORDER_MARK);

        ASSERT_NO_FATAL_FAILURE(select(*g._menuMain, "SETTINGS"));
        tap(SDL_SCANCODE_RETURN);
        ASSERT_NO_FATAL_FAILURE(select(*g._menuSettings, "SOUND"));
        tap(SDL_SCANCODE_RETURN);
        ASSERT_NO_FATAL_FAILURE(select(*g._menuSound, "MASTER VOLUME"));
        const unsigned char before = g._masterVolume;
        testing::internal::CaptureStderr();
        tap(SDL_SCANCODE_RIGHT);
        tap(SDL_SCANCODE_RIGHT);  // a second save is quiet
        told = testing::internal::GetCapturedStderr();
        const unsigned char chosen = g._masterVolume;
        EXPECT_NE(chosen, before);
        const bool saveFailed = !c.toldAtSave.empty();
        EXPECT_EQ(told, c.toldAtSave);
        EXPECT_EQ(g._notice.text(), readNotice + (saveFailed ? "SETTINGS NOT SAVED\n" : ""));

        destroyGame();
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        switch (c.kind) {
        case OVER_THE_SIZE:
        case WRITTEN_LARGER:
        case A_CLASHING_NAME:
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
        case A_DANGLING_LINK:
            EXPECT_EQ(fs::read_symlink("data/vasp.conf"), missing);
            EXPECT_FALSE(fs::exists(fs::symlink_status(missing)));
            EXPECT_FALSE(fs::exists(fs::symlink_status("data/vasp.conf.damaged")));
            EXPECT_EQ(game()._notice.text(), "SETTINGS NOT READ\n");
            break;
        case A_BYTE_ORDER_MARK:
            EXPECT_EQ(bytesOf("data/vasp.conf").compare(0, 14, "cockpitHud  0\n"), 0);
            EXPECT_FALSE(game()._cockpitHud);
            EXPECT_EQ(game()._masterVolume, chosen);
            EXPECT_EQ(game()._fov, 70.0f);
            break;
        }
    }
}

// A file the player keeps private stays private when the game saves over it, also where a
// link leads to it, and its temporary from the moment it is made; it stays the player's when
// the game runs as root.
TEST_F(SavingGL, ASaveKeepsThePermissionsAndTheOwnerOfTheFileItReplaces) {
    const fs::perms privately = fs::perms::owner_read | fs::perms::owner_write;
    // Someone else's numbers, where the game may give a file away.
    const bool asRoot = geteuid() == 0;
    const uid_t player = asRoot ? 4321 : geteuid();
    const gid_t group = asRoot ? 4322 : getegid();
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
            ASSERT_EQ(chown(path.c_str(), player, group), 0);
        }
        ASSERT_NO_FATAL_FAILURE(loadToMainMenu());
        lockedModes.clear();
        recordingLocks.store(true);
        // Under the usual umask a file made with the usual mode is readable by all; under a
        // stricter one the test would not see a temporary made so.
        const mode_t umaskBefore = umask(022);
        changeSetting(true);
        EXPECT_NO_FATAL_FAILURE(enterScore(123456));
        umask(umaskBefore);
        recordingLocks.store(false);
        EXPECT_EQ(fpsInFile(), 1);
        EXPECT_EQ(lockedModes.size(), 2u);
        for (const mode_t mode : lockedModes) {
            EXPECT_EQ(mode & 077, 0u) << "a temporary others could open, mode " << std::oct << mode;
        }
        for (const char* file : {"vasp.conf", "scores"}) {
            const fs::path path = fs::path("data") / file;
            EXPECT_EQ(fs::status(path).permissions(), privately) << file;
            struct stat status = {};
            ASSERT_EQ(stat(path.c_str(), &status), 0);
            EXPECT_EQ(status.st_uid, player) << file;
            EXPECT_EQ(status.st_gid, group) << file;
        }
    }
}

// A save or a keeping copy killed before its rename leaves its temporary; the next start
// removes it, but not one that another game in the folder is still writing (it holds it
// locked), nothing in its place that is not a regular file, and no file of another name.
TEST_F(SavingGL, TheStartRemovesTemporariesLeftByAKill) {
    enum Stands { LEFT, HELD, FOLDER, LINK };
    const struct {
        const char* path;
        Stands stands;
        bool removed;
    } cases[] = {
        {"data/vasp.conf.tmp", LEFT, true},  // as older versions named them
        {"data/vasp.conf.damaged.tmp", LEFT, true},
        {"data/scores.damaged.tmp", LEFT, true},
        {"data/vasp.conf.4000001-0.tmp", LEFT, true},
        {"data/scores.4000001-17.tmp", LEFT, true},
        {"data/scores.damaged.4000002-3.tmp", LEFT, true},
        {"data/vasp.conf.4000003-0.tmp", HELD, false},
        {"data/scores.4000003-1.tmp", HELD, false},
        {"data/scores.tmp", FOLDER, false},
        {"data/vasp.conf.damaged.4000004-0.tmp", FOLDER, false},
        {"data/scores.damaged.4000007-0.tmp", LINK, false},
        {"data/vasp.conf.4000005-0.tmp", LINK, false},
        {"data/vasp.conf.backup.tmp", LEFT, false},
        {"data/vasp.conf.4000006-.tmp", LEFT, false},
        {"data/vasp.conf.4000006-1.tmp.old", LEFT, false},
    };
    std::vector<int> held;
    for (const auto& c : cases) {
        switch (c.stands) {
        case LEFT: writeBytes(c.path, "half a file"); break;
        case HELD:
            writeBytes(c.path, "half a file");
            held.push_back(open(c.path, O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(flock(held.back(), LOCK_EX), 0);
            break;
        case FOLDER: fs::create_directory(c.path); break;
        case LINK: fs::create_symlink("vasp.conf", c.path); break;
        }
    }
    game();
    for (const int descriptor : held) {
        close(descriptor);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fs::exists(fs::symlink_status(c.path)), !c.removed);
        if (!c.removed) {
            EXPECT_EQ(fs::is_symlink(fs::symlink_status(c.path)), c.stands == LINK);
            EXPECT_EQ(fs::is_directory(fs::symlink_status(c.path)), c.stands == FOLDER);
        }
    }
}

}  // namespace
