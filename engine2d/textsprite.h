#ifndef QUELLARIS_ENGINE2D_TEXTSPRITE_H
#define QUELLARIS_ENGINE2D_TEXTSPRITE_H

#include <string>

#include "engine2d/renderer2d.h"
#include "engine2d/timelinesprite.h"

namespace Stelkor {

class Font;

// A sprite that also prints a string in a bitmap font at its absolute position plus an
// offset, in its own text colour and alignment, scaled by the sprite's scale (rotation does
// not apply to text). Its fields are set directly by the game and the menus.
class TextSprite : public TimelineSprite {
public:
    TextSprite();
    ~TextSprite() override = default;

    void animate(double dt) override;
    void draw() override;
    Sprite* duplicate() const override;

    // Unscaled text box placed by the alignment; kept as it was while there is no font.
    void calculateBoundingBox();
    const Quib::AABB2<float>& boundingBox();

    // Copies the text fields and aims target's timelines that drive this sprite's text colour
    // at target's own text colour.
    void copyTo(TextSprite* target) const;

    std::string text;  // '\n' starts a new line
    RGBA<float> textColor;
    Font* font;  // not owned; none: nothing is printed
    Vector2<float> offset;
    Renderer2D::align hAlign;
    Renderer2D::align vAlign;

private:
    Renderer2D* renderer() const;

    Quib::AABB2<float> _boundingBox;
};

}  // namespace Stelkor

#endif
