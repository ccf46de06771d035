#ifndef QUELLARIS_ENGINE2D_BITMAP_H
#define QUELLARIS_ENGINE2D_BITMAP_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/math.h"

namespace Stelkor {

class Renderer2D;

// An 8-bit RGBA picture with power-of-two sides, rows stored bottom-up so that it uploads
// as a texture whose y axis points up. Pixels can be decoded on any thread; the texture is
// made and deleted through the renderer on the thread that holds the GL context.
class Bitmap {
public:
    Bitmap(const std::string& file, Renderer2D& renderer, bool activate);
    Bitmap(const Vector2<unsigned int>& size, Renderer2D& renderer, const RGBA<float>& color);
    ~Bitmap();

    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Replaces the pixels with the PNG's and drops the mask (createBitmask makes a new one); on
    // failure the bitmap is left as it was.
    void load(const std::string& file);

    Bitmap& activate();
    void deactivate();

    // The mask of a picture read from a file, and of anything cut from one (the fonts' glyph
    // atlases), takes this threshold, so that collisions match what is drawn.
    static constexpr unsigned char FILE_MASK_THRESHOLD = 100;

    // One bit per pixel, set where alpha >= threshold; the pixel-exact collision tests read it.
    void createBitmask(unsigned char threshold);

    static unsigned int nearestPow2(unsigned int n);

    // p.y counts from the bottom row; outside the picture the colour is (0, 0, 0, 0).
    RGBA<unsigned char> pixelColor(const Vector2<int>& p) const;

    int w() const { return _size.x; }
    int h() const { return _size.y; }
    const Vector2<int>& size() const { return _size; }
    unsigned int texture() const { return _texture; }
    unsigned char* data() { return _data.data(); }
    const unsigned char* data() const { return _data.data(); }
    const std::uint32_t* bitmaskData() const { return _bitmask.empty() ? nullptr : _bitmask.data(); }
    int bitmaskWordsPerRow() const { return (_size.x + 31) / 32; }
    Renderer2D* renderer() const { return _renderer; }
    int bitsPerPixel() const { return _bitsPerPixel; }

private:
    friend class Renderer2D;  // creates and deletes the texture and records its name here

    Renderer2D* _renderer;
    Vector2<int> _size;
    unsigned int _texture;
    std::vector<unsigned char> _data;
    std::vector<std::uint32_t> _bitmask;
    int _bitsPerPixel;
};

}  // namespace Stelkor

#endif
