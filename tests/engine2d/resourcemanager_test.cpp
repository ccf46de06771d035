#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <list>
#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "engine2d/bitmapmanager.h"
#include "engine2d/resourcemanager.h"
#include "tests/support/draw_recorder.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/png_writer.h"

using Stelkor::BitmapManager;
using Stelkor::ResourceManager;

namespace {

// Makes each object from the file's first line and counts how often it was asked to.
class TextManager : public ResourceManager<std::string> {
public:
    int made = 0;

protected:
    std::string* createObject(const std::string& path) override {
        ++made;
        std::ifstream in(path);
        std::string line;
        std::getline(in, line);
        if (line == "bad") {
            throw std::runtime_error("bad file " + path);
        }
        return new std::string(line);
    }
};

void writeText(const std::string& path, const std::string& text) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder);
    }
    std::ofstream(path) << text << '\n';
}

}  // namespace

TEST(ResourceManager, NormalisesSearchFoldersAndSkipsBlanksAndRepeats) {
    TextManager m;
    m.addPath(" textures\\\\ ");
    m.addPath("textures/");
    m.addPath("textures");
    m.addPath("");
    m.addPath(" \t\r\n");
    m.addPath("\\\\");
    m.addPath("resources\\images");
    EXPECT_EQ(m.paths(), (std::list<std::string>{"", "textures/", "resources/images/"}));

    testsupport::DrawRecorder renderer;
    BitmapManager bitmaps(renderer);
    EXPECT_EQ(bitmaps.paths(), (std::list<std::string>{"", "images/", "bitmaps/", "resources/",
                                                       "resources/images/", "resources/bitmaps/"}));
}

TEST(ResourceManager, LoadsOnceFromTheFirstFolderThatHasTheFile) {
    writeText("rm_first/thing.txt", "under first");
    writeText("rm_second/thing.txt", "under second");
    writeText("rm_second/other.txt", "other");
    writeText("rm_here.txt", "here");
    writeText("rm_second/rm_here.txt", "not here");
    writeText("rm_second/folder.txt", "file behind a folder");
    std::filesystem::create_directories("rm_first/folder.txt");

    TextManager m;
    m.addPath("rm_first");
    m.addPath("rm_second");
    std::string* thing = m.get("thing.txt");
    EXPECT_EQ(*thing, "under first");
    EXPECT_EQ(m.get("thing.txt"), thing);
    EXPECT_EQ(*m.get("other.txt"), "other");
    EXPECT_EQ(*m.get("rm_here.txt"), "here");  // the working directory comes first
    EXPECT_EQ(*m.get("folder.txt"), "file behind a folder");  // a folder is not the file
    EXPECT_EQ(m.made, 4);
    EXPECT_EQ(m.getEntry("thing.txt")->path, "rm_first/");

    m.purge();
    EXPECT_TRUE(m.entries().empty());
    m.get("thing.txt");
    EXPECT_EQ(m.made, 5);
}

TEST(ResourceManager, MissingOrBrokenFilesAreReportedAndNotCached) {
    writeText("rm_bad.txt", "bad");
    std::filesystem::remove_all("rm_where");
    std::filesystem::create_directories("rm_where/rm_folder.txt");
    ASSERT_EQ(mkfifo("rm_where/rm_fifo.txt", 0644), 0);
    ASSERT_EQ(mknod("rm_where/rm_device.txt", S_IFCHR | 0644, makedev(1, 3)) == 0 || errno == EPERM, true);
    writeText("rm_where/rm_locked.txt", "locked");
    std::filesystem::permissions("rm_where/rm_locked.txt", std::filesystem::perms::none);
    // Root reads any file, so the locked one is unreadable only to others.
    std::FILE* const probe = std::fopen("rm_where/rm_locked.txt", "rb");
    const bool lockedReadable = probe != nullptr;
    if (probe != nullptr) {
        std::fclose(probe);
    }
    const struct {
        const char* name;
        const char* error;
    } cases[] = {
        {"rm_missing.txt", "ResourceManager(Base) - cannot find resource file: rm_missing.txt"},
        {"rm_folder.txt", "ResourceManager(Base) - is not a file: rm_folder.txt"},
        {"rm_fifo.txt", "ResourceManager(Base) - is not a file: rm_fifo.txt"},
        {"rm_device.txt", "ResourceManager(Base) - is not a file: rm_device.txt"},
        {"rm_locked.txt", "ResourceManager(Base) - cannot read resource file: rm_locked.txt"},
    };
    TextManager m;
    m.addPath("rm_where");
    for (const auto& c : cases) {
        if ((std::string(c.name) == "rm_locked.txt" && lockedReadable) ||
            (std::string(c.name) == "rm_device.txt" && !std::filesystem::exists("rm_where/rm_device.txt"))) {
            continue;
        }
        try {
            m.get(c.name);
            ADD_FAILURE() << c.name << " gave an object";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
    std::filesystem::remove_all("rm_where");
    EXPECT_THROW(m.get("rm_bad.txt"), std::runtime_error);
    EXPECT_THROW(m.get("rm_bad.txt"), std::runtime_error);
    EXPECT_EQ(m.made, 2);
    EXPECT_TRUE(m.entries().empty());

    std::string dir;
    EXPECT_FALSE(m.getFilePath("rm_missing.txt", dir));
}

TEST(BitmapManager, MakesBitmapsWithoutTexturesFromTheImageFolders) {
    std::filesystem::create_directories("images");
    testsupport::RgbaPicture picture(4, 2);
    picture.fill(1, 2, 3, 255);
    testsupport::writePng("images/bm_small.png", picture);

    testsupport::DrawRecorder renderer;
    BitmapManager m(renderer);
    Stelkor::Bitmap* bitmap = m.get("bm_small.png");
    EXPECT_EQ(bitmap->size(), Vector2<int>(4, 2));
    EXPECT_EQ(bitmap->texture(), 0u);
    EXPECT_EQ(m.getEntry("bm_small.png")->path, "images/");
}

namespace {
using BitmapManagerGL = testsupport::GlFixture;
}  // namespace

TEST_F(BitmapManagerGL, ActivatingAllTwiceMakesEachTextureOnce) {
    testsupport::RgbaPicture picture(2, 2);
    picture.fill(9, 9, 9, 255);
    testsupport::writePng("bm_one.png", picture);
    testsupport::writePng("bm_two.png", picture);

    Stelkor::Renderer2D renderer;
    BitmapManager m(renderer);
    Stelkor::Bitmap* one = m.get("bm_one.png");
    Stelkor::Bitmap* two = m.get("bm_two.png");
    m.activateAll();
    const unsigned int first = one->texture();
    EXPECT_NE(first, 0u);
    EXPECT_NE(two->texture(), 0u);
    m.activateAll();
    EXPECT_EQ(one->texture(), first);
    EXPECT_EQ(renderer.textures().size(), 2u);
}
