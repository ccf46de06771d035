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

unsigned int squareTexture(int size, const std::vector<unsigned char>& rgba) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

}  // namespace testsupport
