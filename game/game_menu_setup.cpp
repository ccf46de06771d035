// The menu tree: menuSetup() builds every menu and its items (main, in-game, settings,
// controls, redefine keys, display, tricks, sound); then the current menu, the bottom bar's
// fit round it and what a menu does with a choice no callback takes.

#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <list>
#include <memory>
#include <string>

#include "engine2d/image.h"
#include "engine2d/menuslider.h"
#include "engine2d/simplemenu.h"
#include "engine2d/timeline.h"
#include "engine2d/timelinesprite.h"
#include "game/keybindings.h"
#include "game/usersettings.h"

namespace Vortel {

namespace {

using Stelkor::SimpleMenu;
using Item = SimpleMenu::Item;

const int kLineSpacing = 20;

std::unique_ptr<SimpleMenu> newMenu(const Stelkor::TextSprite& normal, const Stelkor::TextSprite& highlight,
                                    SimpleMenu* parent, const std::string& separator = ": ") {
    std::unique_ptr<SimpleMenu> menu = std::make_unique<SimpleMenu>(normal, highlight);
    menu->valueSeparator(separator);
    menu->lineSpacing = kLineSpacing;
    menu->parentMenu = parent;
    return menu;
}

// One line of extra space above the item added next.
void gap(SimpleMenu& menu) {
    menu.addVspace(kLineSpacing);
}

void addBack(SimpleMenu& menu, SimpleMenu* to, const std::string& help) {
    gap(menu);
    menu.addItem("BACK", true).child(to).description(help);
}

// A switch shows its on text, then its off text, with the one the member holds selected.
Item& addToggle(SimpleMenu& menu, const std::string& label, bool on, const char* onText = "ON",
                const char* offText = "OFF") {
    return menu.addItem(label, true).addValue(onText, on).addValue(offText, !on);
}

// The settings table's switches of the DISPLAY menu at its lines from .. to - 1; the menu's
// other items stand on the lines between.
void addDisplaySwitches(Game& game, SimpleMenu& menu, int from, int to) {
    for (int line = from; line < to; ++line) {
        for (const UserSetting& row : userSettings) {
            if (row.displayLine == line) {
                addToggle(menu, row.label, game.*row.flag, row.onText, row.offText)
                    .action(row.changed != nullptr ? row.changed : &changeDisplaySwitch, &game)
                    .description(row.help);
            }
        }
    }
}

int lastDisplayLine() {
    int last = -1;
    for (const UserSetting& row : userSettings) {
        last = std::max(last, row.displayLine);
    }
    return last;
}

int nearest(float value) {
    return static_cast<int>(std::lround(value));
}

struct VolumeItem {
    const char* label;
    unsigned char Game::*volume;
    SimpleMenu::ActionCallback callback;
    const char* help;
};

const VolumeItem volumeItems[] = {
    {"MASTER VOLUME", &Game::_masterVolume, &Game::_menucallback_masterVolume, "Adjust master volume"},
    {"EFFECTS VOLUME", &Game::_effectsVolume, &Game::_menucallback_effectsVolume, "Adjust sound effects volume"},
    {"MUSIC VOLUME", &Game::_musicVolume, &Game::_menucallback_musicVolume, "Adjust background music volume"},
    {"VOICE VOLUME", &Game::_voiceVolume, &Game::_menucallback_voiceVolume, "Adjust spoken voice volume"},
};

// Where a slider starts on its item's line, from the item's text: at the designed distance, or
// just past the widest line the item can show when the game's font runs longer, so that the
// slider never crosses the value.
float sliderClear(const Game& game, float designed, const std::string& widestLine) {
    if (!game._font) {
        return designed;
    }
    Vector2<float> size;
    game._renderer.getTextSize(&size, nullptr, widestLine, *game._font, Vector2<float>(1.0f, 1.0f));
    return std::max(designed, size.x + 10.0f);
}

const char* const speedNames[] = {"VERY SLOW", "SLOW", "NORMAL", "FAST", "INSANE"};

const char* const settingsHelp = "Customize controls, adjust audio and video settings";

void fillMain(Game& game) {
    SimpleMenu& menu = *game._menuMain;
    menu.addItem("START GAME", true).action(&Game::_menucallback_startGame, &game);

    const std::string speed =
        game._currentGameSpeed == game._gameSpeeds.end() ? std::string() : game._currentGameSpeed->second.name;
    Item& speedItem = menu.addItem("SPEED", true);
    for (const char* name : speedNames) {
        speedItem.addValue(name, name == speed);
    }
    speedItem.action(&Game::_menucallback_gameSpeed, &game)
        .description("Adjust game speed\nUse left and right cursor keys or left and right mouse button to change "
                     "speed");
    menu.selectedItemID(0);

    menu.addItem("TRICK TRAINER", true)
        .child(game._menuTricks.get())
        .description("Learn about flying maneuvers and train your flying abilities");
    menu.addItem("SETTINGS", true).child(game._menuSettings.get()).description(settingsHelp);
    menu.addItem("HIGH SCORES", true).action(&Game::_menucallback_viewScores, &game).description("View high scores");
    menu.addItem("CREDITS", true).action(&Game::_menucallback_credits, &game).description("View game credits");
    menu.addItem("QUIT", true).action(&Game::_menucallback_quit, &game).description("Exit to windows");
}

void fillIngame(Game& game) {
    SimpleMenu& menu = *game._menuIngame;
    menu.addItem("RESUME GAME", true)
        .action(&Game::_menucallback_resumeGame, &game)
        .description("Resume current game");
    menu.addItem("SETTINGS", true).child(game._menuSettings.get()).description(settingsHelp);
    gap(menu);
    menu.addItem("QUIT CURRENT GAME", true)
        .action(&Game::_menucallback_quitCurrentGame, &game)
        .description("Abandon current game and return to Main Menu");
}

void fillSettings(Game& game) {
    SimpleMenu& menu = *game._menuSettings;
    menu.addItem("CONTROLS", true).child(game._menuControls.get()).description("Customize game controls");
    menu.addItem("DISPLAY", true).child(game._menuDisplay.get()).description("Customize display settings");
    menu.addItem("SOUND", true).child(game._menuSound.get()).description("Customize audio settings");
    // In the in-game menu this leads back to the in-game menu (defaultMenuAction).
    addBack(menu, game._menuMain.get(), "Back to Main Menu");
    menu.selectedItemID(0);
}

void fillControls(Game& game) {
    SimpleMenu& menu = *game._menuControls;
    menu.addItem("REDEFINE KEYS", true).child(game._menuRedefineKeys.get());
    addToggle(menu, "INVERT MOUSE", game._invertMouse)
        .action(&Game::_menucallback_invertMouse, &game)
        .description("Invert vertical mouse axis (for mouselook)");

    // Placed here as well as by the loading, so that a second build starts from the same slider.
    game._menuSlider->pos(sliderClear(game, 170.0f, "MOUSE SENSITIVITY: 10"), 0.0f);
    game._menuSlider->range(0, 10, 1.0f);
    menu.addItem("MOUSE SENSITIVITY", false)
        .addIntRangeValues(0, 10, nearest(game._mouseSensitivity * 10.0f), 1)
        .action(&Game::_menucallback_mouseSensitivity, &game)
        .slider(*game._menuSlider)
        .description("Adjust mouse sensitivity");

    const bool mouselook = game._mouselookEnabled;
    const bool pointAndClick = game._pointAndClickEnabled;
    menu.addItem("AIMING MODE", true)
        .addValue("MOUSELOOK", mouselook && !pointAndClick)
        .addValue("POINT AND CLICK", pointAndClick && !mouselook)
        .addValue("COMBINED", mouselook && pointAndClick)
        .action(&Game::_menucallback_aimingMode, &game)
        .description("Select weapon aiming mode\nUse left and right cursor keys or left and right mouse button to "
                     "change");
    addBack(menu, game._menuSettings.get(), "Back to Settings Menu");
}

void fillRedefineKeys(Game& game) {
    SimpleMenu& menu = *game._menuRedefineKeys;
    for (unsigned int Game::*member : redefineMenuOrder) {
        const KeyBinding& binding = bindingOf(member);
        menu.addItem(binding.label, true).addValue("", true).action(binding.redefine, &game);
    }
    gap(menu);
    menu.addItem("RESET TO DEFAULTS", true).action(&Game::_menucallback_redefineDefaults, &game);
    menu.addItem("BACK", true).child(game._menuControls.get()).description("Back to Controls Menu");
    game.refreshRedefineKeysMenu();
}

// Lines 0 and 1 (display mode, field of view) and 8 and 9 (the two densities) are built here;
// the settings table's switches take the lines around them.
void fillDisplay(Game& game) {
    SimpleMenu& menu = *game._menuDisplay;
    const bool fullscreen = game.fullscreen();
    menu.addItem("DISPLAY MODE", true)
        .addValue("FULLSCREEN", fullscreen)
        .addValue("WINDOWED", !fullscreen)
        .action(&Game::_menucallback_displayMode, &game)
        .description("Switch between fulscreen and windowed mode");

    const std::string widestFov = "FIELD OF VIEW - " + std::to_string(static_cast<int>(game._fovMax));
    game._menuSlider->pos(sliderClear(game, 200.0f, widestFov), 0.0f);
    game._menuSlider->range(0, 11, 1.0f);
    menu.addItem("FIELD OF VIEW", false)
        .addIntRangeValues(static_cast<int>(game._fovMin), static_cast<int>(game._fovMax),
                           static_cast<int>(game._fov), 5)
        .action(&Game::_menucallback_AdjustFov, &game)
        .description("Adjust field of view (degrees)")
        .slider(*game._menuSlider);

    addDisplaySwitches(game, menu, 2, 8);

    game._menuSlider->range(0, 10, 1.0f);
    game._menuSlider->pos(sliderClear(game, 250.0f, "EFFECTS PARTICLE DENSITY - 10"), 0.0f);
    menu.addItem("DEBRIS PARTICLE DENSITY", false)
        .addIntRangeValues(0, 10, game._debrisParticleDensity, 1)
        .action(&Game::_menucallback_debrisParticleDensity, &game)
        .slider(*game._menuSlider);
    menu.addItem("EFFECTS PARTICLE DENSITY", false)
        .addIntRangeValues(0, 10, nearest(game._effectsParticleDensity * 10.0f), 1)
        .action(&Game::_menucallback_effectsParticleDensity, &game)
        .slider(*game._menuSlider);

    addDisplaySwitches(game, menu, 10, lastDisplayLine() + 1);
    addBack(menu, game._menuSettings.get(), "Back to Settings Menu");
}

// One submenu per trick name, holding every variant of it. The item labels are the form in
// which the trick library finds a variant again: name, one blank, subname.
void fillTricks(Game& game) {
    SimpleMenu& menu = *game._menuTricks;
    for (const std::string& name : game._trickLibrary.trickNames()) {
        const std::list<Trick> variants = game._trickLibrary.allTricksByName(name);
        std::unique_ptr<SimpleMenu> submenu =
            newMenu(game._menuItemPrototype, game._menuItemHighlightPrototype, &menu);
        for (const Trick& trick : variants) {
            const std::string label = name + " " + trick.subname();
            submenu->addItem(label, true).action(&Game::_menucallback_trainTrick, &game).description("Train " + label);
        }
        addBack(*submenu, &menu, "Back to Tricks Menu");
        menu.addItem(name, true).child(submenu.get()).description("Learn about " + name + " and train it");
        game._trickSubmenus.push_back(std::move(submenu));
    }
    addBack(menu, game._menuMain.get(), "Back to Main Menu");
}

// The levels are read from the volumes in force, so the menu shows what is heard.
void fillSound(Game& game) {
    SimpleMenu& menu = *game._menuSound;
    game._menuSlider->pos(sliderClear(game, 250.0f, "EFFECTS VOLUME: 10"), 0.0f);
    for (const VolumeItem& volume : volumeItems) {
        menu.addItem(volume.label, false)
            .addIntRangeValues(0, 10, volumeLevel(game.*volume.volume), 1)
            .action(volume.callback, &game)
            .slider(*game._menuSlider)
            .description(volume.help);
    }
    addBack(menu, game._menuSettings.get(), "Back to Settings Menu");
}

}  // namespace

void Game::menuSetup() {
    // Nothing may point into menus that a new build replaces.
    _currentMenu = nullptr;
    _trickTrainerReturnMenu = nullptr;
    _trickSubmenus.clear();
    // The old arrow leaves the highlight prototype as it goes.
    _smallArrow.reset();

    _smallArrowImage = cutImage("arrow_small.png", 0, 0, 16, 16, 8, 8, true);
    std::unique_ptr<Stelkor::TimelineSprite> arrow = std::make_unique<Stelkor::TimelineSprite>();
    arrow->image(*_smallArrowImage);
    arrow->pos(-10.0f, 0.0f);
    arrow->color(1.0f, 1.0f, 1.0f, 1.0f);
    // Bobs between -10 and -8 left of the item text.
    Stelkor::Timeline<float> bob;
    bob.addSineKeys(2.0f, -10.0f, 0.35f, 0.0f, 0.7f, 10);
    bob.loop = true;
    arrow->setTimeline(arrow->_pos.x, bob);

    _menuItemPrototype.font = _font.get();
    _menuItemPrototype.textColor = RGBA<float>(0.4f, 0.4f, 0.5f, 1.0f);
    _menuItemPrototype.pos(0.0f, 0.0f);
    _menuItemPrototype.hAlign = Stelkor::Renderer2D::ALIGN_LEFT;
    _menuItemPrototype.vAlign = Stelkor::Renderer2D::ALIGN_CENTER;

    _menuItemHighlightPrototype.textColor = RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f);
    _menuItemHighlightPrototype.font = _font.get();
    _menuItemHighlightPrototype.pos(0.0f, 0.0f);
    _menuItemHighlightPrototype.hAlign = Stelkor::Renderer2D::ALIGN_LEFT;
    _menuItemHighlightPrototype.vAlign = Stelkor::Renderer2D::ALIGN_CENTER;
    _menuItemHighlightPrototype._scale = Vector2<float>(1.0f, 1.0f);

