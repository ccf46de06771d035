#ifndef QUELLARIS_ENGINE2D_RENDERER2D_H
#define QUELLARIS_ENGINE2D_RENDERER2D_H

#include <list>
#include <string>
#include <vector>

#include "platform/math.h"

namespace Stelkor {

class Bitmap;
class Font;
class Image;
class PolyLine;
class Sprite;
class TexturedPolyLine;

// Draws everything flat through OpenGL with one unit per window pixel, origin at the
// lower-left corner and y up. Makes and deletes the textures of bitmaps and keeps their names
// so a change of filter reaches every one. All calls belong to the thread holding the context.
class Renderer2D {
public:
    enum align { ALIGN_LEFT = 0, ALIGN_RIGHT = 1, ALIGN_TOP = 2, ALIGN_BOTTOM = 3, ALIGN_CENTER = 4 };
    enum TexFilter { FILTER_NEAREST = 0, FILTER_LINEAR = 1 };

    Renderer2D();
    explicit Renderer2D(const Quib::AABB2<int>& box);
    virtual ~Renderer2D() = default;

    Renderer2D(const Renderer2D&) = delete;
    Renderer2D& operator=(const Renderer2D&) = delete;

    void vport(const Quib::AABB2<int>& box);
    const Quib::AABB2<int>& vport() const { return _viewport; }

    void clear();
    void color(float r, float g, float b, float a);
    void color(const RGBA<float>& c);
    const RGBA<float>& color() const { return _color; }

    void font(Font& f) { _font = &f; }
    Font* font() const { return _font; }
    void lineSpacing(int pixels) { _lineSpacing = pixels; }
    int lineSpacing() const { return _lineSpacing; }
    void textAlign(align h, align v) {
        _alignH = h;
        _alignV = v;
    }

    TexFilter textureFilter() const { return _textureFilter; }
    void textureFilter(TexFilter filter);

    void showImageBorders(bool show) { _showImageBorders = show; }
    bool showImageBorders() const { return _showImageBorders; }
    void imageBorderColor(const RGBA<float>& c) { _imageBorderColor = c; }
    void imageBorderColor(float r, float g, float b, float a) { _imageBorderColor.set(r, g, b, a); }

    void makeTexture(Bitmap& bitmap, bool alpha);
    void destroyTexture(Bitmap& bitmap);
    void uploadTextureFromFramebuffer(Bitmap& bitmap, const Quib::AABB2<unsigned int>& box);
    const std::list<unsigned int>& textures() const { return _textures; }
    void makeTexture(Font& font);
    void destroyTexture(Font& font);

    // Display list replaying an image's quad; 0 when no list can be made (no current context).
    unsigned int createImageCache(const Image& image) const;
    void destroyImageCache(unsigned int list) const;

    virtual void drawImage(const Image& image, const Vector2<float>& pos, float rotation, float scaleX, float scaleY);
    virtual void drawImageBorder(const Image& image, const Vector2<float>& pos, float rotation, float scaleX,
                                 float scaleY);

    // Width of the widest line and height of all lines; the widths of the lines are appended
    // to lineWidths. Either pointer may be null.
    void getTextSize(Vector2<float>* size, std::vector<float>* lineWidths, const std::string& text,
                     const Font& font, const Vector2<float>& scale) const;
    // Prints with the current font, colour, line spacing and alignment; lines split at '\n'.
    // The glyphs of one call go to GL together, as one array.
    void print(const std::string& text, const Vector2<float>& pos, const Vector2<float>& scale);

    void drawBox(const Quib::AABB2<float>& box, bool filled, bool xorMode) const;
    void drawBox(const Quib::AABB2<int>& box, bool filled, bool xorMode) const;
    void drawCross(unsigned int n) const;
    void drawLine(const Vector2<float>& a, const Vector2<float>& b) const;

    // Draws the sprite's own image alone at its relative position, tinted by its colour for
    // this call only; nothing for an invisible sprite or one without image.
    void drawSprite(const Sprite& sprite);
    // Line strip through the points, untextured.
    void drawPolyLine(const PolyLine& line) const;
    // The line's ready quad strip, with its texture repeating along the line when it has one.
    // Texturing is on afterwards if it was on before or the line used a texture.
    void drawTexturedPolyLine(const TexturedPolyLine& line);

    // Written directly by the game's drawing code. Whoever writes _color sends it to GL with
    // glColor4f as well; whoever binds a texture of its own outside the renderer sets
    // _boundTexture to the name it bound (0 after unbinding), so the next image rebinds.
    RGBA<float> _color;
    Font* _font;
    int _lineSpacing;  // extra pixels between printed lines, before scaling
    unsigned int _boundTexture;

protected:
    // Puts one glyph of print() at the pen, unrotated, scaled: into the call's glyph array
    // (or drawn alone, framed, while image borders are shown).
    virtual void placeGlyph(const Image& glyph, const Vector2<float>& pen, const Vector2<float>& scale);

private:
    void drawPlacedGlyphs();
    void bindForDrawing(unsigned int texture);
    void applyFilterToBound() const;
    float lineStep(const Font& font, float scaleY) const;
    float lineStart(float x, std::size_t line) const;  // reads print's _lineWidths

    Quib::AABB2<int> _viewport;
    align _alignH;
    align _alignV;
    TexFilter _textureFilter;
    std::list<unsigned int> _textures;
    bool _showImageBorders;
    RGBA<float> _imageBorderColor;
    std::vector<float> _lineWidths;  // print's scratch list, kept to spare an allocation per call
    // Glyphs placed and not yet drawn, as texture coordinate and position (s, t, x, y, z) per
    // corner, all in _glyphTexture; kept, like _lineWidths, and made room for the longest
    // texts the game prints.
    static constexpr int GLYPHS_RESERVED = 256;
    std::vector<float> _glyphVertices;
    unsigned int _glyphTexture;
};

}  // namespace Stelkor

#endif
