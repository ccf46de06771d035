// The input of each state: message() (the dispatch), the menus' keys and mouse (MenuInput),
// the flight keys, mouse aim and mouselook of play (PlayInput), then the score and credits
// screens, the splash screens, play and the trainer, game over and the typing of a name.

#include "game/game.h"

#include <algorithm>
#include <cstdint>

#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "platform/keycode.h"
#include "platform/virtualkeys.h"

namespace Vortel {

bool Game::message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The cursor and the idle clock follow the mouse in every state, even where the state
    // itself ignores the message.
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN) {
        _cursorX = static_cast<int>(LOWORD(lParam));
        _cursorY = static_cast<int>(HIWORD(lParam));
        _idleTime = 0.0;
    }

    switch (_state) {
    case STATE_MAIN_MENU: return messageMainMenu(hwnd, msg, wParam, lParam);
    case STATE_PLAY: return messagePlay(hwnd, msg, wParam, lParam);
    case STATE_GAME_OVER: return messageGameOver(hwnd, msg, wParam, lParam);
    case STATE_INGAME_MENU: return messageIngameMenu(hwnd, msg, wParam, lParam);
    case STATE_TRICK_TRAINER: return messagePlay(hwnd, msg, wParam, lParam);
    case STATE_VIEW_SCORES: return messageViewScores(hwnd, msg, wParam, lParam);
    case STATE_VIEW_SCORES_AUTOMATIC: return messageViewScoresAutomatic(hwnd, msg, wParam, lParam);
    case STATE_ENTER_SCORE: return messageEnterScore(hwnd, msg, wParam, lParam);
    case STATE_CREDITS: return messageCredits(hwnd, msg, wParam, lParam);
    case STATE_CREDITS_AUTOMATIC: return messageCreditsAutomatic(hwnd, msg, wParam, lParam);
    case STATE_SPLASH_LUMISK: return messageSplashLumisk(hwnd, msg, wParam, lParam);
    case STATE_SPLASH_ZINDLE: return messageSplashZindle(hwnd, msg, wParam, lParam);
    case STATE_SPLASH_QUENDLE: return messageSplashQuendle(hwnd, msg, wParam, lParam);
    default: return false;  // nothing yet, or loading: the window's own handling
    }
}

namespace {

// The menu rules of the main and the in-game menu states. The in-game menu differs in three
// points only: ESCAPE at its top resumes the game, ESCAPE never leads to the main menu, and
// letting go of a dragged slider runs the item's action once more.
class MenuInput {
public:
    MenuInput(Game& game, int windowHeight, bool ingame)
        : _game(game), _menu(*game._currentMenu), _windowHeight(windowHeight), _ingame(ingame) {}

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == _game._wmKeyDownDI) {
            return waitingForKey() && captureKey(static_cast<unsigned int>(wParam));
        }
        if (msg == _game._wmMouseMoveDI) {
            return !waitingForKey() && lParam != 0 && mouseMove(reinterpret_cast<const std::int32_t*>(lParam));
        }
        switch (msg) {
        case WM_LBUTTONDOWN: return !waitingForKey() && leftButtonDown();
        case WM_LBUTTONUP: return leftButtonUp();
        case WM_RBUTTONDOWN: return !waitingForKey() && rightButtonDown();
        case WM_KEYDOWN: return !waitingForKey() && key(wParam, lParam);
        default: return false;
        }
    }

