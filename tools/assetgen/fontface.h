#ifndef QUELLARIS_ASSETGEN_FONTFACE_H
#define QUELLARIS_ASSETGEN_FONTFACE_H

#include <string>
#include <vector>

#include "tools/assetgen/mask.h"

namespace assetgen {

// One DejaVu face at one pixel size, rendered by FreeType into coverage masks.
class FontFace {
public:
    struct Glyph {
        int left = 0;      // ink offset from the pen, pixels
        int top = 0;       // ink rows above the baseline
        int width = 0;
        int rows = 0;
        int advance = 0;   // pen advance, whole pixels
        std::vector<unsigned char> coverage;  // rows top first
    };

    // file is a DejaVu file name such as "DejaVuSans-Bold.ttf"; throws when it cannot be read.
    FontFace(const std::string& file, int pixelSize, float horizontalScale = 1.0f);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    Glyph glyph(char c) const;
    // Draws text with its baseline at y (upwards) and its pen starting at x.
    void draw(Mask& mask, const std::string& text, int x, int baselineY, int tracking = 0) const;

    static std::string path(const std::string& file);

private:
    void* _library;
    void* _face;
};

}  // namespace assetgen

#endif
