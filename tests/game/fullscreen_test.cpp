#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>
#include <memory>
#include <string>

#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/textsprite.h"
#include "platform/settings.h"
#include "tests/game/game_fixture.h"

namespace {

using Vortel::Game;

// The real game on a display that can be told to refuse a switch, or to have no mode of the
// picture's size (the offscreen desktop is 1024 x 768, so full screen then scales).
class DisplayGame : public testgame::TestGame {
public:
    DisplayGame()
        : TestGame(std::make_unique<testsupport::FakeEventSource>(), std::make_unique<testsupport::FakeDevice>()) {}

    bool failDisplaySwitch = false;
    bool noPictureSizedMode = false;

protected:
    bool switchDisplayMode(bool on) override { return !failDisplaySwitch && TestGame::switchDisplayMode(on); }
    bool switchToPictureSizedMode() override {
        return !noPictureSizedMode && TestGame::switchToPictureSizedMode();
    }
};

class FullScreenGL : public testgame::GameFixture {
protected:
    void TearDown() override {
        _display.reset();
        GameFixture::TearDown();
    }

    // Started with these settings, splash screens skipped, up to its main menu.
    DisplayGame& startWith(const std::string& settings, bool failDisplaySwitch, bool noPictureSizedMode) {
        std::ofstream("data/vasp.conf") << settings;
        _display = std::make_unique<DisplayGame>();
        DisplayGame& g = *_display;
        g.failDisplaySwitch = failDisplaySwitch;
        g.noPictureSizedMode = noPictureSizedMode;
        g.init();
        g.load();
        for (int i = 0; i < 20000 && g._state == Game::STATE_LOADING; ++i) {
            g.runFrame(0.001);
        }
        EXPECT_EQ(g._state, Game::STATE_MAIN_MENU);
        return g;
    }

    static int count(const std::string& text, const std::string& part) {
        int found = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++found;
        }
        return found;
    }

    std::unique_ptr<DisplayGame> _display;
};

// A saved "fullscreen 1" on every kind of display: the game reaches its menu, the keys after
// it are applied, the file keeps the wish for the next start, and only a display that gives no
// full screen at all is reported, once, though start-up and loading both apply the key.
TEST_F(FullScreenGL, ASavedFullScreenNeverKeepsTheGameFromStarting) {
    const struct {
        const char* display;
        bool failDisplaySwitch;
        bool noPictureSizedMode;
        bool fullscreen;
        float scale;
        int reports;
    } cases[] = {
        {"an 800 x 600 mode", false, false, true, 1.0f, 0},
        {"only the desktop's 1024 x 768", false, true, true, 1.28f, 0},
        {"no full screen at all", true, false, false, 1.0f, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.display);
        testing::internal::CaptureStderr();
        DisplayGame& g = startWith("fullscreen 1\nfov 60\ncockpitHud 0\n", c.failDisplaySwitch, c.noPictureSizedMode);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(g.fullscreen(), c.fullscreen);
        EXPECT_FLOAT_EQ(g.picture().scale(), c.scale);
        EXPECT_EQ(count(err, "Cannot change to fullscreen: the game goes on in a window\n"), c.reports) << err;
        // The menus show it too, once the main menu is up.
        EXPECT_EQ(g._notice.text(), c.reports == 0 ? "" : "FULL SCREEN NOT AVAILABLE - PLAYING IN A WINDOW\n");
        EXPECT_FLOAT_EQ(g._fov, 60.0f);
        EXPECT_FALSE(g._cockpitHud);
        Settings saved;
        ASSERT_TRUE(saved.load("data/vasp.conf", false));
        EXPECT_EQ(saved["fullscreen"].text, "1");
        Stelkor::SimpleMenu::Item& mode = *g._menuDisplay->item("DISPLAY MODE");
        EXPECT_EQ(mode.values[mode.selectedValue], c.fullscreen ? "FULLSCREEN" : "WINDOWED");
        _display.reset();
    }
}

// Full screen scaled 1.28 times: a click where the player sees a menu item chooses it, and
// mouse motion moves the aim as far over the picture as it would in the window.
TEST_F(FullScreenGL, InScaledFullScreenTheMouseWorksOnThePictureAsSeen) {
    DisplayGame& g = startWith("fullscreen 1\n", false, true);
    ASSERT_FLOAT_EQ(g.picture().scale(), 1.28f);
    for (int i = 0; i < 100; ++i) {
        g.runFrame(0.02);  // the bar rises to its height, with the menu on it
    }
    const Quib::AABB2<float> box = g._menuMain->item("HIGH SCORES")->normal->boundingBox();
    // The item's middle in window pixels (y downward), then where the screen shows it.
    const int x = static_cast<int>((box.min.x + box.max.x) / 2);
    const int y = 600 - static_cast<int>((box.min.y + box.max.y) / 2);
    const LPARAM seen = MAKELPARAM(static_cast<int>(x * 1.28f), static_cast<int>(y * 1.28f));
    SendMessage(g.hwnd(), WM_MOUSEMOVE, 0, seen);
    EXPECT_NEAR(g._cursorX, x, 1);
    EXPECT_NEAR(g._cursorY, y, 1);
    SendMessage(g.hwnd(), WM_LBUTTONDOWN, 0, seen);
    SendMessage(g.hwnd(), WM_LBUTTONUP, 0, seen);
    g.runFrame(0.01);
    EXPECT_EQ(g._state, Game::STATE_VIEW_SCORES);

    g.startGame();
    g.runFrame(0.01);
    Stelkor::Sprite& aim = *g._aimCursorSprite;
    const struct {
        bool fullscreen;
        int handMoves;
    } modes[] = {{true, 128}, {false, 100}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.fullscreen ? "scaled" : "windowed");
        g.fullscreen(m.fullscreen);
        aim.pos(400.0f, 300.0f);
        g.device.mouse.x = m.handMoves;
        g.runFrame(0.01);
        EXPECT_FLOAT_EQ(aim.pos().x, 400.0f + 100.0f * g._mouseSensitivity);
    }
}

}  // namespace