private:
    bool waitingForKey() const { return _game._keyBeingRedefined != nullptr; }

    Stelkor::SimpleMenu::Item& item() { return _menu.selectedItem(); }

    // The window cursor, y downward, as a point of the menus, y upward.
    Vector2<float> cursor() const {
        return Vector2<float>(static_cast<float>(_game._cursorX), static_cast<float>(_windowHeight - _game._cursorY));
    }

    void play(const char* sound) { _game.playSound(sound, _game._effectsVolume); }

    // Each new help line fades in again.
    void restartHelp() { _game._menuDescription.rewindNonLoopingTimelines(); }

    void selectionMoved() {
        restartHelp();
        play("menu_up_down");
    }

    // The slot takes any code, mouse buttons included, but ESCAPE, which keeps the old key.
    bool captureKey(unsigned int code) {
        if (code != keycodes::ESCAPE) {
            _game.unbindKey(code);
            *_game._keyBeingRedefined = code;
        }
        _game.refreshRedefineKeysMenu();
        _game._keyBeingRedefined = nullptr;
        _game.saveControls();
        return true;
    }

    // A dragged slider follows the motion; otherwise the item under the cursor is selected.
    bool mouseMove(const std::int32_t* motion) {
        Stelkor::SimpleMenu::Item& selected = item();
        if (selected.dragging()) {
            selected.dragSlider(Vector2<float>(static_cast<float>(motion[0]), static_cast<float>(motion[1])));
            if (selected.valueChanged()) {
                valueSound();
                selected.callAction();
            }
            return true;
        }
        const int before = _menu.selectedItemID();
        _menu.selectItemByMouse(cursor());
        if (_menu.selectedItemID() != before) {
            selectionMoved();
        }
        return true;
    }

    // A slider item takes clicks on its handle only; any other click acts on the item under
    // the cursor, or on the one selected when no item is there.
    bool leftButtonDown() {
        if (_menu.mouseHitSliderHandle(cursor())) {
            item().startDragSlider();
            return true;
        }
        if (item().slider()) {
            return true;
        }
        const int before = _menu.selectedItemID();
        _menu.selectItemByMouse(cursor());
        if (_menu.selectedItemID() != before) {
            restartHelp();
        }
        play(item().valueCount() < 2 ? "menu_enter" : "menu_left_right");
        _game.defaultMenuAction();
        return true;
    }

    bool leftButtonUp() {
        Stelkor::SimpleMenu::Item& selected = item();
        if (selected.dragging()) {
            selected.stopDragSlider();
            if (_ingame && selected.valueCount() > 0) {
                selected.callAction();
            }
        }
        return true;
    }

    bool rightButtonDown() {
        Stelkor::SimpleMenu::Item& selected = item();
        if (!selected.slider() && selected.valueCount() > 0) {
            selected.selectPreviousValue();
            selected.callAction();
            play("menu_left_right");
        }
        return true;
    }

    bool key(WPARAM code, LPARAM lParam) {
        switch (code) {
        case VK_UP:
            _menu.selectPreviousItem();
            selectionMoved();
            break;
        case VK_DOWN:
            _menu.selectNextItem();
            selectionMoved();
            break;
        case VK_LEFT: stepValue(false); break;
        case VK_RIGHT: stepValue(true); break;
        case VK_RETURN:
            _game.defaultMenuAction();
            play("menu_enter");
            break;
        case VK_ESCAPE:
            // Held down, it still leaves one level only.
            if ((lParam & KEY_WAS_DOWN) == 0) {
                goBack();
            }
            break;
        default: break;
        }
        return true;
    }

    // The action runs even at a stopped end, so it always sees the value shown.
    void stepValue(bool next) {
        Stelkor::SimpleMenu::Item& selected = item();
        if (next) {
            selected.selectNextValue();
        } else {
            selected.selectPreviousValue();
        }
        if (selected.valueChanged()) {
            valueSound();
        }
        if (selected.valueCount() > 0) {
            selected.callAction();
        }
    }

    // The volume items let their own sounds be heard instead.
    void valueSound() {
        if (&_menu != _game._menuSound.get()) {
            play("menu_left_right");
        }
    }

    void goBack() {
        if (_ingame && &_menu == _game._menuIngame.get()) {
            _game.resumeGame();
            return;
        }
        if (&_menu == _game._menuMain.get() || !_menu.parentMenu) {
            return;
        }
        Stelkor::SimpleMenu* parent = _menu.parentMenu;
        if (_ingame && parent == _game._menuMain.get()) {
            parent = _game._menuIngame.get();
        }
        _game.setCurrentMenu(parent);
        play("menu_enter");
    }

    Game& _game;
    Stelkor::SimpleMenu& _menu;
    const int _windowHeight;
    const bool _ingame;
};

