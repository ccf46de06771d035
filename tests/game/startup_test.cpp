#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine2d/image.h"
#include "engine2d/sprite.h"
#include "engine2d/timelinesprite.h"
#include "platform/fsound.h"
#include "tests/game/game_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/png_writer.h"
#include "world/mesh.h"

namespace {

using Vortel::Game;
using StartupGL = testgame::GameFixture;

// Loading frames until the loader is done and the main menu is entered, or a time-out.
void loadToTheMenu(testgame::TestGame& game) {
    for (int i = 0; i < 20000 && game._state == Game::STATE_LOADING; ++i) {
        game.runFrame(0.001);
    }
}

// Lets go of whoever waits to read a named pipe, as a writer that comes and goes at once:
// a start that would wait on the pipe for ever then reads it as empty and goes on, so the
// test ends and its expectations tell. A writer opens without waiting only while a reader
// holds the pipe, so one that opens found the start waiting on it (the game looks at what
// is there before it opens anything).
class PipeReleaser {
public:
    explicit PipeReleaser(const std::string& path)
        : _thread([this, path] {
              while (!_stop.load()) {
                  const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (writer >= 0) {
                      _released.store(true);
                      close(writer);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~PipeReleaser() {
        _stop.store(true);
        _thread.join();
    }
    PipeReleaser(const PipeReleaser&) = delete;
    PipeReleaser& operator=(const PipeReleaser&) = delete;

    bool released() const { return _released.load(); }

private:
    std::atomic<bool> _stop{false};
    std::atomic<bool> _released{false};
    std::thread _thread;
};

void writeSettings(const std::string& text) {
    std::ofstream("data/vasp.conf") << text;
}

TEST_F(StartupGL, SplashesStepOnByKeysAndClicksThenLoadingEndsInTheMenu) {
    testgame::TestGame& g = game();
    g.init();
    frame(0.02);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_LUMISK);
    EXPECT_DOUBLE_EQ(g._stateTime, 0.0);

    EXPECT_TRUE(send(WM_KEYDOWN, 'X', KEY_WAS_DOWN));
    EXPECT_EQ(g._state, Game::STATE_SPLASH_ZINDLE);
    EXPECT_FALSE(send(g._wmKeyDownDI, 30, 0));
    EXPECT_EQ(g._state, Game::STATE_SPLASH_ZINDLE);
    EXPECT_TRUE(send(WM_LBUTTONDOWN, 0, point(5, 5)));
    EXPECT_EQ(g._state, Game::STATE_SPLASH_QUENDLE);
    EXPECT_TRUE(send(WM_KEYDOWN, VK_SPACE, 0));
    EXPECT_EQ(g._state, Game::STATE_LOADING);

    EXPECT_FALSE(send(WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_FALSE(send(WM_LBUTTONDOWN, 0, point(5, 5)));
    EXPECT_EQ(g._state, Game::STATE_LOADING);
    loadToTheMenu(g);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    EXPECT_EQ(g._loadingLog.str(),
              "Loading meshes...OK\nLoading sounds...OK\nLoading bitmaps...OK\nLoading skybox...OK\nStarting...");

    // What the loader made, placed as the screens expect.
    EXPECT_EQ(g._rockerMeshes[0], g._rockerMeshes[1]);
    EXPECT_EQ(g._rockerMeshes[1], g._rockerMeshes[2]);
    EXPECT_EQ(g._chaserMesh, g._playerMesh);
    EXPECT_NE(g._bulletMesh, nullptr);
    EXPECT_FLOAT_EQ(g._splashZindleSprite->pos().x, 400.0f);
    EXPECT_FLOAT_EQ(g._splashQuendleSprite->pos().y, 330.0f);
    EXPECT_FLOAT_EQ(g._pausedSprite->pos().x, 760.0f);
    EXPECT_FLOAT_EQ(g._pausedSprite->pos().y, 560.0f);
    EXPECT_FLOAT_EQ(g._titleLogo->pos().x, -5.0f);
    EXPECT_FLOAT_EQ(g._titleLogo->pos().y, 260.0f);
    EXPECT_FLOAT_EQ(g._titleLogo->_scale.x, 0.7f);
    for (const Stelkor::Image* image :
         {g._titleLogoImage.get(), g._highScoresTitleImage.get(), g._pausedImage.get(), g._adviceArrowImage.get(),
          g._aimCursorImage.get(), g._sliderBarImage.get(), g._sliderHandleImage.get(), g._makerLogoSmallImage.get(),
          g._partnerLogoSmallImage.get()}) {
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->displayList(), 0u);
    }

    // The pause sign blinks once a second.
    g._pausedSprite->animate(0.45);
    EXPECT_NEAR(g._pausedSprite->_color.a, 0.5f, 1e-5);
    g._pausedSprite->animate(0.25);
    EXPECT_NEAR(g._pausedSprite->_color.a, 0.0f, 1e-5);

    // The menu is entered once: the next frames stay there.
    frame(0.02);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
}

TEST_F(StartupGL, SplashesTimeOutAfterFiveFourAndFiveSeconds) {
    testgame::TestGame& g = game();
    g.init();
    frame(0.0);
    frame(5.0);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_LUMISK) << "exactly 5 s still shows the first splash";
    frame(0.01);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_ZINDLE);
    // The picture is drawn in the frame of the change as well, over the white.
    const std::vector<unsigned char> changeFrame = testsupport::readScreen();
    EXPECT_LT(testsupport::pixelsOf(changeFrame, 255, 255, 255), 800 * 600);
    EXPECT_LT(testsupport::pixelsOf(changeFrame, 0, 0, 0), 800 * 600 / 2);

    // The change was made in a frame handler, where the dispatch does not restart the clock:
    // the second splash restarts it itself.
    EXPECT_DOUBLE_EQ(g._stateTime, 0.0);
    frame(0.0);
    frame(4.0);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_ZINDLE);
    // The logo has faded out by 4 s: only black is left.
    EXPECT_EQ(testsupport::pixelsOf(testsupport::readScreen(), 0, 0, 0), 800 * 600);
    frame(0.01);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_QUENDLE);
    frame(5.0);
    EXPECT_EQ(g._state, Game::STATE_SPLASH_QUENDLE);
    frame(0.01);
    EXPECT_EQ(g._state, Game::STATE_LOADING);
}

TEST_F(StartupGL, TheLastSplashSetsTheMasterVolumeAskedForWithoutAddingTheSetting) {
    const struct {
        const char* settings;
        int masterVolume;
    } cases[] = {{"masterVolume 5\n", 127}, {"masterVolume 10\n", 255}, {"fullscreen 0\n", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        writeSettings(c.settings);
        testgame::TestGame& g = game();
        g.init();
        g.splashQuendle();
        EXPECT_EQ(g._state, Game::STATE_SPLASH_QUENDLE);
        EXPECT_EQ(FSOUND_GetSFXMasterVolume(), c.masterVolume);
        EXPECT_EQ(g._settings.exists("masterVolume"), c.masterVolume != 0);
        destroyGame();
    }
}

TEST_F(StartupGL, AMissingMeshStopsLoadingWithItsName) {
    folder->remove("mesh/bullet.obj");
    testgame::TestGame& g = game();
    g.init();
    g.load();
    try {
        loadToTheMenu(g);
        FAIL() << "loading went on without bullet.obj";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "ResourceManager(Base) - cannot find resource file: bullet.obj");
    }
    EXPECT_FALSE(g._loaded.load());
    EXPECT_EQ(g._state, Game::STATE_LOADING);
}

TEST_F(StartupGL, ContentThatWouldShowNothingStopsTheStartWithItsName) {
    const struct {
        const char* file;
        std::string bytes;  // empty: a 1 x 1 picture
        const char* error;
    } cases[] = {
        {"mesh/shiva.obj", "", "Game::loadMeshes - mesh has no triangle to draw: shiva.obj"},
        {"mesh/shiva.obj", std::string("\x01\xfe\x80 f\x7f\x00zz\n\xc3", 11),
         "Game::loadMeshes - mesh has no triangle to draw: shiva.obj"},
        {"mesh/bullet.obj", "v 0 0 0\nv 1 0 0\nf 1 2 3\n", "Game::loadMeshes - mesh has no triangle to draw: bullet.obj"},
        {"textures/font.png", "", "Game::init - font strip has fewer glyphs than its characters: textures/font.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        folder.reset();  // back in the test's own folder before a fresh game folder is made
        folder = std::make_unique<testgame::GameFolder>();
        folder->remove(c.file);
        if (std::string(c.file).find(".png") != std::string::npos) {
            testsupport::writePng(c.file, testsupport::RgbaPicture(1, 1));
        } else {
            std::ofstream(c.file, std::ios::binary) << c.bytes;
        }
        testgame::TestGame& g = game();
        try {
            g.init();
            g.load();
            loadToTheMenu(g);
            ADD_FAILURE() << "started";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
        EXPECT_FALSE(g._loaded.load());
        destroyGame();
    }
}

// Each bad file is told on standard error, by name and why, in one line: where an error stops
// the start, just before its own words, which name no file; elsewhere the game goes on. A
// named pipe in a file's place is never waited on; a file in a folder's place is named, not
// taken for nothing there.
TEST_F(StartupGL, BadFilesAreToldByNameAndWhy) {
    const auto faces = [](std::size_t count) {
        std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
        for (std::size_t i = 0; i < count; ++i) {
            text += "f 1 2 3\n";
        }
        return text;
    };
    const std::string pipe = "a named pipe, not a regular file";
    const std::string goesOn = "; the game goes on without it";
    const std::string notSaved = goesOn + " and does not save over it";
    enum Kind { BYTES, UNREADABLE, PIPE };
    const struct {
        const char* file;
        Kind kind;
        std::string bytes;
        std::size_t size;  // grown to this size with zero bytes, where not 0
        std::string told;
        const char* error;  // null: the game goes on to its menu
    } cases[] = {
        {"mesh/shiva.obj", BYTES, faces(1), Vortel::Mesh::MAX_FILE_BYTES + 1,
         "Cannot load mesh file mesh/shiva.obj: larger than 4 MiB", "cannot open mesh file"},
        {"mesh/flare.obj", BYTES, faces(Vortel::Mesh::MAX_FACES + 1), 0,
         "Cannot load mesh file mesh/flare.obj: more than 65536 faces", "cannot open mesh file"},
        {"mesh/gun1.obj", UNREADABLE, "", 0, "Cannot load mesh file mesh/gun1.obj: Input/output error",
         "cannot open mesh file"},
        {"sounds/fx/lazer.wav", BYTES, "not a sound\n", 0,
         "Cannot use the sound file sounds/fx/lazer.wav: not a RIFF/WAVE file" + goesOn, nullptr},
        {"sounds/sound.conf", BYTES, "# the sounds come later\n", 0,
         "The sound list sounds/sound.conf names none of the game's sounds: the game runs silent", nullptr},
        {"data/vasp.conf", PIPE, "", 0, "Cannot read data/vasp.conf: " + pipe + notSaved, nullptr},
        {"data/color", PIPE, "", 0, "Cannot read data/color: " + pipe + goesOn, nullptr},
        {"data/speed", PIPE, "", 0, "Cannot read data/speed: " + pipe + goesOn, nullptr},
        {"data/scores", PIPE, "", 0, "Cannot read data/scores: " + pipe + notSaved, nullptr},
        {"sounds/sound.conf", PIPE, "", 0, "Cannot read the sound list sounds/sound.conf: the game runs silent",
         nullptr},
        {"sounds/fx/lazer.wav", PIPE, "", 0, "Cannot use the sound file sounds/fx/lazer.wav: " + pipe + goesOn,
         nullptr},
        {"data/english_mf.txt", PIPE, "", 0, "Cannot read the word file data/english_mf.txt: " + pipe,
         "NameGenerator::buildStats - cannot open requested source file"},
        {"sounds/sound.conf", BYTES, "lazer fx/lazer.wav/inside.wav\n", 0,
         "Cannot use the sound file sounds/fx/lazer.wav/inside.wav: its folder sounds/fx/lazer.wav is a file" +
             goesOn,
         nullptr},
        {"mesh/gun1.obj", PIPE, "", 0, "Cannot read resource file mesh/gun1.obj: " + pipe,
         "ResourceManager(Base) - is not a file: gun1.obj"},
        {"textures/font.png", PIPE, "", 0, "Cannot load picture file textures/font.png: " + pipe,
         "cannot open file X 'textures/font.png'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        folder.reset();
        folder = std::make_unique<testgame::GameFolder>();
        folder->remove(c.file);
        if (c.kind == UNREADABLE) {
            // Memory the process has not mapped: the read fails with an I/O error.
            std::filesystem::create_symlink("/proc/self/mem", c.file);
        } else if (c.kind == PIPE) {
            ASSERT_EQ(mkfifo(c.file, 0644), 0);
        } else {
            std::ofstream(c.file, std::ios::binary) << c.bytes;
        }
        if (c.size != 0) {
            std::filesystem::resize_file(c.file, c.size);
        }
        std::optional<PipeReleaser> releaser;
        if (c.kind == PIPE) {
            releaser.emplace(c.file);
        }
        std::string error;
        int state = -1;
        testing::internal::CaptureStderr();
        try {
            testgame::TestGame& g = game();
            state = g._state;
            g.init();
            g.load();
            loadToTheMenu(g);
            state = g._state;
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.told.empty() ? "" : c.told + "\n");
        EXPECT_EQ(error, c.error != nullptr ? c.error : "");
        EXPECT_EQ(state == Game::STATE_MAIN_MENU, c.error == nullptr);
        EXPECT_FALSE(releaser && releaser->released()) << "the start waited on the pipe";
        destroyGame();
    }
}

TEST_F(StartupGL, LoadsWithoutTheSoundListAndCanGoWhileLoading) {
    folder->remove("sounds/sound.conf");
    testgame::TestGame& g = game();
    g.init();
    g.load();
    loadToTheMenu(g);
    EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
    destroyGame();

    // Torn down at once, with the loader still at work.
    testgame::TestGame& again = game();
    again.init();
    again.load();
    destroyGame();
}

}  // namespace
