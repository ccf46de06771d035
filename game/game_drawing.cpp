// The HUD's drawing, in this order: the trail corner pieces, the trick illustrations, the
// cockpit dials, the overlays and text bar, and the chaser labels, the list of chasers due
// back and the frame rate.

#include "game/game.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "actors/bot.h"
#include "game/cornerpiece.h"
#include "game/dialtexts.h"
#include "game/hudtexts.h"
#include "game/trickpath.h"
#include "platform/math.h"
#include "world/cuberenderer.h"

namespace Vortel {

namespace {

// The scale that keeps a label inside its dial's disc: the label is measured against the
// chord across the disc at the label's top line, with a pixel to spare at either end. Labels
// that fit keep their size; a long one in a small dial shrinks rather than run off the disc,
// where it could not be read over a bright sky.
float labelScale(const Stelkor::Renderer2D& renderer, const Stelkor::Font& font, const char* label,
                 float discRadius, float top) {
    Vector2<float> size;
    renderer.getTextSize(&size, nullptr, label, font, Vector2<float>(1.0f, 1.0f));
    const float chord = 2.0f * std::sqrt(std::max(discRadius * discRadius - top * top, 0.0f)) - 2.0f;
    return size.x > chord && size.x > 0.0f ? std::max(chord, 0.0f) / size.x : 1.0f;
}

// Over a dial just drawn: white text centred on x with its top at y, the label in the small
// font and the number in the normal one. Leaves the renderer with the normal font, white and
// this alignment; later HUD code sets its own.
void printDialTexts(Stelkor::Renderer2D& renderer, Stelkor::Font* small, Stelkor::Font* normal,
                    const RoundCounter& dial, const Vector2<float>& p, const char* label,
                    const Vector2<float>& labelOffset, const std::string& number,
                    const Vector2<float>& numberOffset) {
    const Vector2<float> unscaled(1.0f, 1.0f);
    glLoadIdentity();
    renderer._color.set(1.0f, 1.0f, 1.0f, 1.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_TOP);
    renderer._font = small;
    // Without fonts (before loading) print draws nothing; there is nothing to measure either.
    const float fit = small != nullptr ? labelScale(renderer, *small, label, dial.backgroundRadius(), labelOffset.y)
                                       : 1.0f;
    renderer.print(label, p + labelOffset, Vector2<float>(fit, fit));
    renderer._font = normal;
    renderer.print(number, p + numberOffset, unscaled);
}

void glColor(const RGBA<float>& c) { glColor4f(c.r, c.g, c.b, c.a); }

// The renderer's colour and GL's current one stay alike.
void setColor(Stelkor::Renderer2D& renderer, const RGBA<float>& c) {
    renderer._color = c;
    glColor(c);
}

// Text and boxes are drawn untextured; the renderer binds again for its next image.
void unbindTextures(Stelkor::Renderer2D& renderer) {
    glBindTexture(GL_TEXTURE_2D, 0);
    renderer._boundTexture = 0;
}

void glVertex(const Vector3<float>& v) { glVertex3f(v.x, v.y, v.z); }

void glNormal(const Vector3<float>& v) { glNormal3f(v.x, v.y, v.z); }

void place(const CornerPiecePlacement& placement) {
    glTranslatef(placement.translation.x, placement.translation.y, placement.translation.z);
    glScalef(placement.scale.x, placement.scale.y, placement.scale.z);
}

AABB3<float> unitCubeAt(const Vector3<int>& cell) {
    const Vector3<float> c(cell);
    return AABB3<float>(c.x - 0.5f, c.y - 0.5f, c.z - 0.5f, c.x + 0.5f, c.y + 0.5f, c.z + 0.5f);
}

// Pushes the modelview and enters a path cell: its centre, turned to the heading the path
// leaves it by.
void pushCellFrame(const TrickPathCell& c) {
    glPushMatrix();
    glTranslatef(static_cast<float>(c.cell.x), static_cast<float>(c.cell.y), static_cast<float>(c.cell.z));
    glMultMatrixd(headingFrame(c.forward, c.up).data());
}

// A square pyramid along +z marking where the path goes on; its sides alternate white and
// grey so that it reads as solid without lighting.
void drawArrow() {
    const float h = 0.7f;
    const float base = -0.5f;
    const float corners[5][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}, {-h, -h}};
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 4; ++i) {
        const float shade = i % 2 == 0 ? 1.0f : 0.65f;
        glColor4f(shade, shade, shade, 1.0f);
        glVertex3f(0.0f, 0.0f, 0.8f);
        glVertex3f(corners[i][0], corners[i][1], base);
        glVertex3f(corners[i + 1][0], corners[i + 1][1], base);
    }
    glEnd();
    glColor4f(0.83f, 0.83f, 0.83f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-h, h, base);
    glVertex3f(h, h, base);
    glVertex3f(h, -h, base);
    glVertex3f(-h, -h, base);
    glEnd();
}

}  // namespace

