#include "tests/support/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {

struct WriteSession {
    std::FILE* fp = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~WriteSession() {
        if (png != nullptr) {
            png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        }
        if (fp != nullptr) {
            std::fclose(fp);
        }
    }
};

// libpng leaves by longjmp on failure, so this keeps no local that needs a destructor.
bool encode(png_structp png, png_infop info, std::FILE* fp, int width, int height, int colorType, int bitDepth,
            png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth, colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i) {
            palette[i].red = palette[i].green = palette[i].blue = static_cast<png_byte>(i);
        }
        png_set_PLTE(png, info, palette, 1 << bitDepth);
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}  // namespace

RgbaPicture::RgbaPicture(int width, int height)
    : _width(width), _height(height), _bytes(static_cast<std::size_t>(width) * height * 4, 0) {}

void RgbaPicture::set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    std::uint8_t* pixel = &_bytes[(static_cast<std::size_t>(y) * _width + x) * 4];
    pixel[0] = r;
    pixel[1] = g;
    pixel[2] = b;
    pixel[3] = a;
}

void RgbaPicture::fill(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    for (int y = 0; y < _height; ++y) {
        for (int x = 0; x < _width; ++x) {
            set(x, y, r, g, b, a);
        }
    }
}

void writePng(const std::string& file, const RgbaPicture& picture) {
    writePng(file, picture.width(), picture.height(), PNG_COLOR_TYPE_RGB_ALPHA, 8, picture.bytes());
}

void writePng(const std::string& file, int width, int height, int colorType, int bitDepth,
              const std::vector<std::uint8_t>& packedRows) {
    const std::size_t rowBytes = height > 0 ? packedRows.size() / static_cast<std::size_t>(height) : 0;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int i = 0; i < height; ++i) {
        rows[i] = const_cast<png_bytep>(&packedRows[i * rowBytes]);
    }
    WriteSession session;
    session.fp = std::fopen(file.c_str(), "wb");
    if (session.fp == nullptr) {
        throw std::runtime_error("cannot write '" + file + "'");
    }
    session.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (session.png == nullptr) {
        throw std::runtime_error("cannot create a png writer for '" + file + "'");
    }
    session.info = png_create_info_struct(session.png);
    if (session.info == nullptr ||
        !encode(session.png, session.info, session.fp, width, height, colorType, bitDepth, rows.data())) {
        throw std::runtime_error("cannot encode '" + file + "'");
    }
}

void writeBytes(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write '" + file + "'");
    }
}

std::vector<std::uint8_t> readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read '" + file + "'");
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
