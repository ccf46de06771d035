#ifndef QUELLARIS_TESTS_PNG_WRITER_H
#define QUELLARIS_TESTS_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// An RGBA picture addressed as it appears on screen: row 0 is the top row, as in the file.
class RgbaPicture {
public:
    RgbaPicture(int width, int height);

    void set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
    void fill(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);

    int width() const { return _width; }
    int height() const { return _height; }
    const std::vector<std::uint8_t>& bytes() const { return _bytes; }

private:
    int _width;
    int _height;
    std::vector<std::uint8_t> _bytes;
};

// Writes the picture as an 8-bit RGBA PNG. Throws std::runtime_error when the file cannot be
// written.
void writePng(const std::string& file, const RgbaPicture& picture);

// Writes any PNG layout: rows are packed as the file stores them, top row first. A palette
// picture gets a 256-entry grey palette. Used to make files of the kinds the game refuses.
void writePng(const std::string& file, int width, int height, int colorType, int bitDepth,
              const std::vector<std::uint8_t>& packedRows);

// Writes raw bytes: short, foreign or truncated files.
void writeBytes(const std::string& file, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBytes(const std::string& file);

}  // namespace testsupport

#endif
