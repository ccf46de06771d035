#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "platform/settings.h"
#include "tests/support/temporaries.h"

namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        _dir = fs::current_path() / ("settings_" + name);
        fs::remove_all(_dir);
        fs::create_directories(_dir);
    }

    void TearDown() override { fs::remove_all(_dir); }

    std::string path(const std::string& name) const { return (_dir / name).string(); }

    std::string write(const std::string& name, const std::string& contents) const {
        std::ofstream(path(name), std::ios::binary) << contents;
        return path(name);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream contents;
        contents << in.rdbuf();
        return contents.str();
    }

    // Whether a save left a temporary of its own beside its files.
    bool temporaryLeft() const { return testsupport::holdsSaveTemporary(_dir); }

    fs::path _dir;
};

void expectValue(Settings& s, const std::string& key, const std::string& text) {
    ASSERT_TRUE(s.exists(key)) << key;
    EXPECT_EQ(s[key].text, text) << key;
}

}  // namespace

TEST_F(SettingsTest, TokenisesQuotesCommentsAndBlanks) {
    Settings s;
    const std::string file = write("a.conf",
                                   "title \"The  Game\"\tx\n"
                                   "\n"
                                   "   \n"
                                   "join ab\"c d\" ef\n"
                                   "split \"ab\"cd \"\" last\n"
                                   "lost one \"never closed\n"
                                   "after \"is unquoted\" again\n"
                                   "# comment 1\n"
                                   "#tight 2\n"
                                   "   \"# quoted\" 3\n"
                                   "\"\" 4\n"
                                   "hash # y\n"
                                   "bare\n"
                                   "end 9");
    ASSERT_TRUE(s.load(file, false));

    expectValue(s, "title", "The  Game");
    expectValue(s, "title@1", "x");
    expectValue(s, "join@0", "abc d");
    expectValue(s, "join@1", "ef");
    expectValue(s, "split@0", "ab");
    expectValue(s, "split@1", "cd");
    expectValue(s, "split@2", "");
    expectValue(s, "split@3", "last");
    expectValue(s, "lost@0", "one");
    EXPECT_FALSE(s.exists("lost@1"));
    expectValue(s, "after@0", "is unquoted");
    expectValue(s, "after@1", "again");
    EXPECT_FALSE(s.exists("#"));
    EXPECT_FALSE(s.exists("#tight"));
    EXPECT_FALSE(s.exists("# quoted"));
    EXPECT_FALSE(s.exists("@0"));
    expectValue(s, "hash@0", "#");
    expectValue(s, "hash@1", "y");
    EXPECT_FALSE(s.exists("bare"));
    expectValue(s, "end", "9");
}

TEST_F(SettingsTest, CrLfFileLoadsLikeLfFile) {
    const std::string lines[] = {"speed 3 \"a b\"", "# note", "", "name \"open", "key on", "tail \"x\""};
    std::string lf;
    std::string crlf;
    for (const std::string& line : lines) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    Settings a;
    Settings b;
    ASSERT_TRUE(a.load(write("lf.conf", lf), false));
    ASSERT_TRUE(b.load(write("crlf.conf", crlf), false));
    ASSERT_TRUE(a.save(path("lf.out")));
    ASSERT_TRUE(b.save(path("crlf.out")));
    EXPECT_EQ(read("crlf.out"), read("lf.out"));
    EXPECT_EQ(b["key"].i, 1);
    EXPECT_EQ(b["tail"].text, "x");
}

TEST_F(SettingsTest, TracesTokensAndStoredValues) {
    Settings s;
    const std::string file = write("t.conf", "# c\nsize 3 \"a b\"\n");
    ::testing::internal::CaptureStdout();
    s.load(file, false);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              ":#\n:c\n:size\n:3\n:a b\nsize@0 = 3\nsize@1 = a b\n");
}

