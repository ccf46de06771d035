// Textures: any file in a PNG's place must load as an 8-bit RGBA picture with power-of-two
// sides or be refused with its message, and the collision mask made from it must match its
// pixels.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/renderer2d.h"
#include "fuzz/support/scratch.h"

using fuzzsupport::require;

namespace {

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

bool maskBit(const Stelkor::Bitmap& bitmap, int x, int y) {
    const std::uint32_t word = bitmap.bitmaskData()[static_cast<std::size_t>(y) * bitmap.bitmaskWordsPerRow() + x / 32];
    return (word & (0x80000000u >> (x % 32))) != 0;
}

// Along both diagonals: enough to see a mask of the wrong size or row order.
void checkMask(const Stelkor::Bitmap& bitmap, unsigned char threshold) {
    require(bitmap.bitmaskData() != nullptr, "a loaded picture has no mask");
    const int steps = bitmap.w() > bitmap.h() ? bitmap.w() : bitmap.h();
    for (int i = 0; i < steps; ++i) {
        const int x = i * bitmap.w() / steps;
        const int y = i * bitmap.h() / steps;
        for (const int column : {x, bitmap.w() - 1 - x}) {
            const bool solid = bitmap.pixelColor(Vector2<int>(column, y)).a >= threshold;
            require(maskBit(bitmap, column, y) == solid, "mask bit differs from the pixel's alpha");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::writeScratchFile("picture.png", data, size);
    // Loading makes no GL call; without a context the renderer's set-up does nothing.
    Stelkor::Renderer2D renderer;
    try {
        Stelkor::Bitmap bitmap(path, renderer, false);
        require(isPowerOfTwo(bitmap.w()) && isPowerOfTwo(bitmap.h()), "a loaded picture's sides are not powers of two");
        checkMask(bitmap, 100);
        bitmap.createBitmask(0);
        checkMask(bitmap, 0);
        bitmap.createBitmask(255);
        checkMask(bitmap, 255);
    } catch (const std::runtime_error&) {
        // Refused with its message: the answer to a damaged picture.
    }
    return 0;
}
