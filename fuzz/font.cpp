// Font sheets: a damaged sheet in textures/ must give a font (maybe with odd glyphs) or the
// picture's error, and every text must measure and print with it. The picture is cut as each
// of the game's three fonts is, and printed into a renderer that records instead of drawing.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine2d/font.h"
#include "engine2d/renderer2d.h"
#include "fuzz/support/scratch.h"
#include "game/fontcharsets.h"
#include "tests/support/draw_recorder.h"

using fuzzsupport::require;

namespace {

struct FontShape {
    const char* charset;
    int baseline;
    int rowHeight;
    int spacing;
};

constexpr FontShape kGameFonts[] = {
    {fontcharsets::kCharsetA, 5, 16, 0},
    {fontcharsets::kCharsetB, 5, 16, 0},
    {fontcharsets::kCharsetA, 5, 32, 2},
};

// Every character but the terminating one, over three lines.
std::string everyCharacter() {
    std::string text;
    for (int c = 1; c < 256; ++c) {
        text += c == '\n' ? ' ' : static_cast<char>(c);
        if (c == 100 || c == 200) {
            text += '\n';
        }
    }
    return text;
}

std::size_t glyphsIn(const std::string& text, const Stelkor::Font& font) {
    std::size_t count = 0;
    for (const char c : text) {
        count += c != '\n' && font.charImage(static_cast<unsigned char>(c)) != nullptr ? 1 : 0;
    }
    return count;
}

void printEveryWay(const std::string& text, Stelkor::Font& font) {
    using R = Stelkor::Renderer2D;
    testsupport::DrawRecorder recorder;
    recorder.font(font);
    Vector2<float> size;
    std::vector<float> lineWidths;
    recorder.getTextSize(&size, &lineWidths, text, font, Vector2<float>(1.0f, 1.0f));
    require(lineWidths.size() == 3, "a text of three lines did not measure as three");
    const std::size_t glyphs = glyphsIn(text, font);
    for (const R::align h : {R::ALIGN_LEFT, R::ALIGN_CENTER, R::ALIGN_RIGHT}) {
        for (const R::align v : {R::ALIGN_TOP, R::ALIGN_CENTER, R::ALIGN_BOTTOM}) {
            recorder.calls.clear();
            recorder.textAlign(h, v);
            recorder.print(text, Vector2<float>(400.0f, 300.0f), Vector2<float>(2.0f, 1.5f));
            require(recorder.calls.size() == glyphs, "print drew another count of glyphs than the text has");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::writeScratchFile("font.png", data, size);
    static const std::string text = everyCharacter();
    Stelkor::Renderer2D renderer;
    for (const FontShape& shape : kGameFonts) {
        try {
            Stelkor::Font font(path, shape.charset, shape.baseline, shape.rowHeight, shape.spacing, renderer, false);
            printEveryWay(text, font);
        } catch (const std::runtime_error&) {
            // The picture's own error: refused pictures are refused by every font alike.
            return 0;
        }
    }
    return 0;
}
