#include "tests/support/gl_readback.h"

#include <GL/gl.h>

namespace testsupport {

std::vector<unsigned char> readScreen() {
    constexpr int width = 800;
    constexpr int height = 600;
    glFinish();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int pixelsOf(const std::vector<unsigned char>& pixels, unsigned char r, unsigned char g, unsigned char b) {
    int found = 0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        found += pixels[i] == r && pixels[i + 1] == g && pixels[i + 2] == b ? 1 : 0;
    }
    return found;
}

}  // namespace testsupport