// The menu rules need a current menu with a selected item.
bool menuReady(const Stelkor::SimpleMenu* menu) {
    return menu && menu->selectedItemID() >= 0 && menu->selectedItemID() < menu->itemCount();
}

}  // namespace

bool Game::messageMainMenu(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A player steering the menus by keys is no idle player: the attract loop would take the
    // screen from under them and swallow their next key.
    if (msg == WM_KEYDOWN) {
        _idleTime = 0.0;
    }
    return menuReady(_currentMenu) && MenuInput(*this, _height, false).handle(msg, wParam, lParam);
}

bool Game::messageIngameMenu(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    return menuReady(_currentMenu) && MenuInput(*this, _height, true).handle(msg, wParam, lParam);
}

namespace {

// Flight input of play and of the trick trainer: the nine bindings, the end of a pause, the
// trainer's panels, ESCAPE, and the mouse on the mouselook offsets or the aim cursor.
class PlayInput {
public:
    PlayInput(Game& game, int windowWidth, int windowHeight)
        : _game(game), _windowWidth(windowWidth), _windowHeight(windowHeight) {}

    void keyDown(unsigned int key) {
        PanelAnswer answer = NO_PANEL;
        if (_game._paused) {
            _game.pause(false);
            if (_game._state == Game::STATE_TRICK_TRAINER) {
                answer = answerTrainerPanel(key);
            }
            if (answer == LEFT_THE_TRAINER) {
                return;
            }
            // The pause had every key reported; once flight goes on only its own keys are. A
            // start over raised the intro panel, which every key answers again.
            if (!_game._paused) {
                _game.trackPlayerKeys();
            }
        } else {
            flightKeyDown(key);
        }
        // After whatever matched: ESCAPE in a pause ends it and opens the menu too. A panel
        // that already started the trick over has answered ESCAPE: a second start would run
        // everything a start does twice.
        if (key == keycodes::ESCAPE) {
            if (_game._state == Game::STATE_PLAY) {
                _game.ingameMenu();
            } else if (_game._state == Game::STATE_TRICK_TRAINER && answer != STARTED_OVER) {
                restartTrick();
            }
        }
    }

    // Released while paused too, so nothing stays held through the pause.
    void keyUp(unsigned int key) {
        if (bound(_game._keyBoost, key)) {
            _game._player.boost(false);
            _game._boostTime = 0.0;
        } else if (bound(_game._keyFire, key)) {
            _game._gun.trigger(false);
        } else if (bound(_game._keyMouselook, key)) {
            _game._mouselookHeld = false;
        }
    }

    void mouseMove(const std::int32_t* motion) {
        if (_game._paused) {
            return;
        }
        const float dx = static_cast<float>(motion[0]) * _game._mouseSensitivity;
        const float dy = static_cast<float>(motion[1]) * _game._mouseSensitivity;
        if (_game._mouselookHeld && _game._mouselookEnabled) {
            _game._mouselookYaw += dx;
            _game._mouselookPitch += _game._invertMouse ? dy : -dy;
        } else if (_game._pointAndClickEnabled && _game._aimCursorSprite) {
            // The cursor's y axis points up the screen.
            const Vector2<float>& at = _game._aimCursorSprite->pos();
            _game._aimCursorSprite->pos(
                Vector2<float>(std::clamp(at.x + dx, 0.0f, static_cast<float>(_windowWidth)),
                               std::clamp(at.y - dy, 0.0f, static_cast<float>(_windowHeight))));
        }
    }

private:
    // 0 is no key: an unbound action never acts.
    static bool bound(unsigned int binding, unsigned int key) { return binding != 0 && binding == key; }

    bool playing() const { return _game._state == Game::STATE_PLAY; }

    void play(const char* sound) { _game.playSound(sound, _game._effectsVolume); }

    void restartTrick() {
        if (_game._trainedTrick) {
            _game.startTrickTrainer(_game._trainedTrick);
        }
    }

