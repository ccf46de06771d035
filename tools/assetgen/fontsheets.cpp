#include "game/fontcharsets.h"
#include "tools/assetgen/fontsheet.h"
#include "tools/assetgen/generators.h"

namespace assetgen {

void writeFontSheets(const Output& out)
{
    const FontSheetLayout sheets[] = {
        {"DejaVuSansCondensed-Bold.ttf", 12, fontcharsets::kCharsetA, 5, 5, 16, 0, 256, 64},
        {"DejaVuSans-Bold.ttf", 14, fontcharsets::kCharsetB, 5, 5, 16, 0, 512, 32},
        // Four rows under the pivot are too few for this size's descenders and underscore: the
        // ink stands three rows higher, so the big text sits a little above its pen position.
        {"DejaVuSansCondensed-Bold.ttf", 26, fontcharsets::kCharsetA, 5, 8, 32, 2, 512, 128},
    };
    const char* files[] = {"textures/font_small.png", "textures/font.png", "textures/font_big.png"};
    for (int i = 0; i < 3; ++i)
        drawFontSheet(sheets[i]).savePng(out.path(files[i]));
}

}  // namespace assetgen
