#include "game/game.h"

#include <GL/gl.h>

#include "game/dialtexts.h"

namespace Vortel {

namespace {

// Over a dial just drawn: white text centred on x with its top at y, the label in the small
// font and the number in the normal one. Leaves the renderer with the normal font, white and
// this alignment; later HUD code sets its own.
void printDialTexts(Stelkor::Renderer2D& renderer, Stelkor::Font* small, Stelkor::Font* normal,
                    const Vector2<float>& p, const char* label, const Vector2<float>& labelOffset,
                    const std::string& number, const Vector2<float>& numberOffset) {
    const Vector2<float> unscaled(1.0f, 1.0f);
    glLoadIdentity();
    renderer._color.set(1.0f, 1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_TOP);
    renderer._font = small;
    renderer.print(label, p + labelOffset, unscaled);
    renderer._font = normal;
    renderer.print(number, p + numberOffset, unscaled);
}

}  // namespace

void Game::initCornerCubeVertices() {}
void Game::drawTrickIllustrationByName(const std::string&, const Vector2<float>&, const Vector2<float>&, RGBA<float>,
                                       bool) {}

// ---- cockpit dials ---------------------------------------------------------------------------
// Each places its dial from the window size, sets the dial's value where it shows one, draws
// it and prints its label and number over it.

void Game::drawScore() {
    const Vector2<float> p(60.0f, static_cast<float>(_height) - 60.0f);
    _scoreDial.pos(p);
    _scoreDial.value(scoreDialValue(_pointsToGo, _waveQuota));
    _scoreDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "SCORE", Vector2<float>(0.0f, 27.0f),
                   scoreDialText(_score), Vector2<float>(0.0f, 15.0f));
    const Vector2<float> unscaled(1.0f, 1.0f);
    _renderer._font = _fontSmall.get();
    _renderer.print("TO GO", p, unscaled);
    _renderer._font = _font.get();
    _renderer.print(pointsToGoDialText(_pointsToGo), p + Vector2<float>(0.0f, -12.0f), unscaled);
}

void Game::drawShields() {
    const Vector2<float> p(static_cast<float>(_width) - 40.0f, static_cast<float>(_height) - 40.0f);
    _shieldsDial.pos(p);
    _shieldsDial.value(limitDialValue(_player._hitpoints, _maxShields));
    _shieldsDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "SHLDS", Vector2<float>(0.0f, 15.0f),
                   shieldsDialText(_player._hitpoints), Vector2<float>(0.0f, 3.0f));
}

void Game::drawAmmo() {
    const Vector2<float> p(static_cast<float>(_width) - 40.0f, 40.0f);
    _ammoDial.pos(p);
    _ammoDial.value(limitDialValue(static_cast<float>(_gun.ammo()), _maxAmmo));
    _ammoDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "AMMO", Vector2<float>(0.0f, 15.0f),
                   ammoDialText(_gun.ammo()), Vector2<float>(0.0f, 3.0f));
}

void Game::drawBombs() {
    const Vector2<float> p(static_cast<float>(_width) - 104.0f, 34.0f);
    _bombsDial.pos(p);
    _bombsDial.value(limitDialValue(static_cast<float>(_bombs), _maxBombs));
    _bombsDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "EMP", Vector2<float>(0.0f, 14.0f),
                   bombsDialText(_bombs), Vector2<float>(0.0f, 2.0f));
}

// The density, chasers and stage dials have no ring: only their disc shows under the number.

void Game::drawDensity() {
    const Vector2<float> p(27.0f, static_cast<float>(_height) - 135.0f);
    _densityDial.pos(p);
    _densityDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "DENS", Vector2<float>(0.0f, 14.0f),
                   densityDialText(_density), Vector2<float>(0.0f, 2.0f));
}

void Game::drawChasers() {
    const Vector2<float> p(35.0f, 30.0f);
    _chasersDial.pos(p);
    _chasersDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "CHASERS", Vector2<float>(0.0f, 14.0f),
                   chasersDialText(_liveBotCount, static_cast<int>(_bots.size())), Vector2<float>(0.0f, 2.0f));
}

void Game::drawWave() {
    const Vector2<float> p(135.0f, static_cast<float>(_height) - 27.0f);
    _waveDial.pos(p);
    _waveDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), p, "STAGE", Vector2<float>(0.0f, 14.0f),
                   waveDialText(_stage), Vector2<float>(0.0f, 2.0f));
}

}  // namespace Vortel