TEST_F(SettingsTest, ParsesEachValueOnceIntoFloatAndInt) {
    struct Case {
        const char* text;
        float f;
        int i;
    };
    const Case cases[] = {{"1.5", 1.5f, 1}, {"2.5x", 2.5f, 2},  {"1e3", 1000.0f, 1}, {"-7", -7.0f, -7},
                          {"On", 0.0f, 1},  {"tRuE", 0.0f, 1},  {"OFF", 0.0f, 0},    {"false", 0.0f, 0},
                          {"abc", 0.0f, 0}, {"0x10", 0.0f, 0},  {"", 0.0f, 0},       {"onward", 0.0f, 0}};
    for (const Case& c : cases) {
        const Settings::Value v(c.text);
        EXPECT_EQ(v.text, c.text);
        EXPECT_FLOAT_EQ(v.f, c.f) << c.text;
        EXPECT_EQ(v.i, c.i) << c.text;
    }

    Settings::Value v;
    v = -5;
    EXPECT_EQ(v.text, "-5");
    EXPECT_FLOAT_EQ(v.f, -5.0f);
    v = 0.1f;
    EXPECT_EQ(v.text, "0.1");
    v = 1234567.0f;
    EXPECT_EQ(v.text, "1.23457e+06");
    EXPECT_FLOAT_EQ(v.f, 1234570.0f);
    EXPECT_EQ(v.i, 1);
    v = std::string("off");
    EXPECT_EQ(v.i, 0);
    EXPECT_EQ(v.text, "off");
}

TEST_F(SettingsTest, PlainNamesMeanIndexZero) {
    Settings s;
    EXPECT_FALSE(s.exists("volume"));
    Settings::Value& added = s["volume"];
    EXPECT_EQ(added.text, "");
    EXPECT_EQ(added.i, 0);
    EXPECT_TRUE(s.exists("volume"));
    EXPECT_TRUE(s.exists("volume@0"));
    EXPECT_FALSE(s.exists("volume@1"));

    s["volume@0"] = 7;
    EXPECT_EQ(s["volume"].i, 7);

    // Erasing takes the key as given, so the plain name is not the indexed entry.
    EXPECT_FALSE(s.erase("volume"));
    EXPECT_TRUE(s.erase("volume@0"));
    EXPECT_FALSE(s.exists("volume"));
}

TEST_F(SettingsTest, MergeReplacesOnlyTheIndicesTheFileReaches) {
    Settings s;
    s["keys@0"] = "a";
    s["keys@1"] = "b";
    s["keys@2"] = "c";
    s["keys@3"] = "d";
    s["other"] = 1;
    const std::string file = write("m.conf", "keys x y\n");

    ASSERT_TRUE(s.load(file, true));
    expectValue(s, "keys@0", "x");
    expectValue(s, "keys@1", "y");
    expectValue(s, "keys@2", "c");
    expectValue(s, "keys@3", "d");
    expectValue(s, "other", "1");

    ASSERT_TRUE(s.load(file, false));
    EXPECT_FALSE(s.exists("keys@2"));
    EXPECT_FALSE(s.exists("other"));
    expectValue(s, "keys", "x");
}

TEST_F(SettingsTest, UnreadableFilesLeaveTheStoreAlone) {
    Settings s;
    s["kept"] = 3;
    EXPECT_FALSE(s.load(path("missing.conf"), false));
    fs::create_directories(path("folder.conf"));
    EXPECT_FALSE(s.load(path("folder.conf"), false));
    expectValue(s, "kept", "3");

    // Read only so far: an endless device is refused like any other unreadable file.
    fs::create_symlink("/dev/zero", path("endless.conf"));
    EXPECT_FALSE(s.load(path("endless.conf"), false));
    expectValue(s, "kept", "3");

    // The game's files are a few KiB: 256 KiB load, one byte more is no settings file (a
    // file of 4 MiB of values cost 20 s and 300 MB).
    std::string most;
    for (int i = 0; most.size() < (std::size_t(256) << 10); ++i) {
        most += "k" + std::to_string(i % 1000) + " " + std::to_string(i) + "\n";
    }
    most.resize(std::size_t(256) << 10, ' ');
    EXPECT_FALSE(s.load(write("over.conf", most + "x"), false));
    expectValue(s, "kept", "3");
    EXPECT_TRUE(s.load(write("most.conf", most), false));
    EXPECT_TRUE(s.exists("k999"));

    EXPECT_TRUE(s.load(write("empty.conf", ""), false));
    EXPECT_FALSE(s.exists("kept"));
}

TEST_F(SettingsTest, SavesSortedNamesWithTheirValues) {
    Settings s;
    s["zeta"] = 2;
    s["alpha@0"] = "one two";
    s["alpha@1"] = "tab\there";
    s["alpha@2"] = "plain";
    s["gap@0"] = "";
    s["gap@1"] = "after";
    s["holed@1"] = "unreached";
    s["new"];
    ASSERT_TRUE(s.save(path("out.conf")));
    EXPECT_EQ(read("out.conf"),
              "alpha  \"one two\" \"tab\there\" plain\n"
              "gap   after\n"
              "holed \n"
              "new  \n"
              "zeta  2\n");
    EXPECT_FALSE(temporaryLeft());

    // The empty value is written bare, so the values behind it move down on reloading.
    Settings back;
    ASSERT_TRUE(back.load(path("out.conf"), false));
    expectValue(back, "alpha@0", "one two");
    expectValue(back, "alpha@1", "tab\there");
    expectValue(back, "alpha@2", "plain");
    expectValue(back, "gap@0", "after");
    EXPECT_FALSE(back.exists("gap@1"));
    expectValue(back, "zeta", "2");
}

