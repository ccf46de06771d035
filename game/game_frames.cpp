#include "game/game.h"

#include <string>

#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/timelinesprite.h"

namespace Vortel {

namespace {

// A panel of the trick trainer: a box from (8, H - bottom) to (right, H - 8) under its text.
struct TrainerPanel {
    RGBA<float> color;
    float right;
    float bottom;
    std::string text;
};

const TrainerPanel introPanel{RGBA<float>(0.0f, 0.0f, 0.8f, 0.8f), 350.0f, 158.0f,
                              "Briefly continue to fly forward.\n"
                              "\t\t\tWhen in position to perform the trick\n"
                              "\t\t\tfollow the displayed movement sequence.\n\n"
                              "\t\t\tPress ESC to return to tricks menu.\n"
                              "\t\t\tPress any other key to start."};
const TrainerPanel successPanel{RGBA<float>(0.0f, 0.4f, 0.0f, 0.8f), 420.0f, 173.0f,
                                "SUCCESS!\n\n"
                                "\t\t\t\tPress any key to continue free flying and practicing.\n"
                                "\t\t\t\tArrows will appear whenever you are in position\n"
                                "\t\t\t\tto perform the trick.\n\n"
                                "\t\t\t\tPress ESC at any time to start over."};
const TrainerPanel failedPanel{RGBA<float>(0.7f, 0.0f, 0.0f, 0.8f), 280.0f, 93.0f,
                               "FAILED!\n\n\t\t\t\tPress any key to start over."};

}  // namespace

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
bool Game::frameGameOver() { return true; }
bool Game::frameIngameMenu() { return true; }
bool Game::frameViewScores() { return true; }
bool Game::frameViewScoresAutomatic() { return true; }
bool Game::frameEnterScore() { return true; }
bool Game::frameCredits() { return true; }
bool Game::frameCreditsAutomatic() { return true; }
bool Game::frameTrickTrainer() {
    using Stelkor::Renderer2D;
    const bool result = framePlay();
    const float w = static_cast<float>(_width);
    const float h = static_cast<float>(_height);
    const Vector2<float> unscaled(1.0f, 1.0f);

    _trickTrainerTitle.clear();
    if (_trainedTrick != nullptr) {
        _trickTrainerTitle.append(_trainedTrick->name()).append(" ").append(_trainedTrick->subname());
    }
    drawTrickIllustrationByName(_trickTrainerTitle, Vector2<float>(w - 136.0f, 8.0f), Vector2<float>(128.0f, 128.0f),
                                RGBA<float>(0.0f, 0.0f, 1.0f, 0.8f), true);
    const int lineSpacing = _renderer.lineSpacing();
    _renderer.font(*_fontSmall);
    _renderer.lineSpacing(-5);
    _renderer.color(_hudColor);
    _renderer.textAlign(Renderer2D::ALIGN_RIGHT, Renderer2D::ALIGN_BOTTOM);
    _trickTrainerCaption.assign("Training\n").append(_trickTrainerTitle);
    _renderer.print(_trickTrainerCaption, Vector2<float>(w - 12.0f, 8.0f), unscaled);

    _renderer.lineSpacing(4);
    _renderer.textAlign(Renderer2D::ALIGN_LEFT, Renderer2D::ALIGN_TOP);
    _renderer.font(*_font);
    const auto draw = [&](const TrainerPanel& panel) {
        _renderer.color(panel.color);
        _renderer.drawBox(Quib::AABB2<float>(8.0f, h - panel.bottom, panel.right, h - 8.0f), true, false);
        _renderer.color(1.0f, 1.0f, 1.0f, 1.0f);
        _renderer.print(panel.text, Vector2<float>(26.0f, h - 20.0f), unscaled);
    };
    if (_trickIntroPanel) {
        draw(introPanel);
    }
    if (_trickResultPanel) {
        draw(_trickSucceeded ? successPanel : failedPanel);
    }
    _renderer.lineSpacing(lineSpacing);
    return result;
}

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
