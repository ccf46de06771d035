#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "engine2d/timeline.h"
#include "platform/settings.h"
#include "tests/game/menu_fixture.h"

namespace {

using testmenu::itemAt;
using testmenu::labels;
using Vortel::Game;
using Stelkor::SimpleMenu;
using Sounds = std::vector<std::string>;

std::vector<std::string> actions;
void noteAction(const std::string& item, const std::string& value, void*) {
    actions.push_back(item + "=" + value);
}

class MenuInputGL : public testmenu::MenuFixture {
protected:
    // A menu of its own made current: a wrapping item, one that stops at its ends, one
    // without values and a slider item of eleven values.
    testmenu::MenuGame& gameWithTestMenu() {
        testmenu::MenuGame& g = loadedGame();
        menu = std::make_unique<SimpleMenu>(g._menuItemPrototype, g._menuItemHighlightPrototype);
        menu->lineSpacing = 30;
        menu->addItem("WRAP", true).addValue("A", true).addValue("B", false).action(&noteAction, nullptr);
        menu->addItem("STOP", false).addValue("X", false).addValue("Y", true).action(&noteAction, nullptr);
        menu->addItem("PLAIN", true).action(&noteAction, nullptr);
        menu->addItem("LEVEL", false)
            .addIntRangeValues(0, 10, 3, 1)
            .action(&noteAction, nullptr)
            .slider(*g._menuSlider);
        menu->pos(220.0f, 400.0f);
        g.setCurrentMenu(menu.get());
        actions.clear();
        g.sounds.clear();
        g.volumes.clear();
        return g;
    }

    void TearDown() override {
        if (menuGame) {
            menuGame->_currentMenu = nullptr;
        }
        menu.reset();
        MenuFixture::TearDown();
    }

