#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/textsprite.h"
#include "tests/game/menu_fixture.h"

namespace {

using testmenu::itemAt;
using testmenu::labels;
using Vortel::Game;
using Stelkor::SimpleMenu;
using MenuMember = std::unique_ptr<SimpleMenu> Game::*;
using MenuTreeGL = testmenu::MenuFixture;

std::string levels(int from, int to, int step) {
    std::string text;
    for (int v = from; v <= to; v += step) {
        text += (text.empty() ? "" : "|") + std::to_string(v);
    }
    return text;
}

std::string joined(const SimpleMenu::Item& item) {
    std::string text;
    for (const std::string& v : item.values) {
        text += (&v == &item.values.front() ? "" : "|") + v;
    }
    return text;
}

// One item as the menu shows it: values joined by '|', the selected one, wrap, help, callback,
// child menu, and whether a gap comes before it.
struct Row {
    std::string label;
    std::string values;
    std::string selected;
    bool wrap;
    std::string help;
    SimpleMenu::ActionCallback callback;
    MenuMember child;
    bool gap;
};

struct ExpectedMenu {
    const char* name;
    MenuMember menu;
    MenuMember parent;
    std::string separator;
    std::vector<Row> rows;
};

void expectMenu(Game& g, const ExpectedMenu& expected) {
    SCOPED_TRACE(expected.name);
    SimpleMenu& menu = *(g.*expected.menu);
    EXPECT_EQ(menu.lineSpacing, 20);
    EXPECT_EQ(menu.parentMenu, expected.parent ? (g.*expected.parent).get() : nullptr);
    ASSERT_EQ(menu.itemCount(), static_cast<int>(expected.rows.size()));
    for (int i = 0; i < menu.itemCount(); ++i) {
        const Row& row = expected.rows[i];
        SCOPED_TRACE(row.label);
        const SimpleMenu::Item& item = testmenu::itemAt(menu, i);
        EXPECT_EQ(item.name, row.label);
        // "*": the one value the key bindings give, empty while they give none.
        const bool binding = row.values == "*";
        EXPECT_EQ(binding ? std::string(item.valueCount() == 1 ? "*" : "?") : joined(item), row.values);
        const std::string selected = item.selectedValue < 0 ? "" : item.values[item.selectedValue];
        EXPECT_EQ(binding ? "*" : selected, row.selected);
        EXPECT_EQ(item.normal->text, row.values.empty() ? row.label : row.label + expected.separator + selected);
        EXPECT_EQ(item.wrap, row.wrap);
        EXPECT_EQ(item.description(), row.help);
        EXPECT_EQ(item.callback, row.callback);
        EXPECT_EQ(item.userData, row.callback ? &g : nullptr);
        EXPECT_EQ(item.child(), row.child ? (g.*row.child).get() : nullptr);
        if (i > 0) {
            EXPECT_EQ(testmenu::itemAt(menu, i - 1).vspace, row.gap ? 20 : 0);
        }
    }
    menu.selectedItemID(0);
}

// The fixed menus, built from the game's values of the moment, item by item.
TEST_F(MenuTreeGL, BuildsEveryFixedMenuFromTheGamesValues) {
    Game& g = loadedGame();
    g._gameSpeeds["fast"].name = "FAST";
    g._currentGameSpeed = g._gameSpeeds.find("fast");
    g._masterVolume = 76;
    g._musicVolume = 255;
    g._voiceVolume = 0;
    g._displaySurroundDetector = false;
    g._mouseSensitivity = 0.7f;
    g.menuSetup();
    EXPECT_EQ(g._currentMenu, g._menuMain.get());

    const std::string onOff = "ON|OFF";
    const std::string settingsHelp = "Customize controls, adjust audio and video settings";
    const std::string level = levels(0, 10, 1);
    const std::vector<ExpectedMenu> menus = {
        {"main", &Game::_menuMain, nullptr, ": ",
         {{"START GAME", "", "", true, "", &Game::_menucallback_startGame, nullptr, false},
          {"SPEED", "VERY SLOW|SLOW|NORMAL|FAST|INSANE", "FAST", true,
           "Adjust game speed\nUse left and right cursor keys or left and right mouse button to change speed",
           &Game::_menucallback_gameSpeed, nullptr, false},
          {"TRICK TRAINER", "", "", true, "Learn about flying maneuvers and train your flying abilities", nullptr,
           &Game::_menuTricks, false},
          {"SETTINGS", "", "", true, settingsHelp, nullptr, &Game::_menuSettings, false},
          {"HIGH SCORES", "", "", true, "View high scores", &Game::_menucallback_viewScores, nullptr, false},
          {"CREDITS", "", "", true, "View game credits", &Game::_menucallback_credits, nullptr, false},
          {"QUIT", "", "", true, "Exit to windows", &Game::_menucallback_quit, nullptr, false}}},
        {"in-game", &Game::_menuIngame, nullptr, ": ",
         {{"RESUME GAME", "", "", true, "Resume current game", &Game::_menucallback_resumeGame, nullptr, false},
          {"SETTINGS", "", "", true, settingsHelp, nullptr, &Game::_menuSettings, false},
          {"QUIT CURRENT GAME", "", "", true, "Abandon current game and return to Main Menu",
           &Game::_menucallback_quitCurrentGame, nullptr, true}}},
        {"settings", &Game::_menuSettings, &Game::_menuMain, ": ",
         {{"CONTROLS", "", "", true, "Customize game controls", nullptr, &Game::_menuControls, false},
          {"DISPLAY", "", "", true, "Customize display settings", nullptr, &Game::_menuDisplay, false},
          {"SOUND", "", "", true, "Customize audio settings", nullptr, &Game::_menuSound, false},
          {"BACK", "", "", true, "Back to Main Menu", nullptr, &Game::_menuMain, true}}},
        {"controls", &Game::_menuControls, &Game::_menuSettings, ": ",
         {{"REDEFINE KEYS", "", "", true, "", nullptr, &Game::_menuRedefineKeys, false},
          {"INVERT MOUSE", onOff, "ON", true, "Invert vertical mouse axis (for mouselook)",
           &Game::_menucallback_invertMouse, nullptr, false},
          {"MOUSE SENSITIVITY", level, "7", false, "Adjust mouse sensitivity", &Game::_menucallback_mouseSensitivity,
           nullptr, false},
          {"AIMING MODE", "MOUSELOOK|POINT AND CLICK|COMBINED", "COMBINED", true,
           "Select weapon aiming mode\nUse left and right cursor keys or left and right mouse button to change",
           &Game::_menucallback_aimingMode, nullptr, false},
          {"BACK", "", "", true, "Back to Settings Menu", nullptr, &Game::_menuSettings, true}}},
        {"display", &Game::_menuDisplay, &Game::_menuSettings, " - ",
         {{"DISPLAY MODE", "FULLSCREEN|WINDOWED", "WINDOWED", true, "Switch between fulscreen and windowed mode",
           &Game::_menucallback_displayMode, nullptr, false},
          {"FIELD OF VIEW", levels(45, 100, 5), "90", false, "Adjust field of view (degrees)",
           &Game::_menucallback_AdjustFov, nullptr, false},
          {"COCKPIT TYPE", "HUD|SIMPLE BAR", "HUD", true, "Select type of cockpit gauges",
           &Game::_menucallback_cockpitType, nullptr, false},
          {"SHOW SURROUND DETECTOR", onOff, "OFF", true, "Toggle display of surrounding obstacle detector",
           &Game::_menucallback_displaySurroundDetector, nullptr, false},
          {"CHASER NAMES", onOff, "ON", true, "Toggle display of chaser names",
           &Game::_menucallback_displayChaserNames, nullptr, false},
          {"CHASER HITPOINTS", onOff, "ON", true, "Toggle display of chaser hitpoints",
           &Game::_menucallback_displayChaserHitpoints, nullptr, false},
          {"CHASER BOUNDING BOXES", onOff, "ON", true, "Toggle display of chaser bounding boxes",
           &Game::_menucallback_displayChaserBoundingBoxes, nullptr, false},
          {"SHOW DESTROYED CHASER LIST", onOff, "ON", true,
           "Toggle display of chaser destroyed list and time to respawn",
           &Game::_menucallback_displayDestroyedChaserList, nullptr, false},
          {"DEBRIS PARTICLE DENSITY", level, "4", false, "", &Game::_menucallback_debrisParticleDensity, nullptr,
           false},
          {"EFFECTS PARTICLE DENSITY", level, "5", false, "", &Game::_menucallback_effectsParticleDensity, nullptr,
           false},
          {"FPS COUNTER", onOff, "ON", true, "Toggle display of frames-per-second counter",
           &Game::_menucallback_displayFps, nullptr, false},
          {"BACK", "", "", true, "Back to Settings Menu", nullptr, &Game::_menuSettings, true}}},
        {"redefine keys", &Game::_menuRedefineKeys, &Game::_menuControls, " = ",
         {{"Turn Left", "*", "*", true, "", &Game::_menucallback_redefineKeyLeft, nullptr, false},
          {"Turn Right", "*", "*", true, "", &Game::_menucallback_redefineKeyRight, nullptr, false},
          {"Turn Up", "*", "*", true, "", &Game::_menucallback_redefineKeyUp, nullptr, false},
          {"Turn Down", "*", "*", true, "", &Game::_menucallback_redefineKeyDown, nullptr, false},
          {"Boost", "*", "*", true, "", &Game::_menucallback_redefineKeyBoost, nullptr, false},
          {"Fire", "*", "*", true, "", &Game::_menucallback_redefineKeyFire, nullptr, false},
          {"EMP Blast", "*", "*", true, "", &Game::_menucallback_redefineKeyNuke, nullptr, false},
          {"Mouselook", "*", "*", true, "", &Game::_menucallback_redefineKeyMouselook, nullptr, false},
          {"Pause", "*", "*", true, "", &Game::_menucallback_redefineKeyPause, nullptr, false},
          {"RESET TO DEFAULTS", "", "", true, "", &Game::_menucallback_redefineDefaults, nullptr, true},
          {"BACK", "", "", true, "Back to Controls Menu", nullptr, &Game::_menuControls, false}}},
        {"sound", &Game::_menuSound, &Game::_menuSettings, ": ",
         {{"MASTER VOLUME", level, "3", false, "Adjust master volume", &Game::_menucallback_masterVolume, nullptr,
           false},
          {"EFFECTS VOLUME", level, "5", false, "Adjust sound effects volume", &Game::_menucallback_effectsVolume,
           nullptr, false},
          {"MUSIC VOLUME", level, "10", false, "Adjust background music volume", &Game::_menucallback_musicVolume,
           nullptr, false},
          {"VOICE VOLUME", level, "0", false, "Adjust spoken voice volume", &Game::_menucallback_voiceVolume, nullptr,
           false},
          {"BACK", "", "", true, "Back to Settings Menu", nullptr, &Game::_menuSettings, true}}},
    };
    for (const ExpectedMenu& expected : menus) {
        expectMenu(g, expected);
    }

    // Every slider item has its own copy of the shared slider as it was when it was added.
    // It stands at its designed distance from the item's text, or past the widest line the item
    // can show where the game's font runs longer: a slider never crosses its value.
    struct SliderCase {
        MenuMember menu;
        const char* label;
        float x;
        int steps;
        const char* widest;
    };
    for (const SliderCase& s :
         {SliderCase{&Game::_menuControls, "MOUSE SENSITIVITY", 170.0f, 10, "MOUSE SENSITIVITY: 10"},
          SliderCase{&Game::_menuDisplay, "FIELD OF VIEW", 200.0f, 11, "FIELD OF VIEW - 100"},
          SliderCase{&Game::_menuDisplay, "DEBRIS PARTICLE DENSITY", 250.0f, 10, "EFFECTS PARTICLE DENSITY - 10"},
          SliderCase{&Game::_menuDisplay, "EFFECTS PARTICLE DENSITY", 250.0f, 10, "EFFECTS PARTICLE DENSITY - 10"},
          SliderCase{&Game::_menuSound, "MASTER VOLUME", 250.0f, 10, "EFFECTS VOLUME: 10"},
          SliderCase{&Game::_menuSound, "VOICE VOLUME", 250.0f, 10, "EFFECTS VOLUME: 10"}}) {
        SCOPED_TRACE(s.label);
        const Stelkor::MenuSlider* slider = (g.*s.menu)->item(s.label)->slider();
        ASSERT_NE(slider, nullptr);
        Vector2<float> line;
        g._renderer.getTextSize(&line, nullptr, s.widest, *g._font, Vector2<float>(1.0f, 1.0f));
        EXPECT_GT(slider->pos().x, line.x);
        EXPECT_EQ(slider->pos(), Vector2<float>(std::max(s.x, line.x + 10.0f), 0.0f));
        EXPECT_EQ(slider->stepCount(), s.steps);
        EXPECT_NE(slider->handle(), g._menuSlider->handle()) << "a copy, not the shared slider";
    }
    EXPECT_EQ(g._menuControls->item("AIMING MODE")->slider(), nullptr);

    // Each highlighted item carries its own arrow, bobbing by its own timeline.
    const Stelkor::SimpleMenu::Item& start = itemAt(*g._menuMain, 0);
    ASSERT_EQ(start.highlight->children().size(), 1u);
    const Stelkor::Sprite* arrow = start.highlight->children().front();
    EXPECT_NE(arrow, g._smallArrow.get());
    EXPECT_EQ(arrow->image(), g._smallArrowImage.get());
    EXPECT_EQ(g._smallArrowImage->size(), Vector2<int>(16, 16));
    EXPECT_TRUE(start.normal->children().empty());
    start.highlight->animate(0.35);
    EXPECT_NEAR(arrow->pos().x, -8.0f, 0.05f);
}

TEST_F(MenuTreeGL, TrickTrainerHasASubmenuPerTrickName) {
    Game& g = loadedGame();
    const std::vector<std::string> names = labels(*g._menuTricks);
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names.front(), "SLICK");
    EXPECT_EQ(names[8], "VORTEL");
    EXPECT_EQ(names.back(), "BACK");
    EXPECT_EQ(itemAt(*g._menuTricks, 9).child(), g._menuMain.get());
    EXPECT_EQ(itemAt(*g._menuTricks, 8).vspace, 20);
    ASSERT_EQ(g._trickSubmenus.size(), 9u);

