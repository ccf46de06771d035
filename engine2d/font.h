#ifndef QUELLARIS_ENGINE2D_FONT_H
#define QUELLARIS_ENGINE2D_FONT_H

#include <array>
#include <memory>
#include <string>

namespace Stelkor {

class Bitmap;
class Image;
class Renderer2D;

// A bitmap font: one glyph image per character of a charset, cut from a font sheet along its
// marker pixels (see glyphcutter.h). The glyphs are drawn from the sheet's atlas, in which
// the bands lie apart (see glyphatlas.h). Every glyph is drawn about (0, baseline), so the pen
// position is the baseline. The font owns its atlas and its glyphs.
class Font {
public:
    Font(const std::string& file, const std::string& charset, int baseline, int rowHeight, int spacing,
         Renderer2D& renderer, bool activate);
    ~Font();

    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void activate();
    void deactivate();

    const Image* charImage(unsigned char c) const { return _images[c].get(); }
    // The renderer the font was made for; whoever prints with the font prints through it.
    Renderer2D& renderer() const { return *_renderer; }
    // The atlas the glyphs are cut from and the font's texture is made of.
    Bitmap& bitmap() const { return *_bitmap; }
    int rowHeight() const { return _rowHeight; }
    int spacing() const { return _spacing; }
    int baseline() const { return _baseline; }

private:
    Renderer2D* _renderer;
    // Declared before the glyphs so that they die first: an image reaches the renderer
    // through its bitmap when it is deleted.
    std::unique_ptr<Bitmap> _bitmap;
    std::array<std::unique_ptr<Image>, 256> _images;
    int _rowHeight;
    int _spacing;
    int _baseline;
};

}  // namespace Stelkor

#endif