    // The window point (y downward) of a menu point, and the one at the middle of an item's text.
    static LPARAM window(const Vector2<float>& p) { return point(static_cast<int>(p.x), 600 - static_cast<int>(p.y)); }
    LPARAM on(const std::string& label) {
        const Quib::AABB2<float> box = menu->item(label)->normal->boundingBox();
        return window(Vector2<float>((box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2));
    }

    bool key(int code, LPARAM flags = 0) { return sendTo(WM_KEYDOWN, static_cast<WPARAM>(code), flags); }
    bool motion(std::int32_t dx) {
        std::int32_t move[2] = {dx, 0};
        return sendTo(menuGame->_wmMouseMoveDI, 0, reinterpret_cast<LPARAM>(move));
    }

    std::unique_ptr<SimpleMenu> menu;
};

TEST_F(MenuInputGL, ArrowsMoveAndStepAndEscapeLeavesOneLevel) {
    testmenu::MenuGame& g = loadedGame();
    g._effectsVolume = 77;
    Stelkor::Timeline<float> fade;
    fade.loop = false;
    fade.addKey({0.0, 0.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    fade.addKey({0.7, 1.0f, Stelkor::Timeline<float>::KEY_ABSOLUTE});
    g._menuDescription.setTimeline(g._menuDescription.textColor.a, fade);
    g._menuDescription.animate(1.0);
    g.sounds.clear();
    g.volumes.clear();

    EXPECT_TRUE(key(VK_UP));
    EXPECT_EQ(g._menuMain->selectedItemID(), 6) << "from the first item to the last";
    EXPECT_DOUBLE_EQ(g._menuDescription.timelines().front().time(), 0.0);
    EXPECT_TRUE(key(VK_DOWN, KEY_WAS_DOWN));
    EXPECT_EQ(g._menuMain->selectedItemID(), 0) << "from the last item to the first, repeats too";
    EXPECT_EQ(g.sounds, (Sounds{"menu_up_down", "menu_up_down"}));
    EXPECT_EQ(g.volumes, (std::vector<unsigned char>{77, 77}));
    EXPECT_TRUE(key('Q'));
    EXPECT_TRUE(key(VK_ESCAPE));
    EXPECT_EQ(g._currentMenu, g._menuMain.get()) << "the main menu is the top";

    // Into SETTINGS, then CONTROLS; ESCAPE held down goes back one level only.
    for (const int code : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN}) {
        key(code);
    }
    ASSERT_EQ(g._currentMenu, g._menuControls.get());
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(key(VK_ESCAPE));
    EXPECT_TRUE(key(VK_ESCAPE, KEY_WAS_DOWN));
    EXPECT_TRUE(key(VK_ESCAPE, KEY_WAS_DOWN));
    EXPECT_EQ(g._currentMenu, g._menuSettings.get());
    EXPECT_EQ(g.sounds, Sounds{"menu_enter"});

    // In the in-game menu the shared settings lead back to it, and its top resumes silently.
    g._state = Game::STATE_INGAME_MENU;
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(key(VK_ESCAPE));
    EXPECT_EQ(g._currentMenu, g._menuIngame.get());
    EXPECT_TRUE(key(VK_ESCAPE));
    EXPECT_EQ(g._state, Game::STATE_PLAY);
    EXPECT_EQ(g.sounds, Sounds{"menu_enter"});

    // The volume items make no value sound of their own.
    g._state = Game::STATE_MAIN_MENU;
    g.setCurrentMenu(g._menuSound.get());
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(key(VK_RIGHT));
    EXPECT_TRUE(key(VK_LEFT));
    EXPECT_TRUE(g.sounds.empty());
    EXPECT_EQ(g._menuSound->selectedItem().normal->text, "MASTER VOLUME: 5");
}

TEST_F(MenuInputGL, LeftAndRightSoundOnlyOnAChangeButAlwaysAct) {
    testmenu::MenuGame& g = gameWithTestMenu();
    struct Step {
        int item;
        int key;
        const char* action;  // "" when none
        bool sound;
    };
    const Step steps[] = {
        {0, VK_RIGHT, "WRAP=B", true}, {0, VK_RIGHT, "WRAP=A", true}, {0, VK_LEFT, "WRAP=B", true},
        {1, VK_RIGHT, "STOP=Y", false}, {1, VK_LEFT, "STOP=X", true}, {1, VK_LEFT, "STOP=X", false},
        {2, VK_RIGHT, "", false},
    };
    for (const Step& step : steps) {
        menu->selectedItemID(step.item);
        actions.clear();
        g.sounds.clear();
        g.volumes.clear();
        EXPECT_TRUE(key(step.key));
        EXPECT_EQ(actions, step.action[0] ? Sounds{step.action} : Sounds{}) << step.action;
        EXPECT_EQ(g.sounds, step.sound ? Sounds{"menu_left_right"} : Sounds{}) << step.action;
    }

    // ENTER steps on and acts like a click would, with its own sound.
    menu->selectedItemID(0);
    actions.clear();
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(key(VK_RETURN));
    EXPECT_EQ(actions, Sounds{"WRAP=A"});
    EXPECT_EQ(g.sounds, Sounds{"menu_enter"});
}

TEST_F(MenuInputGL, MouseHoversClicksAndDragsTheSlider) {
    testmenu::MenuGame& g = gameWithTestMenu();
    // Hovering over another item selects it, outside every item nothing changes.
    EXPECT_FALSE(sendTo(WM_MOUSEMOVE, 0, on("STOP"))) << "the window's own motion only places the cursor";
    EXPECT_TRUE(motion(0));
    EXPECT_EQ(menu->selectedItemID(), 1);
    EXPECT_TRUE(motion(5));
    EXPECT_EQ(g.sounds, Sounds{"menu_up_down"}) << "only the change of item sounds";
    EXPECT_FALSE(sendTo(g._wmMouseMoveDI, 0, 0)) << "motion without its numbers";

    // A click off every item acts on the one selected before.
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(sendTo(WM_LBUTTONDOWN, 0, point(5, 5)));
    EXPECT_EQ(actions, Sounds{"STOP=Y"});
    EXPECT_TRUE(sendTo(WM_LBUTTONDOWN, 0, on("PLAIN")));
    EXPECT_EQ(menu->selectedItemID(), 2);
    EXPECT_EQ(actions, (Sounds{"STOP=Y", "PLAIN="}));
    EXPECT_EQ(g.sounds, (Sounds{"menu_left_right", "menu_enter"})) << "two values or more, or fewer";

    // The right button steps back on items with values and without a slider, sounding always.
    actions.clear();
    g.sounds.clear();
    g.volumes.clear();
    menu->selectedItemID(1);
    EXPECT_TRUE(sendTo(WM_RBUTTONDOWN));
    EXPECT_TRUE(sendTo(WM_RBUTTONDOWN));
    menu->selectedItemID(2);
    EXPECT_TRUE(sendTo(WM_RBUTTONDOWN));
    menu->selectedItemID(3);
    EXPECT_TRUE(sendTo(WM_RBUTTONDOWN));
    EXPECT_EQ(actions, (Sounds{"STOP=X", "STOP=X"}));
    EXPECT_EQ(g.sounds, (Sounds{"menu_left_right", "menu_left_right"}));

    // With the slider item selected only its handle takes a click.
    actions.clear();
    g.sounds.clear();
    g.volumes.clear();
    EXPECT_TRUE(sendTo(WM_LBUTTONDOWN, 0, on("PLAIN")));
    EXPECT_EQ(menu->selectedItemID(), 3);
    EXPECT_TRUE(actions.empty());
    SimpleMenu::Item& level = menu->selectedItem();
    menu->animate(0.0);
    const Stelkor::Sprite& handle = *level.slider()->handle();
    EXPECT_TRUE(sendTo(WM_LBUTTONDOWN, 0, window(handle.posAbs())));
    ASSERT_TRUE(level.dragging());
    const int step = level.slider()->pixelsPerStep();
    EXPECT_TRUE(motion(step));
    EXPECT_TRUE(motion(step / 3));
    EXPECT_TRUE(motion(2 * step));
    EXPECT_EQ(actions, (Sounds{"LEVEL=4", "LEVEL=6"})) << "once per value change";
    EXPECT_EQ(g.sounds, (Sounds{"menu_left_right", "menu_left_right"}));
    EXPECT_TRUE(sendTo(WM_LBUTTONUP));
    EXPECT_FALSE(level.dragging());
    EXPECT_EQ(actions.size(), 2u) << "the main menu does not act again on release";

    // The in-game menu acts once more when the drag ends.
    g._state = Game::STATE_INGAME_MENU;
    menu->animate(0.0);
    EXPECT_TRUE(sendTo(WM_LBUTTONDOWN, 0, window(handle.posAbs())));
    EXPECT_TRUE(level.dragging());
    EXPECT_TRUE(sendTo(WM_LBUTTONUP));
    EXPECT_EQ(actions.back(), "LEVEL=6");
    EXPECT_EQ(actions.size(), 3u);
    EXPECT_TRUE(sendTo(WM_LBUTTONUP));
    EXPECT_EQ(actions.size(), 3u) << "a release without a drag does nothing";
}

TEST_F(MenuInputGL, AWaitingBindingTakesTheNextInputKey) {
    testmenu::MenuGame& g = gameWithTestMenu();
    EXPECT_FALSE(sendTo(g._wmKeyDownDI, 30)) << "no binding waits";

    g._keyFire = 57;
    g._keyBeingRedefined = &g._keyFire;
    std::int32_t move[2] = {3, 0};
    EXPECT_FALSE(sendTo(g._wmMouseMoveDI, 0, reinterpret_cast<LPARAM>(move)));
    EXPECT_FALSE(sendTo(WM_LBUTTONDOWN, 0, on("STOP")));
    EXPECT_FALSE(sendTo(WM_RBUTTONDOWN));
    EXPECT_FALSE(key(VK_RETURN));
    EXPECT_TRUE(sendTo(WM_LBUTTONUP));
    EXPECT_EQ(menu->selectedItemID(), 0);
    EXPECT_TRUE(actions.empty());

    EXPECT_TRUE(sendTo(g._wmKeyDownDI, 1));
    EXPECT_EQ(g._keyFire, 57u) << "ESCAPE keeps the old key";
    EXPECT_EQ(g._keyBeingRedefined, nullptr);
    // Pressed on the input layer, which reports every key while one is awaited.
    g._input.trackAllKeys(true);
    g._keyBeingRedefined = &g._keyFire;
    g.device.keys.at(28) = 0x80;
    g.runFrame(0.01);
    EXPECT_EQ(g._keyFire, 28u);
    EXPECT_EQ(g._keyBeingRedefined, nullptr);
    for (const unsigned int code : {0x100u, 0x400u}) {
        g._keyBeingRedefined = &g._keyFire;
        EXPECT_TRUE(sendTo(g._wmKeyDownDI, code));
        EXPECT_EQ(g._keyFire, code);
        EXPECT_EQ(g._keyBeingRedefined, nullptr);
    }
    EXPECT_TRUE(g.sounds.empty());

    g._currentMenu = nullptr;
    g._keyBeingRedefined = &g._keyFire;
    const UINT kinds[] = {g._wmKeyDownDI, g._wmMouseMoveDI, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_KEYDOWN};
    for (const UINT msg : kinds) {
        EXPECT_FALSE(sendTo(msg, 28, reinterpret_cast<LPARAM>(move))) << "no menu, message " << msg;
    }
    g._keyBeingRedefined = nullptr;
}

// SETTINGS › CONTROLS › REDEFINE KEYS by the arrow keys and Enter, from the default keys.
void openRedefineKeys(testmenu::MenuGame& g) {
    g.defaultControls();
    g.refreshRedefineKeysMenu();
    for (const int code : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, VK_RETURN, VK_RETURN}) {
        g.message(g.hwnd(), WM_KEYDOWN, static_cast<WPARAM>(code), 0);
    }
    ASSERT_EQ(g._currentMenu, g._menuRedefineKeys.get());
}

// The whole way through the real menus: needs the key bindings and the redefine actions.
TEST_F(MenuInputGL, RedefiningFireTakesTheKeyFromEmpAndSavesIt) {
    testmenu::MenuGame& g = loadedGame();
    ASSERT_NO_FATAL_FAILURE(openRedefineKeys(g));
    for (int i = 0; i < 5; ++i) {
        key(VK_DOWN);
    }
    key(VK_RETURN);
    SimpleMenu::Item& fire = g._menuRedefineKeys->selectedItem();
    ASSERT_EQ(fire.name, "Fire");
    ASSERT_EQ(g._keyNuke, 28u);
    ASSERT_EQ(fire.normal->text, "Fire = (press any key)");
    g.device.keys.at(28) = 0x80;
    g.runFrame(0.01);
    EXPECT_EQ(g._keyFire, 28u);
    EXPECT_EQ(g._keyNuke, 0u);
    EXPECT_EQ(g._keyBeingRedefined, nullptr);
    EXPECT_NE(fire.normal->text, "Fire = (press any key)");
    EXPECT_NE(g._menuRedefineKeys->item("EMP Blast")->values.at(0), g._menuRedefineKeys->item("Fire")->values.at(0));
    Settings saved;
    ASSERT_TRUE(saved.load("data/vasp.conf", false));
    EXPECT_EQ(saved["keyFire"].i, 28);
    EXPECT_EQ(saved["keyNuke"].i, 0);
}

TEST_F(MenuInputGL, TheAttractLoopCancelsAWaitingBindingAndTheMenuAnswersAfterIt) {
    testmenu::MenuGame& g = loadedGame();
    ASSERT_NO_FATAL_FAILURE(openRedefineKeys(g));
    key(VK_RETURN);
    SimpleMenu::Item& left = g._menuRedefineKeys->selectedItem();
    ASSERT_EQ(left.normal->text, "Turn Left = (press any key)");
    const unsigned int keyLeft = g._keyLeft;

    // Left alone: the tables, which hear no input-layer key, then a key back to the menu.
    for (int i = 0; i < 90 && g._state == Game::STATE_MAIN_MENU; ++i) {
        g.runFrame(0.25);
    }
    ASSERT_EQ(g._state, Game::STATE_VIEW_SCORES_AUTOMATIC);
    EXPECT_EQ(g._keyBeingRedefined, nullptr);
    EXPECT_NE(left.normal->text, "Turn Left = (press any key)");
    EXPECT_TRUE(key('A'));
    ASSERT_EQ(g._state, Game::STATE_MAIN_MENU);
    const int selected = g._currentMenu->selectedItemID();
    EXPECT_TRUE(key(VK_DOWN));
    EXPECT_NE(g._currentMenu->selectedItemID(), selected);
    EXPECT_EQ(g._keyLeft, keyLeft);
}

}  // namespace
