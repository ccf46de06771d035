#ifndef QUELLARIS_TESTS_GL_READBACK_H
#define QUELLARIS_TESTS_GL_READBACK_H

#include <vector>

namespace testsupport {

// The 800 x 600 window's colour buffer as RGBA bytes, bottom row first. Waits for the drawing
// first: under the offscreen driver a swap does not flush.
std::vector<unsigned char> readScreen();

// How many pixels of a read-back screen have exactly this colour (alpha ignored).
int pixelsOf(const std::vector<unsigned char>& pixels, unsigned char r, unsigned char g, unsigned char b);

// A new size x size texture of the RGBA bytes, filtered linearly both ways, left bound.
unsigned int squareTexture(int size, const std::vector<unsigned char>& rgba);

}  // namespace testsupport

#endif