// ---- trail corner pieces ---------------------------------------------------------------------

void Game::initCornerCubeVertices() { fillCornerCubeTable(_cornerCubeVertices, _octree.renderer().normalSize()); }

void Game::drawCornerCube(float angle, Player::direction dir, const RGBA<float>& colorA, const RGBA<float>& colorB) {
    CornerPiece piece;
    if (!sweptCornerPiece(_cornerCubeVertices, dir, angle, _octree.renderer().normalSize(), piece)) {
        return;
    }
    // The caps of left and right turns face along y, those of up and down along x.
    const bool capsAlongY = dir == Player::DIR_LEFT || dir == Player::DIR_RIGHT;
    glPushMatrix();
    place(cornerPiecePlacement(dir, false));
    glColor(capsAlongY ? colorB : colorA);
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k < 2 * piece.arcPoints; ++k) {
        glNormal(piece.stripNormals[k]);
        glVertex(piece.strip[k]);
    }
    glEnd();
    glColor(capsAlongY ? colorA : colorB);
    for (const CornerPiece::Cap& cap : piece.caps) {
        glFrontFace(cap.clockwise ? GL_CW : GL_CCW);
        glBegin(GL_TRIANGLE_FAN);
        for (int k = 0; k <= piece.arcPoints; ++k) {
            glNormal(cap.normal);
            glVertex(cap.fan[k]);
        }
        glEnd();
    }
    glFrontFace(GL_CCW);
    glPopMatrix();
}

void Game::drawCornerCube(Bot& bot) {
    const float quarterTurn = TRUE_PI<float> / 2;
    const CubeColors& colors = _octree.renderer().colors();
    const CubeColors::colorTriplet& triplet = colors.triplet(colors.trail(bot._trailColor).start);
    // The piece has no texture coordinates: a texture the chaser's mesh left on would tint it.
    glDisable(GL_TEXTURE_2D);
    drawCornerCube(quarterTurn * bot._progress, bot.requestedDirection(),
                   triplet.shadeFloats[faceShadeOf(bot._up)],
                   triplet.shadeFloats[faceShadeOf(grid::cross(bot._forward, bot._up))]);
    glFrontFace(GL_CCW);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void Game::drawCornerCubeTrick(Player::direction dir, const RGBA<float>& capColor, const RGBA<float>& startColor,
                               const RGBA<float>& endColor) {
    CornerPiece piece;
    if (!wholeCornerPiece(_cornerCubeVertices, dir, piece)) {
        return;
    }
    glPushMatrix();
    glDisable(GL_CULL_FACE);
    place(cornerPiecePlacement(dir, true));
    glColor(capColor);
    for (const CornerPiece::Cap& cap : piece.caps) {
        glBegin(GL_TRIANGLE_FAN);
        for (int k = 0; k <= piece.arcPoints; ++k) {
            glVertex(cap.fan[k]);
        }
        glEnd();
    }
    const float last = static_cast<float>(piece.arcPoints - 1);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < piece.arcPoints; ++i) {
        glColor(gradientBlend(startColor, endColor, static_cast<float>(i), last));
        glVertex(piece.strip[2 * i]);
        glVertex(piece.strip[2 * i + 1]);
    }
    glEnd();
    glEnable(GL_CULL_FACE);
    glPopMatrix();
}

// ---- trick illustrations ---------------------------------------------------------------------

