#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

#include "actors/namegenerator.h"
#include "platform/crand.h"

namespace {

using Successors = std::map<char, unsigned int>;

// A word file written into the test's working folder, removed again afterwards.
class WordFile {
public:
    WordFile(const std::string& name, const std::string& text) : _path("namegenerator_" + name + ".txt") {
        std::ofstream(_path, std::ios::binary) << text;
    }
    ~WordFile() { std::remove(_path.c_str()); }
    const std::string& path() const { return _path; }

private:
    std::string _path;
};

// The repository root: from the test environment, else from where this file was compiled.
std::string sourcePath(const std::string& relative) {
    const char* root = std::getenv("QUELLARIS_SOURCE_DIR");
    if (root != nullptr && *root != '\0') {
        return std::string(root) + "/" + relative;
    }
    const std::string thisFile = __FILE__;
    const std::string::size_type tests = thisFile.rfind("tests/actors/");
    return (tests == std::string::npos ? std::string("./") : thisFile.substr(0, tests)) + relative;
}

}  // namespace

TEST(NameGeneratorTest, CountsWhatFollowsEachLetter) {
    const WordFile file("anna_bob", "anna bob");
    const NameGenerator generator(file.path(), 1);

    const auto& stats = generator.stats();
    ASSERT_EQ(stats.size(), 5u);
    EXPECT_EQ(stats.at(" "), Successors({{'b', 1}}));
    EXPECT_EQ(stats.at("a"), Successors({{'n', 1}, {' ', 1}}));
    EXPECT_EQ(stats.at("n"), Successors({{'n', 1}, {'a', 1}}));
    EXPECT_EQ(stats.at("b"), Successors({{'o', 1}}));  // the b that ends the file is not counted
    EXPECT_EQ(stats.at("o"), Successors({{'b', 1}}));
    EXPECT_EQ(generator.tokenCounts(),
              (std::map<std::string, unsigned int>({{" ", 1}, {"a", 2}, {"b", 1}, {"n", 2}, {"o", 1}})));
    EXPECT_EQ(generator.startTokens(), std::vector<std::string>({" "}));

    testing::internal::CaptureStdout();
    generator.printStats();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "  (1)\n b (1)\na (2)\n   (1) n (1)\nb (1)\n o (1)\nn (2)\n a (1) n (1)\no (1)\n b (1)\n");
}

TEST(NameGeneratorTest, BlanksLineEndsAndCarriageReturnsAllReadAsOneSpace) {
    const WordFile lf("lf", "anna\nbob\ncid\n");
    const WordFile crlf("crlf", "anna\r\nbob\r\ncid\r\n");
    const WordFile spaced("spaced", "anna  \n\n  bob \r\n cid\n\n");
    const NameGenerator fromLf(lf.path(), 1);
    const NameGenerator fromCrlf(crlf.path(), 1);
    const NameGenerator fromSpaced(spaced.path(), 1);
    EXPECT_EQ(fromCrlf.stats(), fromLf.stats());
    EXPECT_EQ(fromSpaced.stats(), fromLf.stats());
    EXPECT_EQ(fromLf.stats().at(" "), Successors({{'b', 1}, {'c', 1}}));

    const WordFile leading("leading", "  \n anna bob");
    const NameGenerator fromLeading(leading.path(), 1);
    EXPECT_EQ(fromLeading.stats().at(" "), Successors({{'a', 1}, {'b', 1}}));
    for (int i = 0; i < 200; ++i) {
        const std::string name = fromLeading.generate();
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find(' '), std::string::npos);
    }
}

