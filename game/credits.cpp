#include "game/credits.h"

#include <GL/gl.h>

#include <cmath>

#include "engine2d/font.h"
#include "engine2d/renderer2d.h"

namespace Vortel {

namespace {

float textHeight(const Stelkor::Renderer2D& renderer, const std::string& text, const Stelkor::Font& font) {
    Vector2<float> size;
    renderer.getTextSize(&size, nullptr, text, font, Vector2<float>(1.0f, 1.0f));
    return size.y;
}

}  // namespace

Credits::Credits(Stelkor::Renderer2D& renderer) : _renderer(renderer) {}

void Credits::prepareRenderer() {
    _renderer.lineSpacing(static_cast<int>(_leading));
    _renderer.textAlign(Stelkor::Renderer2D::ALIGN_LEFT, Stelkor::Renderer2D::ALIGN_TOP);
}

void Credits::addEntry(const std::string& title, const std::string& text) {
    prepareRenderer();
    const bool measurable = _titleFont != nullptr && _textFont != nullptr;
    Entry entry{title, text, _length, _length, _titleColor, _textColor};
    if (measurable && !title.empty()) {
        _length -= textHeight(_renderer, title, *_titleFont);
    }
    entry.textY = _length;
    if (measurable && !text.empty()) {
        _length -= _spaceBetweenTitles + textHeight(_renderer, text, *_textFont);
    }
    _entries.push_back(entry);
}

void Credits::clearEntries() {
    _entries.clear();
    _length = 0.0f;
    _scroll = 0.0f;
}

void Credits::animate(double dt) {
    const float next = static_cast<float>(_scrollSpeed * dt + _scroll);
    if (next > std::fabs(_length) + _endBlankSpace) {
        ++_loops;
        _scroll = 0.0f;
    } else {
        _scroll = next;
    }
}

void Credits::draw() {
    if (_titleFont == nullptr || _textFont == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Whole pixels only, so the glyphs' texels do not swim while the roll rises.
    glTranslatef(_pos.x, _pos.y + std::trunc(_scroll), 0.0f);
    prepareRenderer();
    const Vector2<float> unit(1.0f, 1.0f);
    for (const Entry& entry : _entries) {
        _renderer.color(entry.titleColor);
        _renderer.font(*_titleFont);
        _renderer.print(entry.title, Vector2<float>(0.0f, entry.titleY), unit);
        _renderer.color(entry.textColor);
        _renderer.font(*_textFont);
        _renderer.print(entry.text, Vector2<float>(0.0f, entry.textY), unit);
    }
}

}  // namespace Vortel