void Game::drawTrickIllustrationByName(const std::string& name, const Vector2<float>& pos, const Vector2<float>& size,
                                       RGBA<float> color, bool fill) {
    Trick* trick = _obstacleTrickLibrary.trickByNameSpaceSubname(name);
    if (trick == nullptr) {
        trick = _trickLibrary.trickByNameSpaceSubname(name);
    }
    if (trick != nullptr) {
        drawTrickIllustration(trick, pos, size, color, fill);
    }
}

void Game::drawTrickIllustration(Trick* trick, const Vector2<float>& pos, const Vector2<float>& size,
                                 RGBA<float> background, bool fillBackground) {
    if (!(size.x > 0.0f && size.y > 0.0f)) {
        return;
    }
    glPushAttrib(GL_VIEWPORT_BIT | GL_FOG_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT |
                 GL_POLYGON_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT | GL_SCISSOR_BIT);
    const GLint x = static_cast<GLint>(pos.x);
    const GLint y = static_cast<GLint>(pos.y);
    const GLsizei w = static_cast<GLsizei>(size.x);
    const GLsizei h = static_cast<GLsizei>(size.y);
    glViewport(x, y, w, h);
    // The depth clear below would otherwise reach the whole window.
    glScissor(x, y, w, h);
    glEnable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, size.x, 0.0, size.y, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);

    if (fillBackground) {
        glDisable(GL_DEPTH_TEST);
        glColor(background);
        glBegin(GL_QUADS);
        glVertex2f(0.0f, 0.0f);
        glVertex2f(size.x, 0.0f);
        glVertex2f(size.x, size.y);
        glVertex2f(0.0f, size.y);
        glEnd();
    }

    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);

    if (trick != nullptr) {
        drawTrickPath(*trick, size.x / size.y);
    }

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void Game::drawTrickPath(Trick& trick, float aspect) {
    trickIllustrationCamera(trickPathBounds(trick.steps()), aspect).lookThru();
    const CubeRenderer& cubes = _octree.renderer();
    const CubeColors::trailColors& trail = cubes.colors().trail(_player._trailColor);
    const CubeColors::colorTriplet& shades = cubes.colors().triplet(trail.start);
    walkTrickPath(trick.steps(), [&](const TrickPathCell& c) {
        switch (c.kind) {
            case TrickPathCell::CUBE: cubes.drawColoredCube(unitCubeAt(c.cell), trail.start); break;
            case TrickPathCell::CORNER:
                pushCellFrame(c);
                drawCornerCubeTrick(c.turn, shades.shadeFloats[faceShadeOf(grid::cross(c.entryForward, c.forward))],
                                    shades.shadeFloats[faceShadeOf(c.entryForward)],
                                    shades.shadeFloats[faceShadeOf(c.forward)]);
                glPopMatrix();
                break;
            case TrickPathCell::ARROW:
                pushCellFrame(c);
                drawArrow();
                glPopMatrix();
                break;
        }
    });
    for (const Vector3<int>& obstacle : trick.obstacles()) {
        cubes.drawColoredCube(unitCubeAt(illustratedObstacle(obstacle)), trail.end);
    }
}

// ---- cockpit dials ---------------------------------------------------------------------------
// Each places its dial from the window size, sets the dial's value where it shows one, draws
// it and prints its label and number over it.

void Game::drawScore() {
    const Vector2<float> p(60.0f, static_cast<float>(_height) - 60.0f);
    _scoreDial.pos(p);
    _scoreDial.value(scoreDialValue(_pointsToGo, _waveQuota));
    _scoreDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _scoreDial, p, "SCORE", Vector2<float>(0.0f, 27.0f),
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
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _shieldsDial, p, "SHLDS", Vector2<float>(0.0f, 15.0f),
                   shieldsDialText(_player._hitpoints), Vector2<float>(0.0f, 3.0f));
}

void Game::drawAmmo() {
    const Vector2<float> p(static_cast<float>(_width) - 40.0f, 40.0f);
    _ammoDial.pos(p);
    _ammoDial.value(limitDialValue(static_cast<float>(_gun.ammo()), _maxAmmo));
    _ammoDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _ammoDial, p, "AMMO", Vector2<float>(0.0f, 15.0f),
                   ammoDialText(_gun.ammo()), Vector2<float>(0.0f, 3.0f));
}

