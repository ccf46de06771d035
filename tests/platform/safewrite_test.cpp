// The safe write where more than one game saves the same file, or something was left where its
// temporary goes, and what it leaves on the disk for a power cut. Every fsync of this program
// passes through the hook below, so a test can hold a save just before its rename, or see what
// was synced and when.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/safewrite.h"

namespace fs = std::filesystem;

namespace {

// What a test does at each fsync of this program, before the real one; null: nothing.
std::atomic<void (*)(int)> syncHook{nullptr};

}  // namespace

extern "C" int fsync(int descriptor) {
    if (void (*const hook)(int) = syncHook.load()) {
        hook(descriptor);
    }
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

namespace {

class SafeWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        _dir = fs::current_path() / ("safewrite_" + name);
        fs::remove_all(_dir);
        fs::create_directories(_dir);
    }
    void TearDown() override {
        syncHook.store(nullptr);
        fs::remove_all(_dir);
    }

    std::string path(const std::string& name) const { return (_dir / name).string(); }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path _dir;
};

// The save held in its sync, and the thread it runs on.
std::atomic<bool> holding{false};
std::atomic<bool> held{false};
std::atomic<bool> released{false};

void holdTheFirstSync(int) {
    bool expected = true;
    if (holding.compare_exchange_strong(expected, false)) {
        held.store(true);
        while (!released.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

// Two games in one folder: one saves while the other's save is written but not yet renamed, and
// a third starts meanwhile and clears what kills left. Each save moves its own whole file over
// the old, the last one wins, and nothing is left behind.
TEST_F(SafeWriteTest, SavesAtOnceEachMoveTheirOwnWholeFileAndTheLastWins) {
    const std::string file = path("vasp.conf");
    ASSERT_TRUE(safeWrite(file, "old  1\n"));
    const std::string first(70000, 'a');
    const std::string second = "second  2\n";

    held.store(false);
    released.store(false);
    holding.store(true);
    syncHook.store(&holdTheFirstSync);
    std::string firstReason;
    bool firstSaved = false;
    std::atomic<bool> firstEnded{false};
    std::thread firstSave([&] {
        firstSaved = safeWrite(file, first, &firstReason);
        firstEnded.store(true);
    });
    // A first save that fails before its sync is never held: the test fails instead of waiting.
    while (!held.load() && !firstEnded.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    removeLeftTemporaries(file);
    std::string secondReason;
    EXPECT_TRUE(safeWrite(file, second, &secondReason)) << secondReason;
    EXPECT_EQ(read(file), second);
    released.store(true);
    firstSave.join();
    EXPECT_TRUE(firstSaved) << firstReason;
    EXPECT_TRUE(read(file) == first) << "the file is not the last save's";
    EXPECT_EQ(folderNames(), std::vector<std::string>{"vasp.conf"});
}

// What was synced: each folder synced and what the saved file held then.
struct FolderSync {
    ino_t folder;
    std::string file;
};
std::vector<FolderSync> folderSyncs;
std::string watched;

void recordFolderSyncs(int descriptor) {
    struct stat status = {};
    if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        std::ifstream in(watched, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        folderSyncs.push_back({status.st_ino, bytes.str()});
    }
}

// A rename is only on the disk once its folder is: a save syncs the folder of the file it
// replaced after the rename, also where a link leads to that file.
TEST_F(SafeWriteTest, ASaveSyncsTheFolderOfTheFileOnceTheNewFileIsInPlace) {
    fs::create_directory(path("elsewhere"));
    std::ofstream(path("elsewhere/scores")) << "old";
    fs::create_symlink("elsewhere/scores", path("scores"));
    std::ofstream(path("vasp.conf")) << "old";
    const struct {
        const char* saved;
        const char* replaced;
        const char* folder;
    } cases[] = {{"vasp.conf", "vasp.conf", ""}, {"scores", "elsewhere/scores", "elsewhere"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        folderSyncs.clear();
        watched = path(c.replaced);
        syncHook.store(&recordFolderSyncs);
        std::string reason;
        EXPECT_TRUE(safeWrite(path(c.saved), "new", &reason)) << reason;
        syncHook.store(nullptr);
        struct stat folder = {};
        ASSERT_EQ(stat((_dir / c.folder).c_str(), &folder), 0);
        ASSERT_EQ(folderSyncs.size(), 1u);
        EXPECT_EQ(folderSyncs[0].folder, folder.st_ino);
        EXPECT_EQ(folderSyncs[0].file, "new");
    }
}

// The files synced, by the names their descriptors were opened under.
std::vector<std::string> synced;

void recordSyncedFiles(int descriptor) {
    std::error_code error;
    synced.push_back(fs::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error).string());
}

// Temporaries left at the names the next saves of this process take (a game of the same
// number killed, a disk without locks for the start's clean-up), longer than the save: the
// save makes a file of its own, never writes through one of them.
TEST_F(SafeWriteTest, TemporariesLeftAtTheNamesOfTheNextSavesAreNeverWrittenThrough) {
    const std::string file = path("vasp.conf");
    synced.clear();
    syncHook.store(&recordSyncedFiles);
    ASSERT_TRUE(safeWrite(file, "first  1\n"));
    syncHook.store(nullptr);
    // The save's number, from the name of the temporary it synced.
    ASSERT_FALSE(synced.empty());
    const std::string used = synced.front();
    const std::string named = file + "." + std::to_string(getpid()) + "-";
    ASSERT_EQ(used.compare(0, named.size(), named), 0) << used;
    const unsigned long number = std::stoul(used.substr(named.size()));

    const std::string left(4096, 'L');
    std::vector<std::string> leftNames;
    for (unsigned long next = number + 1; next <= number + 20; ++next) {
        leftNames.push_back(named + std::to_string(next) + ".tmp");
        std::ofstream(leftNames.back(), std::ios::binary) << left;
    }
    std::string reason;
    ASSERT_TRUE(safeWrite(file, "new  1\n", &reason)) << reason;
    EXPECT_TRUE(read(file) == "new  1\n") << "a left temporary was written through";
    for (const std::string& name : leftNames) {
        EXPECT_TRUE(read(name) == left) << name;
    }
}

}  // namespace