    enum PanelAnswer { NO_PANEL, PANEL_CLOSED, STARTED_OVER, LEFT_THE_TRAINER };

    PanelAnswer answerTrainerPanel(unsigned int key) {
        if (_game._trickIntroPanel) {
            if (key == keycodes::ESCAPE) {
                _game.mainMenu();
                if (_game._trainedTrick && _game._trickTrainerReturnMenu) {
                    // Back on the trick menu as it was left, the chosen trick still selected.
                    _game._currentMenu = _game._trickTrainerReturnMenu;
                    _game.fitBottomBarTo(*_game._trickTrainerReturnMenu);
                }
                return LEFT_THE_TRAINER;
            }
            _game._trickIntroPanel = false;
            return PANEL_CLOSED;
        }
        if (_game._trickResultPanel && (!_game._trickSucceeded || key == keycodes::ESCAPE)) {
            restartTrick();
            return STARTED_OVER;
        }
        if (_game._trickResultPanel) {
            _game._trickResultPanel = false;
            return PANEL_CLOSED;
        }
        return NO_PANEL;
    }

    // The first binding that matches acts; fire and EMP belong to play only.
    void flightKeyDown(unsigned int key) {
        Player& craft = _game._player;
        if (bound(_game._keyLeft, key)) {
            craft.turn(Player::DIR_LEFT);
            play("swoosh_left");
        } else if (bound(_game._keyRight, key)) {
            craft.turn(Player::DIR_RIGHT);
            play("swoosh_right");
        } else if (bound(_game._keyDown, key)) {
            craft.turn(Player::DIR_DOWN);
            play("swoosh_down");
        } else if (bound(_game._keyUp, key)) {
            craft.turn(Player::DIR_UP);
            play("swoosh_up");
        } else if (bound(_game._keyBoost, key)) {
            craft.boost(true);
            _game._boostTime = 0.0;
        } else if (playing() && bound(_game._keyFire, key)) {
            _game._gun.trigger(true);
            if (_game._gun.ammo() <= 0) {
                play("weapon_empty");
            }
        } else if (bound(_game._keyMouselook, key)) {
            if (_game._mouselookEnabled) {
                _game._mouselookYaw = 0.0f;
                _game._mouselookPitch = 0.0f;
                _game._mouselookHeld = true;
            }
        } else if (playing() && bound(_game._keyNuke, key)) {
            // Four cells ahead, so the blast clears the way the craft is heading.
            const Vector3<int>& cell = craft._cell;
            const Vector3<int>& ahead = craft._forward;
            _game.bomb(Vector3<int>(cell.x + 4 * ahead.x, cell.y + 4 * ahead.y, cell.z + 4 * ahead.z),
                       Game::EMP_RADIUS);
        } else if (bound(_game._keyPause, key)) {
            _game.pause(true);
            // Any key ends the pause.
            _game._input.trackAllKeys(true);
        }
    }

    Game& _game;
    const int _windowWidth;
    const int _windowHeight;
};

// ---- score and credits screens --------------------------------------------------------------


bool isButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

// Bit 30 of a key message: the key was already down, so this is an auto-repeat.
bool isFirstPress(LPARAM lParam) {
    return (lParam & (LPARAM(1) << 30)) == 0;
}

}  // namespace

bool Game::messageViewScores(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE && isFirstPress(lParam)) {
        mainMenu();
    }
    // A held key steps on through the tables: repeats that come during a fade-out are lost,
    // the first one after it fades the next table out again.
    if ((msg == WM_KEYDOWN || isButtonDown(msg)) && _scoreTables.lastFadeType() != MultiScoreTable::FADE_OUT) {
        _scoreTables.fadeOut(4.0);
    }
    return false;
}

// The attract loop ends on any sign of a player but the window mouse, which only holds the
// current table longer.
bool Game::messageViewScoresAutomatic(HWND, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_KEYDOWN && !isButtonDown(msg) && msg != _wmMouseMoveDI) {
        return false;
    }
    mainMenu();
    return true;
}

bool Game::messageCreditsAutomatic(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return messageViewScoresAutomatic(hwnd, msg, wParam, lParam);
}