void Game::drawBombs() {
    const Vector2<float> p(static_cast<float>(_width) - 104.0f, 34.0f);
    _bombsDial.pos(p);
    _bombsDial.value(limitDialValue(static_cast<float>(_bombs), _maxBombs));
    _bombsDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _bombsDial, p, "EMP", Vector2<float>(0.0f, 14.0f),
                   bombsDialText(_bombs), Vector2<float>(0.0f, 2.0f));
}

// The density, chasers and stage dials have no ring: only their disc shows under the number.

void Game::drawDensity() {
    const Vector2<float> p(27.0f, static_cast<float>(_height) - 135.0f);
    _densityDial.pos(p);
    _densityDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _densityDial, p, "DENS", Vector2<float>(0.0f, 14.0f),
                   densityDialText(_density), Vector2<float>(0.0f, 2.0f));
}

void Game::drawChasers() {
    const Vector2<float> p(35.0f, 30.0f);
    _chasersDial.pos(p);
    _chasersDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _chasersDial, p, "CHASERS", Vector2<float>(0.0f, 14.0f),
                   chasersDialText(_liveBotCount, static_cast<int>(_bots.size())), Vector2<float>(0.0f, 2.0f));
}

void Game::drawWave() {
    const Vector2<float> p(135.0f, static_cast<float>(_height) - 27.0f);
    _waveDial.pos(p);
    _waveDial.draw();
    printDialTexts(_renderer, _fontSmall.get(), _font.get(), _waveDial, p, "STAGE", Vector2<float>(0.0f, 14.0f),
                   waveDialText(_stage), Vector2<float>(0.0f, 2.0f));
}

// ---- overlays and text bar -------------------------------------------------------------------

void Game::drawCombo() {
    const Vector2<float> p(300.0f, 100.0f);
    const Vector2<float> unscaled(1.0f, 1.0f);
    _comboDial.pos(p);
    _comboDial.value(comboDialValue(_comboTime, _comboWindow));
    _comboDial.draw();
    glLoadIdentity();
    setColor(_renderer, RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
    _renderer._font = _font.get();
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_CENTER);
    _hudText.clear();
    _hudText += std::to_string(_comboCount);
    _renderer._font = _fontBig.get();
    _renderer.print(_hudText, p + Vector2<float>(0.0f, 4.0f), unscaled);
    _renderer._font = _fontSmall.get();
    _renderer.print("COMBO", p - Vector2<float>(0.0f, 14.0f), unscaled);
}

void Game::drawSpeeding() {
    // Below the second level there is no bonus to show.
    if (_speedLevelRounded <= 1) {
        return;
    }
    const Vector2<float> p(500.0f, 100.0f);
    const Vector2<float> unscaled(1.0f, 1.0f);
    glLoadIdentity();
    unbindTextures(_renderer);
    _speedingDial.pos(p);
    _speedingDial.value(speedingDialValue(_speedLevel, _speedLevelRounded, _speedingMaxLevel));
    _speedingDial.draw();
    setColor(_renderer, RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_CENTER);
    _renderer._font = _fontBig.get();
    speedingText(_speedLevelRounded, _hudText);
    _renderer.print(_hudText, p + Vector2<float>(0.0f, 10.0f), unscaled);
    // The two words sit closer than the font's rows.
    _renderer._font = _fontSmall.get();
    _renderer._lineSpacing = -5;
    _renderer.print("BOOST\nBONUS", p - Vector2<float>(0.0f, 14.0f), unscaled);
    _renderer._lineSpacing = 0;
}