    auto submenu = g._trickSubmenus.begin();
    for (int i = 0; i < 9; ++i, ++submenu) {
        SCOPED_TRACE(names[i]);
        const SimpleMenu::Item& nameItem = itemAt(*g._menuTricks, i);
        EXPECT_EQ(nameItem.child(), submenu->get());
        EXPECT_EQ(nameItem.description(), "Learn about " + names[i] + " and train it");
        SimpleMenu& tricks = **submenu;
        EXPECT_EQ(tricks.parentMenu, g._menuTricks.get());
        EXPECT_EQ(tricks.lineSpacing, 20);
        const int count = tricks.itemCount() - 1;
        EXPECT_EQ(count, static_cast<int>(g._trickLibrary.allTricksByName(names[i]).size()));
        for (int t = 0; t < count; ++t) {
            const SimpleMenu::Item& item = itemAt(tricks, t);
            const Vortel::Trick* trick = g._trickLibrary.trickByNameSpaceSubname(item.name);
            ASSERT_NE(trick, nullptr) << item.name;
            EXPECT_EQ(trick->name(), names[i]);
            EXPECT_EQ(item.description(), "Train " + item.name);
            EXPECT_EQ(item.callback, &Game::_menucallback_trainTrick);
        }
        const SimpleMenu::Item& back = itemAt(tricks, count);
        EXPECT_EQ(back.name, "BACK");
        EXPECT_EQ(back.child(), g._menuTricks.get());
        EXPECT_EQ(back.description(), "Back to Tricks Menu");
        EXPECT_EQ(itemAt(tricks, count - 1).vspace, 20);
    }
    EXPECT_EQ(g._menuTricks->item("ORBIT")->child()->itemCount(), 9) << "eight variants and BACK";
}