TEST_F(SettingsTest, NamesHoldingAnAtSignSaveUnderTheirBaseName) {
    Settings s;
    ASSERT_TRUE(s.load(write("at.conf", "a@b 5\n"), false));
    expectValue(s, "a@b", "5");
    expectValue(s, "a@b@0", "5");
    ASSERT_TRUE(s.save(path("at.out")));
    EXPECT_EQ(read("at.out"), "a \na@b  5\n");
}

TEST_F(SettingsTest, SavesReadBackToTheSameKeysOrAreRefused) {
    struct Case {
        std::string file;  // loaded first
        std::string key;   // then set to text
        std::string text;
        bool saved;
    };
    const Case cases[] = {
        {"", "a b", "1", true},
        {"", "note", "two\nlines", false},
        {"", "say", "a \"word\"", false},
        {"", "#hidden", "1", false},
        {"", "@0", "1", false},
        {"", "odd@name", "5", false},           // under no name a line could have
        {"x@0 5\n", "x@1", "6", true},           // "x@0" is also value 0 of x
        {"x@0 5\n", "x@0", "6", false},          // ... and then not the first value of "x@0"
        {"a@0@0 7\n", "other", "1", false},      // grew a new key on every save and load
        {"a@b 5\n", "a@b@1", "6", true},
    };
    for (const Case& c : cases) {
        Settings s;
        ASSERT_TRUE(s.load(write("in.conf", c.file), false));
        s[c.key] = c.text;
        write("out.conf", "old\n");
        EXPECT_EQ(s.save(path("out.conf")), c.saved) << c.key;
        if (!c.saved) {
            EXPECT_EQ(read("out.conf"), "old\n") << c.key;
            continue;
        }
        Settings back;
        ASSERT_TRUE(back.load(path("out.conf"), false));
        expectValue(back, c.key, c.text);
        ASSERT_TRUE(back.save(path("again.conf")));
        EXPECT_EQ(read("again.conf"), read("out.conf")) << c.key;
    }
    EXPECT_EQ(read("again.conf"), "a \na@b  5 6\n");
}

TEST_F(SettingsTest, SavingThroughALinkKeepsTheLinkAndWritesItsTarget) {
    const std::string target = write("real.conf", "speed 2\n");
    fs::create_symlink("real.conf", path("link.conf"));
    Settings s;
    ASSERT_TRUE(s.load(path("link.conf"), false));
    s["speed"] = 5;
    ASSERT_TRUE(s.save(path("link.conf")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(path("link.conf"))));
    EXPECT_EQ(read("real.conf"), "speed  5\n");
    EXPECT_FALSE(temporaryLeft());
}

TEST_F(SettingsTest, AFailedSaveKeepsThePreviousFileAndNoSaveWritesThroughWhatStandsBesideIt) {
    Settings s;
    s["speed"] = 4;
    EXPECT_FALSE(s.save(path("no/such/folder/out.conf")));

    // Whatever stands where older versions put their temporary (a folder, a link to another
    // file, a device node: the null device's numbers, made here; root only) is neither written
    // through nor touched: a save's temporary is a new file of its own.
    const std::string old = write("user.conf", "speed 2\n");
    const std::string temporary = path("user.conf.tmp");
    write("other.conf", "other\n");
    const std::function<bool()> inTheWay[] = {
        [&] { return fs::create_directory(temporary); },
        [&] { return fs::create_symlink("other.conf", temporary), true; },
        [&] { return mknod(temporary.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
    };
    for (const auto& make : inTheWay) {
        if (!make()) {
            continue;
        }
        const fs::file_type type = fs::symlink_status(temporary).type();
        std::string reason;
        EXPECT_TRUE(s.save(old, &reason)) << reason;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(old)));
        EXPECT_EQ(read("user.conf"), "speed  4\n");
        EXPECT_EQ(read("other.conf"), "other\n");
        EXPECT_EQ(fs::symlink_status(temporary).type(), type);
        fs::remove(temporary);
        write("user.conf", "speed 2\n");
    }
    // A full disk is a tmpfs of the game's own in tests/game/saving_test.cpp.
}
