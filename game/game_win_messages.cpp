#include "game/game.h"

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

bool Game::messageMainMenu(HWND, UINT, WPARAM, LPARAM) { return false; }
bool Game::messagePlay(HWND, UINT, WPARAM, LPARAM) { return false; }
bool Game::messageGameOver(HWND, UINT, WPARAM, LPARAM) { return false; }
bool Game::messageIngameMenu(HWND, UINT, WPARAM, LPARAM) { return false; }
bool Game::messageEnterScore(HWND, UINT, WPARAM, LPARAM) { return false; }

// ---- score and credits screens --------------------------------------------------------------

namespace {

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

}  // namespace Vortel