// Selections that match no value leave the first one; rebuilding replaces every menu.
TEST_F(MenuTreeGL, EdgeValuesAndLibrariesPickTheirSelections) {
    Game& g = loadedGame();
    g._gameSpeeds["odd"].name = "LUDICROUS";
    g._currentGameSpeed = g._gameSpeeds.find("odd");
    g._mouselookEnabled = false;
    g._pointAndClickEnabled = false;
    g._mouseSensitivity = 0.9f;
    g._trickLibrary.tricks().clear();
    Vortel::Trick loop;
    loop.name("LOOP");
    g._trickLibrary.addTrick(loop);
    g.menuSetup();
    EXPECT_EQ(g._menuMain->item("SPEED")->normal->text, "SPEED: VERY SLOW");
    EXPECT_EQ(g._menuControls->item("AIMING MODE")->normal->text, "AIMING MODE: MOUSELOOK");
    EXPECT_EQ(g._menuControls->item("MOUSE SENSITIVITY")->normal->text, "MOUSE SENSITIVITY: 9");
    ASSERT_EQ(g._trickSubmenus.size(), 1u);
    EXPECT_EQ(labels(*g._trickSubmenus.front()), (std::vector<std::string>{"LOOP ", "BACK"}));
    EXPECT_EQ(g._trickLibrary.trickByNameSpaceSubname("LOOP "), &g._trickLibrary.tricks().front());

    g._trickLibrary.tricks().clear();
    g.menuSetup();
    EXPECT_EQ(labels(*g._menuTricks), std::vector<std::string>{"BACK"});
    EXPECT_TRUE(g._trickSubmenus.empty());
    EXPECT_EQ(g._currentMenu, g._menuMain.get());
}

