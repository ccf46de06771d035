// The frame of each state: frame() (the state timers and the dispatch), then game over, the
// in-game menu, score entry, the trick trainer and the splash screens; then the main menu,
// the score and credits screens and the notice drawn over them. Loading's frame is in
// game_loader.cpp, the play frame in game_frame_play.cpp.

#include "game/game.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <string>

#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/simplemenu.h"
#include "engine2d/sprite.h"
#include "engine2d/timelinesprite.h"
#include "game/screentexts.h"

namespace Vortel {

namespace {

// The score panels' title images hang 32 pixels below this distance from the top, which keeps
// their letters clear of the table's name printed under them.
const float scoreTitleTop = 73.0f;

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

bool Game::frameGameOver() {
    // The wreck is orbited while the world goes on.
    _demoMode = true;
    _cameraMode = CAMERA_ORBIT;
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
    drawNotice();
    return true;
}
bool Game::frameEnterScore() {
    framePlay();
    // The panel opens from a margin of 210 to its final 80 within the first half second.
    const float margin = std::max(80.0f, static_cast<float>((0.7 - _stateTime) * 300.0));
    const float w = static_cast<float>(_width);
    const float h = static_cast<float>(_height);
    _scoreTables.animate(_frameTime);
    if (_titleLogoSmall) {
        _titleLogoSmall->pos(87.0f, h - scoreTitleTop);
        _titleLogoSmall->animate(_frameTime);
    }
    if (_highScoresTitle) {
        _highScoresTitle->pos(210.0f, h - scoreTitleTop);
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
        // A box narrower than its text in the game's font widens to hold it, with the margin
        // of its left side on the right.
        Vector2<float> textSize;
        _renderer.getTextSize(&textSize, nullptr, panel.text, *_font, unscaled);
        const float right = std::max(panel.right, 26.0f + textSize.x + 18.0f);
        _renderer.color(panel.color);
        _renderer.drawBox(Quib::AABB2<float>(8.0f, h - panel.bottom, right, h - 8.0f), true, false);
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

// ---- main menu, score and credits screens ---------------------------------------------------

namespace {

const Vector2<float> unscaled(1.0f, 1.0f);

// What the drawing of one frame of these screens works with: the window's size is the
// application's own, so the frame functions hand it on.
struct ScreenFrame {
    Game& game;
    float width;
    float height;
    double dt;
};

// The game's title over the bar's top edge and the maker's small logo at its right end, on the
// main menu and both credits screens.
void drawTitleLogos(const ScreenFrame& f, float barHeight) {
    Stelkor::Sprite& title = *f.game._titleLogo;
    title.pos(title.pos().x, barHeight - 10.0f);
    title.animate(f.dt);
    title.draw();
    Stelkor::Sprite& maker = *f.game._makerLogoSmall;
    maker._scale = Vector2<float>(0.7f, 0.7f);
    maker.color(0.0f, 0.0f, 0.0f, 0.5f);
    maker.pos(f.width - 30.0f, barHeight + 16.0f);
    maker.animate(f.dt);
    maker.draw();
}

bool isTrickSubmenu(const Game& game, const Stelkor::SimpleMenu* menu) {
    return std::any_of(game._trickSubmenus.begin(), game._trickSubmenus.end(),
                       [menu](const std::unique_ptr<Stelkor::SimpleMenu>& submenu) { return submenu.get() == menu; });
}

// In the trick trainer's menus: the list of tricks shows the selected trick small in the
// corner; a trick's own menu of variants shows the selected variant large with its panel.
void drawTrickInformation(const ScreenFrame& f, Stelkor::SimpleMenu& menu, float barHeight) {
    Game& game = f.game;
    const std::string& text = menu.selectedItem().text();
    if (&menu == game._menuTricks.get()) {
        const std::list<Trick>& variants = game._trickLibrary.allTricksByName(text);
        if (!variants.empty()) {
            const Trick& first = variants.front();
            game.drawTrickIllustrationByName(first.name() + " " + first.subname(),
                                             Vector2<float>(f.width - 116.0f, barHeight - 100.0f),
                                             Vector2<float>(100.0f, 100.0f), game._fogColor, false);
        }
        return;
    }
    if (!isTrickSubmenu(game, &menu)) {
        return;
    }
    Trick* trick = game._obstacleTrickLibrary.trickByNameSpaceSubname(text);
    if (trick == nullptr) {
        trick = game._trickLibrary.trickByNameSpaceSubname(text);
    }
    if (trick == nullptr) {
        return;
    }
    const TrickPanelPlace place = trickPanelPlace(barHeight);
    game.drawTrickIllustrationByName(text, place.preview, place.previewSize, RGBA<float>(0.1f, 0.1f, 0.8f, 1.0f), true);
    Stelkor::Renderer2D& renderer = game._renderer;
    // Wrapped once per variant shown, not every frame.
    if (game._trickPanelVariant != text) {
        game._trickPanelVariant = text;
        game._trickPanelText = wrapText(trickInformationText(*trick), place.textWidth, renderer, *game._fontSmall);
    }
    glLoadIdentity();
    Stelkor::Font* const font = renderer.font();
    const int lineSpacing = renderer.lineSpacing();
    renderer.font(*game._fontSmall);
    renderer.lineSpacing(place.lineSpacing);
    renderer.color(1.0f, 1.0f, 1.0f, 1.0f);
    renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_TOP);
    renderer.print(game._trickPanelText, place.text, unscaled);
    renderer._font = font;
    renderer.lineSpacing(lineSpacing);
}

// The menu on the bar, the selected item's help line along the bottom edge, and what the trick
// trainer's menus show of the selected trick.
void drawMenu(const ScreenFrame& f, Stelkor::SimpleMenu& menu, float barHeight) {
    Game& game = f.game;
    menu.pos(game._menuX, barHeight - game._menuBarGap);
    menu.animate(f.dt);
    menu.draw();
    if (menu.itemCount() == 0) {
        return;
    }
    game._menuDescription.text = menu.selectedItem().description();
    game._menuDescription.animate(f.dt);
    game._menuDescription.draw();
    drawTrickInformation(f, menu, barHeight);
}

// Both score screens over the live world: a dark panel opening round the current table, which
// is followed by the next one once it has faded out, and the screen's prompt.
void drawScoreView(const ScreenFrame& f, const char* prompt) {
    Game& game = f.game;
    game.framePlay();
    const float margin = scorePanelMargin(game._stateTime);
    MultiScoreTable& tables = game._scoreTables;
    if (tables.lastFadeType() == MultiScoreTable::FADE_OUT && tables.fadeFinished()) {
        tables.nextTable();
        tables.fadeIn(2.0);
    }
    tables.animate(f.dt);

    game._titleLogoSmall->pos(87.0f, f.height - scoreTitleTop);
    game._titleLogoSmall->animate(f.dt);
    game._highScoresTitle->pos(210.0f, f.height - scoreTitleTop);
    game._highScoresTitle->animate(f.dt);

    Stelkor::Renderer2D& renderer = game._renderer;
    renderer.color(0.0f, 0.0f, 0.0f, 0.6f);
    renderer.drawBox(Quib::AABB2<float>(margin, margin, f.width - margin, f.height - margin), true, false);
    game._titleLogoSmall->draw();
    game._highScoresTitle->draw();
    tables.print(Vector2<float>(140.0f, f.height - 135.0f), 0);

    renderer.color(1.0f, 1.0f, 1.0f, 1.0f);
    renderer._font = game._fontSmall.get();
    renderer.textAlign(Stelkor::Renderer2D::ALIGN_RIGHT, Stelkor::Renderer2D::ALIGN_BOTTOM);
    renderer.print(prompt, Vector2<float>(f.width - 85.0f, 80.0f), unscaled);
}

// Both credits screens over the live world: the roll rises inside the bottom bar, cut off 10
// pixels below its top, under the title logos.
void drawCreditsView(const ScreenFrame& f) {
    Game& game = f.game;
    game.framePlay();
    game._credits.animate(f.dt);
    const float barHeight = game._bottomBar.height();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, static_cast<GLsizei>(f.width), std::max(0, static_cast<int>(std::lround(barHeight)) - 10));
    game._credits.draw();
    glDisable(GL_SCISSOR_TEST);
    glLoadIdentity();
    drawTitleLogos(f, barHeight);
}

}  // namespace

void Game::showNotice(const std::string& line) {
    _notice.show(line);
}

void Game::drawNotice() {
    if (!_notice.shown() || !_font) {
        return;
    }
    // Its clock runs only here, so a notice put up behind the splash screens or in play
    // waits for the menus to be seen.
    _notice.animate(_frameTime);
    Stelkor::Font* const previous = _renderer.font();
    _renderer.font(*_font);
    _notice.draw(_renderer, Vector2<float>(static_cast<float>(_width) * 0.5f, static_cast<float>(_height) - 40.0f),
                 _hudColor);
    _renderer._font = previous;
}

bool Game::frameMainMenu() {
    if (_quit) {
        return false;
    }
    framePlay();
    const ScreenFrame f{*this, static_cast<float>(_width), static_cast<float>(_height), _frameTime};
    _renderer.vport(Quib::AABB2<int>(0, 0, _width, _height));
    glBindTexture(GL_TEXTURE_2D, 0);
    _renderer._boundTexture = 0;

    // The play frame leaves the bar to this state, so the menu sits on the bar as it is drawn.
    _bottomBar.animate(f.dt);
    _bottomBar.draw();
    const float barHeight = _bottomBar.height();
    if (_currentMenu != nullptr) {
        drawMenu(f, *_currentMenu, barHeight);
    }
    drawTitleLogos(f, barHeight);
    drawNotice();

    // The window mouse and the menu's keys hold the idle clock back: the attract loop comes
    // only to a menu left alone.
    if (_idleTime > 20.0) {
        viewScoresAutomatic();
    }
    return true;
}

bool Game::frameViewScores() {
    drawScoreView({*this, static_cast<float>(_width), static_cast<float>(_height), _frameTime},
                  "Press any key for next table or ESC to return to main menu");
    return true;
}

bool Game::frameViewScoresAutomatic() {
    drawScoreView({*this, static_cast<float>(_width), static_cast<float>(_height), _frameTime},
                  "Press any key to return to main menu");
    // Each table gets 4 seconds; a window mouse move starts its 4 seconds again. Counting down
    // to 0 or below, so that no number of speeds keeps the loop in the tables.
    if (_idleTime > 4.0) {
        _idleTime = 0.0;
        --_attractTablesLeft;
        if (_attractTablesLeft <= 0) {
            creditsAutomatic();
        }
        if (_scoreTables.lastFadeType() != MultiScoreTable::FADE_OUT) {
            _scoreTables.fadeOut(3.0);
        }
    }
    return true;
}

bool Game::frameCredits() {
    // Loops for as long as the screen is open: only the player leaves it.
    drawCreditsView({*this, static_cast<float>(_width), static_cast<float>(_height), _frameTime});
    return true;
}

bool Game::frameCreditsAutomatic() {
    drawCreditsView({*this, static_cast<float>(_width), static_cast<float>(_height), _frameTime});
    if (_credits.loops() > 0) {
        mainMenu();
    }
    return true;
}

}  // namespace Vortel
