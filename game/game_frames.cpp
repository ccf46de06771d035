#include "game/game.h"

#include <GL/gl.h>

#include <algorithm>

#include "engine2d/image.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/timelinesprite.h"

namespace Vortel {

bool Game::frame() {
    // Input first: its messages reach message() inside this call, before the timers move.
    _input.update();

    // A state change is seen here only when a message handler made it; changes made by a
    // frame handler keep the timers of the state left, unless the entry resets them.
    if (_previousState == _state) {
        _stateTime += _frameTime;
        _idleTime += _frameTime;
    } else {
        _stateTime = 0.0;
        _idleTime = 0.0;
    }

    bool result = true;
    switch (_state) {
    case STATE_MAIN_MENU: result = frameMainMenu(); break;
    case STATE_PLAY: result = framePlay(); break;
    case STATE_GAME_OVER: result = frameGameOver(); break;
    case STATE_INGAME_MENU: result = frameIngameMenu(); break;
    case STATE_LOADING: result = frameLoading(); break;
    case STATE_TRICK_TRAINER: result = frameTrickTrainer(); break;
    case STATE_VIEW_SCORES: result = frameViewScores(); break;
    case STATE_VIEW_SCORES_AUTOMATIC: result = frameViewScoresAutomatic(); break;
    case STATE_ENTER_SCORE: result = frameEnterScore(); break;
    case STATE_CREDITS: result = frameCredits(); break;
    case STATE_CREDITS_AUTOMATIC: result = frameCreditsAutomatic(); break;
    case STATE_SPLASH_LUMISK: result = frameSplashLumisk(); break;
    case STATE_SPLASH_ZINDLE: result = frameSplashZindle(); break;
    case STATE_SPLASH_QUENDLE: result = frameSplashQuendle(); break;
    default: break;
    }

    _previousState = _state;
    return result;
}

bool Game::frameMainMenu() { return !_quit; }

bool Game::frameGameOver() {
    // The wreck is orbited while the world goes on.
    _demoMode = true;
    _cameraMode = 2;
    _cameraSubject = &_player;
    _playerActive = false;
    framePlay();
    if (_stateTime >= _gameOverDuration) {
        leaveGameOver();
    }
    return true;
}

bool Game::frameIngameMenu() {
    framePlay();
    if (_currentMenu) {
        _currentMenu->animate(_frameTime);
        _currentMenu->draw();
    }
    if (_titleLogo) {
        _titleLogo->pos(Vector2<float>(_titleLogo->pos().x, _bottomBar.height() - 10.0f));
        _titleLogo->animate(_frameTime);
        _titleLogo->draw();
    }
    glLoadIdentity();
    // The menu rides on the rising bar.
    if (_currentMenu) {
        _currentMenu->pos(_menuX, _bottomBar.height() - _menuBarGap);
        _currentMenu->animate(_frameTime);
        _currentMenu->draw();
    }
    return true;
}

bool Game::frameTrickTrainer() { return true; }
bool Game::frameViewScores() { return true; }
bool Game::frameViewScoresAutomatic() { return true; }

bool Game::frameEnterScore() {
    framePlay();
    // The panel opens from a margin of 210 to its final 80 within the first half second.
    const float margin = std::max(80.0f, static_cast<float>((0.7 - _stateTime) * 300.0));
    const float w = static_cast<float>(_width);
    const float h = static_cast<float>(_height);
    _scoreTables.animate(_frameTime);
    if (_titleLogoSmall) {
        _titleLogoSmall->pos(87.0f, h - 87.0f);
        _titleLogoSmall->animate(_frameTime);
    }
    if (_highScoresTitle) {
        _highScoresTitle->pos(210.0f, h - 87.0f);
        _highScoresTitle->animate(_frameTime);
    }
    _renderer.color(0.0f, 0.0f, 0.0f, 0.6f);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    _renderer.drawBox(Quib::AABB2<float>(margin, margin, w - margin, h - margin), true, false);
    if (_titleLogoSmall) {
        _titleLogoSmall->draw();
    }
    if (_highScoresTitle) {
        _highScoresTitle->draw();
    }
    _scoreTables.print(Vector2<float>(140.0f, h - 135.0f), 0);
    return true;
}

bool Game::frameCredits() { return true; }
bool Game::frameCreditsAutomatic() { return true; }
bool Game::frameSplashLumisk() {
    _renderer.color(1.0f, 1.0f, 1.0f, 1.0f);
    _renderer.clear();
    if (_stateTime > 5.0) {
        splashZindle();
    }
    // Drawn in the frame of the change too: the black of the next splash starts a frame later.
    _renderer.drawImage(*_splashLumiskImage, Vector2<float>(0.0f, 0.0f), 0.0f, 1.0f, 1.0f);
    return true;
}

bool Game::frameSplashZindle() {
    _renderer.color(0.0f, 0.0f, 0.0f, 1.0f);
    _renderer.clear();
    _splashZindleSprite->animate(_frameTime);
    _splashZindleSprite->draw();
    if (_stateTime > 4.0) {
        splashQuendle();
    }
    return true;
}

bool Game::frameSplashQuendle() {
    _renderer.color(0.0f, 0.0f, 0.0f, 1.0f);
    _renderer.clear();
    _splashQuendleSprite->animate(_frameTime);
    _splashQuendleSprite->draw();
    if (_stateTime > 5.0) {
        load();
    }
    return true;
}

}  // namespace Vortel