TEST(NameGeneratorTest, ClampsTheOrderAndReportsAMissingFile) {
    const WordFile file("order", "anna bob");
    EXPECT_EQ(NameGenerator(file.path(), 0).order(), 1);
    EXPECT_EQ(NameGenerator(file.path(), -3).order(), 1);
    EXPECT_EQ(NameGenerator(file.path(), 9).order(), 5);
    EXPECT_EQ(NameGenerator(file.path(), 3).sourceFile(), file.path());

    // A folder opens but cannot be read: it must read as an empty file, not spin forever.
    const NameGenerator folder(".", 1);
    EXPECT_TRUE(folder.stats().empty());
    EXPECT_EQ(folder.generate(3, 16), "Error");

    // The game's list is 3 KiB: a word file of 1 MiB is read, one byte more is not one.
    std::string words;
    while (words.size() < (std::size_t(1) << 20)) {
        words += "abel ";
    }
    words.resize(std::size_t(1) << 20);
    const WordFile most("most", words);
    EXPECT_EQ(NameGenerator(most.path(), 1).stats().size(), 5u);  // a, b, e, l and the blank
    const WordFile over("over", words + "x");

    // The error's own text names no file and no reason: a line before it says both.
    const struct {
        std::string path;
        std::string why;
    } unreadable[] = {
        {"namegenerator_no_such_file.txt", "No such file or directory"},
        {"namegenerator_no_folder/words.txt", "its folder namegenerator_no_folder is missing"},
        {"/dev/zero", "a device, not a regular file"},  // endless
        {over.path(), "larger than 1 MiB"},
    };
    for (const auto& u : unreadable) {
        SCOPED_TRACE(u.path);
        std::string error;
        testing::internal::CaptureStderr();
        try {
            NameGenerator refused(u.path, 1);
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot read the word file " + u.path + ": " + u.why + "\n");
        EXPECT_EQ(error, "NameGenerator::buildStats - cannot open requested source file");
    }
}

TEST(NameGeneratorTest, LongerTokensStartAtEachWordAndEndAtDeadEnds) {
    const WordFile file("order2", "ab cd ef");
    const NameGenerator generator(file.path(), 2);
    EXPECT_EQ(generator.stats().at("ab"), Successors({{' ', 1}}));
    EXPECT_EQ(generator.stats().at(" c"), Successors({{'d', 1}}));
    EXPECT_EQ(generator.stats().at("cd"), Successors({{' ', 1}}));
    EXPECT_EQ(generator.stats().at(" e"), Successors({{'f', 1}}));
    EXPECT_EQ(generator.stats().count("ef"), 0u);
    EXPECT_EQ(generator.startTokens(), std::vector<std::string>({" c", " e"}));

    // "ef" ends the file and was never followed by anything: the word ends there.
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        names.insert(generator.generate());
    }
    EXPECT_EQ(names, std::set<std::string>({"cd", "ef"}));
}

TEST(NameGeneratorTest, StatisticsThatCannotEndAWordStillGiveABoundedName) {
    const WordFile noWords("no_words", "bob");
    const NameGenerator silent(noWords.path(), 1);
    EXPECT_TRUE(silent.startTokens().empty());
    EXPECT_EQ(silent.generate(), "Error");
    EXPECT_EQ(silent.generate(3, 16), "Error");

    // b and o only ever follow each other: no walk reaches a space.
    const WordFile loop("loop", " bob");
    const NameGenerator looping(loop.path(), 1);
    const std::string endless = looping.generate();
    EXPECT_GE(endless.size(), 16u);
    EXPECT_LE(endless.size(), 64u);
    EXPECT_EQ(looping.generate(3, 16), "bobobobobobobobo");

    const WordFile shortWords("short", "a b a b ");
    EXPECT_EQ(NameGenerator(shortWords.path(), 1).generate(3, 16), "Error");

    // The fallback keeps to the asked lengths too.
    const WordFile twoLetters("two_letters", "ab cd ef gh");
    const NameGenerator pairs(twoLetters.path(), 1);
    EXPECT_EQ(pairs.generate(6, 8), "ErrorE");
    EXPECT_EQ(pairs.generate(3, 4), "Erro");
    EXPECT_EQ(pairs.generate(0, 0), "");
}

TEST(NameGeneratorTest, RandomIndexNeverPassesItsUpperBound) {
    const WordFile file("randi", "anna bob");
    const NameGenerator generator(file.path(), 1);

    // Find where the sequence draws its top value, then let randi take exactly that draw.
    crand::srand(7);
    int before = 0;
    while (crand::rand() != crand::CRAND_MAX) {
        ++before;
    }
    // Spans whose top draw scales to one past the end (the smallest is 513), and one where
    // it lands on the end itself.
    for (const int span : {3, 513, 515, 519}) {
        crand::srand(7);
        for (int i = 0; i < before; ++i) {
            const int value = generator.randi(10, 10 + span - 1);
            ASSERT_GE(value, 10) << span;
            ASSERT_LE(value, 10 + span - 1) << span;
        }
        EXPECT_EQ(generator.randi(10, 10 + span - 1), 10 + span - 1) << span;
    }
    EXPECT_EQ(generator.randi(4, 4), 4);
}

TEST(NameGeneratorTest, GameWordListGivesNamesWithinTheAskedLengths) {
    const NameGenerator generator(sourcePath("assets/data/english_mf.txt"), 1);
    ASSERT_EQ(generator.startTokens(), std::vector<std::string>({" "}));
    std::set<std::string> names;
    for (int i = 0; i < 10000; ++i) {
        const std::string name = generator.generate(3, 16);
        ASSERT_GE(name.size(), 3u);
        ASSERT_LE(name.size(), 16u);
        names.insert(name);
    }
    EXPECT_GT(names.size(), 1000u);
}
