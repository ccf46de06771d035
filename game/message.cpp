#include "game/message.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine2d/renderer2d.h"

namespace Vortel {

namespace {

// Room for a few lines, so that the usual messages never make the printed copy grow.
constexpr std::size_t PRINTED_ROOM = 512;

// NaN compares false with everything, so it would leave a message shown for ever.
double numberOrZero(double t) {
    return std::isnan(t) ? 0.0 : t;
}

}  // namespace

Message::Message(Stelkor::Renderer2D& renderer)
    : _text(std::ios::in | std::ios::out), _pos(0.0f, 0.0f), _color(1.0f, 1.0f, 1.0f, 1.0f), _renderer(renderer) {
    _printed.reserve(PRINTED_ROOM);
}

void Message::showText(double hold, double fade) {
    hold = numberOrZero(hold);
    fade = std::max(numberOrZero(fade), 0.0);
    if (!_shown) {
        _holdTime = hold;
        _time = 0.0;
        _shown = true;
    } else if (hold > _holdTime - _time) {  // what is left is negative while fading
        _holdTime = hold;
        _time = 0.0;
    }
    _fadeTime = fade;
    _alpha = _color.a;
}

void Message::clear() {
    _text.str(std::string());
}

void Message::animate(double dt) {
    if (!_shown) {
        return;
    }
    _time += dt;
    if (_time > _holdTime + _fadeTime) {
        _shown = false;
        _alpha = 0.0f;
        clear();
    } else if (_time > _holdTime) {
        // The whole frame that crosses the end of the hold counts as fading. _fadeTime is
        // above 0 here, and dt is taken first so a frame of 0 s cannot make 0 x infinity.
        const double step = dt * _color.a / _fadeTime;
        _alpha = static_cast<float>(std::max(static_cast<double>(_alpha) - step, 0.0));
    }
}

void Message::draw() {
    if (!_shown) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    _renderer.color(_color.r, _color.g, _color.b, _alphaMultiplier * _alpha);
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_CENTER, Stelkor::Renderer2D::ALIGN_BOTTOM);
    _renderer.print(printedText(), _pos, Vector2<float>(1.0f, 1.0f));
}

// Read through the stream's buffer rather than the stream, so that its state flags stay
// clear for writers; only the buffer's read position moves, and writers never use it.
const std::string& Message::printedText() {
    std::stringbuf& buffer = *_text.rdbuf();
    const std::streamoff length = buffer.pubseekoff(0, std::ios::end, std::ios::in);
    if (length <= 0 || buffer.pubseekpos(0, std::ios::in) != std::streampos(0)) {
        _printed.clear();
        return _printed;
    }
    _printed.resize(static_cast<std::size_t>(length));
    _printed.resize(static_cast<std::size_t>(buffer.sgetn(&_printed[0], length)));
    return _printed;
}

}  // namespace Vortel
