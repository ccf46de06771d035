// The safe write where more than one game saves the same file, or something was left where its
// temporary goes, what others may see of the temporary, and what it leaves on the disk for a
// power cut. Every fsync and flock of this program passes through the hooks below, so a test
// can hold a save just before its rename, see what was synced and when, or look at a
// temporary as soon as the save locks it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/safewrite.h"

namespace fs = std::filesystem;

namespace {

// What a test does at each fsync (flock) of this program, before the real one; null: nothing.
std::atomic<void (*)(int)> syncHook{nullptr};
std::atomic<void (*)(int)> lockHook{nullptr};

}  // namespace

extern "C" int fsync(int descriptor) {
    if (void (*const hook)(int) = syncHook.load()) {
        hook(descriptor);
    }
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

extern "C" int flock(int descriptor, int operation) noexcept {
    if (void (*const hook)(int) = lockHook.load()) {
        hook(descriptor);
    }
    return static_cast<int>(syscall(SYS_flock, descriptor, operation));
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
        lockHook.store(nullptr);
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

// The file a descriptor of this process has open.
std::string openedFile(int descriptor) {
    std::error_code error;
    return fs::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error).string();
}

std::vector<std::string> synced;

void recordSyncedFiles(int descriptor) {
    synced.push_back(openedFile(descriptor));
}

// Temporaries left at the names the next saves of this process take (a game of the same
// number killed, a disk without locks for the start's clean-up), longer than the saves: each
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
    for (int save = 0; save < 3; ++save) {
        const std::string bytes = "new  " + std::to_string(save) + "\n";
        std::string reason;
        ASSERT_TRUE(safeWrite(file, bytes, &reason)) << reason;
        EXPECT_TRUE(read(file) == bytes) << "a left temporary was written through";
    }
    for (const std::string& name : leftNames) {
        EXPECT_TRUE(read(name) == left) << name;
    }
}

// The modes of the temporaries locked, as each was when its save locked it.
std::vector<mode_t> lockedModes;

void recordLockedModes(int descriptor) {
    struct stat status = {};
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        lockedModes.push_back(status.st_mode & 07777);
    }
}

// A save of a file others may not read: its temporary can be opened by no one else from the
// moment it is made (under the usual umask), and the new file is the player's, with the
// file's mode; where the game may not give the owner, it keeps the group the player is in.
TEST_F(SafeWriteTest, APrivateFilesTemporaryIsPrivateFromItsCreationAndKeepsTheOwnerOrTheGroup) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root makes files of other users";
    }
    const struct {
        const char* what;
        mode_t mode;
        uid_t owner;
        gid_t group;
        uid_t game;  // who the game runs as: root, or a member of the file's group alone
        uid_t newOwner;
    } cases[] = {
        {"as root", 0600, 4321, 4322, 0, 4321},
        {"as a player of the file's group", 0640, 4323, 4322, 4321, 4321},
    };
    fs::permissions(_dir, fs::perms::all);
    const std::string file = path("scores");
    std::vector<gid_t> rootGroups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    ASSERT_EQ(getgroups(static_cast<int>(rootGroups.size()), rootGroups.data()), static_cast<int>(rootGroups.size()));
    const mode_t umaskBefore = umask(022);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(file) << "old";
        ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
        ASSERT_EQ(chown(file.c_str(), c.owner, c.group), 0);
        lockedModes.clear();
        lockHook.store(&recordLockedModes);
        const gid_t groups[] = {c.group};
        const bool asPlayer = c.game != 0;
        if (asPlayer) {
            ASSERT_EQ(setgroups(1, groups), 0);
            ASSERT_EQ(setegid(c.game), 0);
            ASSERT_EQ(seteuid(c.game), 0);
        }
        std::string reason;
        const bool saved = safeWrite(file, "new", &reason);
        const bool backAsRoot =
            !asPlayer || (seteuid(0) == 0 && setegid(0) == 0 && setgroups(rootGroups.size(), rootGroups.data()) == 0);
        lockHook.store(nullptr);
        ASSERT_TRUE(backAsRoot);
        EXPECT_TRUE(saved) << reason;
        ASSERT_EQ(lockedModes.size(), 1u);
        EXPECT_EQ(lockedModes[0] & 077, 0u) << std::oct << lockedModes[0];
        struct stat status = {};
        ASSERT_EQ(stat(file.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.mode) << std::oct << status.st_mode;
        EXPECT_EQ(status.st_uid, c.newOwner);
        EXPECT_EQ(status.st_gid, c.group);
        EXPECT_EQ(read(file), "new");
    }
    umask(umaskBefore);
}

}  // namespace