bool Game::messageCredits(HWND, UINT msg, WPARAM, LPARAM) {
    // Every key and button is tracked on this screen, so the input layer reports them all.
    if (msg != _wmKeyDownDI) {
        return false;
    }
    mainMenu();
    return true;
}

namespace {

// Any key, repeats included, or any of the three mouse buttons skips a splash screen.
bool skipsSplash(UINT msg) {
    return msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

}  // namespace

bool Game::messageSplashLumisk(HWND, UINT msg, WPARAM, LPARAM) {
    if (!skipsSplash(msg)) {
        return false;
    }
    splashZindle();
    return true;
}

bool Game::messageSplashZindle(HWND, UINT msg, WPARAM, LPARAM) {
    if (!skipsSplash(msg)) {
        return false;
    }
    splashQuendle();
    return true;
}

bool Game::messageSplashQuendle(HWND, UINT msg, WPARAM, LPARAM) {
    if (!skipsSplash(msg)) {
        return false;
    }
    load();
    return true;
}

bool Game::messagePlay(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    PlayInput input(*this, _width, _height);
    if (msg == _wmKeyDownDI) {
        input.keyDown(static_cast<unsigned int>(wParam));
        return true;
    }
    if (msg == _wmKeyUpDI) {
        input.keyUp(static_cast<unsigned int>(wParam));
        return true;
    }
    if (msg == _wmMouseMoveDI) {
        if (lParam != 0) {
            input.mouseMove(reinterpret_cast<const std::int32_t*>(lParam));
        }
        return false;
    }
    // The window's own key-downs count as handled; the rest goes to the default handling.
    return msg == WM_KEYDOWN;
}

// The trainer is flown with the keys of play; the dispatch sends its messages to play's
// handler directly.
bool Game::messageTrickTrainer(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return messagePlay(hwnd, msg, wParam, lParam);
}

namespace {

// The character a key types into a name, 0 for a key that types none: the arrows, the
// function keys and the others have codes that read as punctuation or small letters.
char nameCharOf(WPARAM key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE) {
        return static_cast<char>(key);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return static_cast<char>('0' + (key - VK_NUMPAD0));
    }
    return 0;
}

}  // namespace

bool Game::messageGameOver(HWND, UINT msg, WPARAM wParam, LPARAM) {
    // Keys still held from play in the first half second are left alone.
    if (_stateTime < 0.5 || msg != _wmKeyDownDI) {
        return false;
    }
    leaveGameOver();
    // The input layer reports a press as the frame begins; the window's message of the same
    // press is taken from the queue only after that frame.
    _keyLeavingGameOver =
        _state == STATE_ENTER_SCORE ? virtualkeys::fromKeyCode(static_cast<KeyCode>(wParam)) : 0;
    return true;
}

bool Game::messageEnterScore(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool leavingKey = _keyLeavingGameOver != 0 && wParam == static_cast<WPARAM>(_keyLeavingGameOver);
    if (msg == WM_KEYUP && leavingKey) {
        _keyLeavingGameOver = 0;
    }
    if (msg != WM_KEYDOWN) {
        return false;
    }
    // A held key types once.
    if ((lParam & KEY_WAS_DOWN) != 0) {
        return true;
    }
    if (leavingKey) {
        _keyLeavingGameOver = 0;
        return true;
    }
    switch (wParam) {
    case VK_ESCAPE:
    case VK_RETURN:
        // Either keeps the name as typed. A file that cannot be written keeps the old one;
        // the entry still holds for this run, and the main menu tells the player.
        _scoreTables.endEditName();
        saveScores();
        mainMenu();
        break;
    case VK_BACK:
    case VK_DELETE: _scoreTables.typeBackspace(); break;
    default:
        // Only keys that stand for a character type: letters as capitals, the digits of both
        // the main row and the keypad, and the space bar.
        if (const char c = nameCharOf(wParam)) {
            _scoreTables.typeChar(c);
        }
        break;
    }
    return true;
}

}  // namespace Vortel