    // Every item's highlight copies the arrow with its timeline, aimed at the copy.
    arrow->parent(&_menuItemHighlightPrototype);
    _smallArrow = std::move(arrow);

    const Stelkor::TextSprite& normal = _menuItemPrototype;
    const Stelkor::TextSprite& highlight = _menuItemHighlightPrototype;
    _menuMain = newMenu(normal, highlight, nullptr);
    _menuIngame = newMenu(normal, highlight, nullptr);
    _menuSettings = newMenu(normal, highlight, _menuMain.get());
    _menuControls = newMenu(normal, highlight, _menuSettings.get());
    _menuDisplay = newMenu(normal, highlight, _menuSettings.get(), " - ");
    _menuSound = newMenu(normal, highlight, _menuSettings.get());
    _menuRedefineKeys = newMenu(normal, highlight, _menuControls.get(), " = ");
    _menuTricks = newMenu(normal, highlight, _menuMain.get());

    fillMain(*this);
    fillIngame(*this);
    fillSettings(*this);
    fillControls(*this);
    fillRedefineKeys(*this);
    fillDisplay(*this);
    fillTricks(*this);
    fillSound(*this);

    _currentMenu = _menuMain.get();
}

void Game::setCurrentMenu(Stelkor::SimpleMenu* menu) {
    _currentMenu = menu;
    if (!menu) {
        return;
    }
    menu->animate(0.0);
    menu->selectedItemID(0);
    menu->selectItemByMouse(Vector2<float>(static_cast<float>(_cursorX), static_cast<float>(_height - _cursorY)));
    fitBottomBarTo(*menu);
}

void Game::fitBottomBarTo(Stelkor::SimpleMenu& menu) {
    const Quib::AABB2<float> box = menu.boundingBox();
    const float height = box.max.y - box.min.y + _barMenuMargin;
    _bottomBar.set(_barMenuMinHeight > height ? _barMenuMinHeight : height, _barSpeed);
}

void Game::defaultMenuAction() {
    if (!_currentMenu || _currentMenu->itemCount() == 0) {
        return;
    }
    Stelkor::SimpleMenu::Item& item = _currentMenu->selectedItem();
    Stelkor::SimpleMenu* child = item.child();
    // The settings are shared with the in-game menu, whose way back leads there.
    if (_state == STATE_INGAME_MENU && child == _menuMain.get()) {
        child = _menuIngame.get();
    }
    if (child) {
        setCurrentMenu(child);
        return;
    }
    item.selectNextValue();
    item.callAction();
}

}  // namespace Vortel