// A custom item's callback notes the value it is called with.
std::vector<std::string> calledWith;
void noteValue(const std::string&, const std::string& value, void*) {
    calledWith.push_back(value);
}

TEST_F(MenuTreeGL, SetCurrentMenuSelectsUnderTheCursorAndFitsTheBar) {
    Game& g = loadedGame();
    SimpleMenu& settings = *g._menuSettings;
    settings.pos(220.0f, 400.0f);
    settings.animate(0.0);
    const Quib::AABB2<float> sound = settings.item("SOUND")->normal->boundingBox();
    g._cursorX = static_cast<int>((sound.min.x + sound.max.x) / 2);
    g._cursorY = 600 - static_cast<int>((sound.min.y + sound.max.y) / 2);
    g.setCurrentMenu(&settings);
    EXPECT_EQ(g._currentMenu, &settings);
    EXPECT_EQ(settings.selectedItemID(), 2);
    g._cursorX = 0;
    g._cursorY = 0;
    g.setCurrentMenu(&settings);
    EXPECT_EQ(settings.selectedItemID(), 0);

    // Two-item menus of a chosen height: the bar fits the box plus its margin, or its minimum.
    const float lineHeight = g._menuMain->item("QUIT")->normal->boundingBox().max.y -
                             g._menuMain->item("QUIT")->normal->boundingBox().min.y;
    for (const auto& [boxHeight, target] : {std::pair<float, float>(100.0f, 200.0f), {250.0f, 310.0f}}) {
        SimpleMenu menu(g._menuItemPrototype, g._menuItemHighlightPrototype);
        menu.lineSpacing = static_cast<int>(boxHeight - lineHeight);
        menu.addItem("A", true);
        menu.addItem("B", true);
        g.setCurrentMenu(&menu);
        EXPECT_FLOAT_EQ(menu.boundingBox().max.y - menu.boundingBox().min.y, boxHeight);
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), target);
        g.setCurrentMenu(nullptr);
        EXPECT_EQ(g._currentMenu, nullptr);
        EXPECT_FLOAT_EQ(g._bottomBar.targetHeight(), target);
    }
}

TEST_F(MenuTreeGL, DefaultActionOpensChildrenOrStepsAndCalls) {
    Game& g = loadedGame();
    // BACK of the shared settings leads to the menu of the state it was opened from.
    for (const auto& [state, expected] :
         {std::pair<int, SimpleMenu*>(Game::STATE_INGAME_MENU, g._menuIngame.get()),
          {Game::STATE_MAIN_MENU, g._menuMain.get()}}) {
        g._state = state;
        g.setCurrentMenu(g._menuSettings.get());
        g._menuSettings->selectedItemID(3);
        g.defaultMenuAction();
        EXPECT_EQ(g._currentMenu, expected);
    }

    SimpleMenu menu(g._menuItemPrototype, g._menuItemHighlightPrototype);
    menu.addItem("LEVEL", false).addValue("1", true).addValue("2", false).action(&noteValue, nullptr);
    g._currentMenu = &menu;
    calledWith.clear();
    g.defaultMenuAction();
    g.defaultMenuAction();
    EXPECT_EQ(calledWith, (std::vector<std::string>{"2", "2"})) << "stops at the end without wrap";
    g._currentMenu = nullptr;
    g.defaultMenuAction();
}

}  // namespace