void Game::drawBarHud() {
    const Vector2<float> unscaled(1.0f, 1.0f);
    glLoadIdentity();
    _renderer._font = _font.get();
    unbindTextures(_renderer);
    setColor(_renderer, RGBA<float>(1.0f, 1.0f, 1.0f, 1.0f));
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_BOTTOM);
    BarHudValues values;
    values.score = _score;
    values.pointsToGo = _pointsToGo;
    values.shields = _player._hitpoints;
    values.ammo = _gun.ammo();
    values.bombs = _bombs;
    values.liveChasers = _liveBotCount;
    values.chasers = static_cast<int>(_bots.size());
    values.density = _density;
    for (std::size_t i = 0; i < _barHudColumns.size(); ++i) {
        setColor(_renderer, _barHudColumns[i].color);
        barHudText(i, values, _hudText);
        // Just above the bottom edge, over the bottom bar drawn before.
        _renderer.print(_hudText, Vector2<float>(_barHudColumns[i].x, 1.0f), unscaled);
    }
}

void Game::placeBarHud() {
    const Vector2<float> unscaled(1.0f, 1.0f);
    // Digits need not be equally wide: every place of a number is given the widest.
    char widestDigit = '0';
    float widestDigitWidth = -1.0f;
    std::string text;
    for (char digit = '0'; digit <= '9'; ++digit) {
        Vector2<float> size;
        text.assign(1, digit);
        _renderer.getTextSize(&size, nullptr, text, *_font, unscaled);
        if (size.x > widestDigitWidth) {
            widestDigitWidth = size.x;
            widestDigit = digit;
        }
    }
    std::array<float, 7> widths{};
    for (std::size_t i = 0; i < widths.size(); ++i) {
        Vector2<float> size;
        barHudWidestText(i, widestDigit, text);
        _renderer.getTextSize(&size, nullptr, text, *_font, unscaled);
        widths[i] = size.x;
    }
    _barHudColumns = barHudColumns(widths, static_cast<float>(_width));
}

// ---- chaser labels, respawn list and frame rate ------------------------------------------------

void Game::drawBotInfo() {
    const Vector2<float> unscaled(1.0f, 1.0f);
    setColor(_renderer, _hudColor);
    glLoadIdentity();
    _renderer._font = _fontSmall.get();
    const float offset = hitpointBarOffset(_displayChaserNames, _displayChaserTypes);
    const bool fog = glIsEnabled(GL_FOG) == GL_TRUE;
    glDisable(GL_FOG);
    glLoadIdentity();
    HitpointBar bar;
    for (const Bot* bot : _botInfoList) {
        chaserLabel(bot->_name, bot->type(), _displayChaserNames, _displayChaserTypes, _hudText);
        if (!_hudText.empty()) {
            // Hung below the box's lower left corner.
            setColor(_renderer, _hudColor);
            _renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_TOP);
            _renderer.print(_hudText, bot->_screenBox.min, unscaled);
        }
        if (_displayChaserBoundingBoxes) {
            setColor(_renderer, _hudColor);
            _renderer.drawBox(bot->_screenBox, false, false);
        }
        if (_displayChaserHitpoints && hitpointBar(bot->_screenBox, bot->_hitpoints, bot->hitpointsMax(), offset, bar)) {
            setColor(_renderer, RGBA<float>(0.0f, 0.0f, 0.0f, 1.0f));
            _renderer.drawBox(bar.frame, true, false);
            if (bar.hasFill) {
                setColor(_renderer, bar.fillColor);
                _renderer.drawBox(bar.fill, true, false);
            }
        }
    }
    if (fog) {
        glEnable(GL_FOG);
    }
}

void Game::drawDeadBots() {
    respawnListText(_deadBots, _hudText);
    setColor(_renderer, _hudColor);
    _renderer._font = _fontSmall.get();
    unbindTextures(_renderer);
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_BOTTOM);
    // The list grows upward from above the dials, or from above the text bar.
    const Vector2<float> bottomLine(16.0f, _cockpitHud ? 40.0f : 26.0f);
    _renderer.print(_hudText, bottomLine, Vector2<float>(1.0f, 1.0f));
}

void Game::drawDebugInfo() {
    frameRateText(_displayFps, _fps, _hudText);
    setColor(_renderer, _hudColor);
    _renderer._font = _fontSmall.get();
    unbindTextures(_renderer);
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_TOP);
    _renderer.print(_hudText, Vector2<float>(8.0f, static_cast<float>(_height) - 3.0f), Vector2<float>(1.0f, 1.0f));
}

}  // namespace Vortel
