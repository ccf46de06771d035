#include "engine2d/textsprite.h"

#include <array>
#include <utility>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"

namespace Stelkor {

namespace {

// Read for the source and for the copy alike, so the two lists cannot fall out of step.
template <typename S>
std::array<decltype(&std::declval<S&>().textColor.r), 4> textColorChannels(S& s) {
    return {&s.textColor.r, &s.textColor.g, &s.textColor.b, &s.textColor.a};
}

}  // namespace

TextSprite::TextSprite()
    : textColor(1, 1, 1, 1),
      font(nullptr),
      hAlign(Renderer2D::ALIGN_LEFT),
      vAlign(Renderer2D::ALIGN_TOP),
      _boundingBox(0, 0, 0, 0) {}

Renderer2D* TextSprite::renderer() const {
    return font->bitmap().renderer();
}

void TextSprite::animate(double dt) {
    TimelineSprite::animate(dt);
}

void TextSprite::draw() {
    drawLocal();
    if (!font || !_visible) {
        return;
    }
    Renderer2D* const r = renderer();
    r->color(textColor);
    r->font(*font);
    r->textAlign(hAlign, vAlign);
    r->print(text, _posAbs + offset, _scale);
}

void TextSprite::calculateBoundingBox() {
    if (!font) {
        return;
    }
    Vector2<float> size;
    renderer()->getTextSize(&size, nullptr, text, *font, Vector2<float>(1, 1));
    const Vector2<float> half(size.x / 2, size.y / 2);
    Vector2<float> c = _posAbs + offset;
    if (hAlign == Renderer2D::ALIGN_LEFT) {
        c.x += half.x;
    } else if (hAlign == Renderer2D::ALIGN_RIGHT) {
        c.x -= half.x;
    }
    if (vAlign == Renderer2D::ALIGN_TOP) {
        c.y -= half.y;
    } else if (vAlign == Renderer2D::ALIGN_BOTTOM) {
        c.y += half.y;
    }
    _boundingBox = Quib::AABB2<float>(c - half, c + half);
}

const Quib::AABB2<float>& TextSprite::boundingBox() {
    calculateBoundingBox();
    return _boundingBox;
}

Sprite* TextSprite::duplicate() const {
    TextSprite* const copy = new TextSprite;
    Sprite::copyTo(copy);
    TimelineSprite::copyTo(copy);
    copyTo(copy);
    return copy;
}

void TextSprite::copyTo(TextSprite* target) const {
    if (target == this) {
        return;
    }
    target->text = text;
    target->textColor = textColor;
    target->font = font;
    target->offset = offset;
    target->hAlign = hAlign;
    target->vAlign = vAlign;

    target->reaimTimelines(textColorChannels(*this), textColorChannels(*target));
}

}  // namespace Stelkor
