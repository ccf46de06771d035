#include "engine2d/bitmap.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine2d/renderer2d.h"
#include "platform/boundedfile.h"

namespace Stelkor {

namespace {

const std::size_t kSignatureBytes = 8;
// Far beyond any texture the game uses; a forged header cannot make the decoder ask for
// gigabytes.
const png_uint_32 kMaxSide = 8192;
// Four times the game's largest texture (1024 x 1024): with its GL texture and mipmaps a
// picture this size costs about 40 MB, where 8192 x 8192 from a 261 KB file cost 677 MB.
const std::uint64_t kMaxPixels = 2048 * 2048;

[[noreturn]] void fail(const std::string& message) {
    throw std::runtime_error(message);
}

std::string quoted(const char* before, const std::string& file, const char* after) {
    std::ostringstream text;
    text << before << "'" << file << "'" << after;
    return text.str();
}

// Where libpng's error handler jumps back to, and what it said.
struct DecodeError {
    std::jmp_buf jump;
    char message[200];
};

void onDecodeError(png_structp png, png_const_charp message) {
    DecodeError* error = static_cast<DecodeError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof(error->message), "%s", message != nullptr ? message : "");
    std::longjmp(error->jump, 1);
}

// Warnings (odd chunks, colour profiles) do not stop a picture from loading.
void onDecodeWarning(png_structp, png_const_charp) {}

// libpng leaves these functions by longjmp when the data is corrupt or cut short, so they
// keep no local that needs a destructor.
bool readHeader(png_structp png, png_infop info, std::FILE* fp, DecodeError* error) {
    if (setjmp(error->jump) != 0) {
        return false;
    }
    png_set_user_limits(png, kMaxSide, kMaxSide);
    // Only the pixels are used, and a text or profile chunk whose length is forged would be
    // allocated whole (2 GB for a file of 116 bytes) before the file is found too short:
    // every ancillary chunk but transparency is skipped unread.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_init_io(png, fp);
    png_set_sig_bytes(png, static_cast<int>(kSignatureBytes));
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool decodeRows(png_structp png, png_infop info, png_bytepp rows, DecodeError* error) {
    if (setjmp(error->jump) != 0) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

// Closes the file and frees the decoder on every way out of load().
class PngReadSession {
public:
    PngReadSession() = default;
    ~PngReadSession() {
        if (png != nullptr) {
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        }
        if (fp != nullptr) {
            std::fclose(fp);
        }
    }
    PngReadSession(const PngReadSession&) = delete;
    PngReadSession& operator=(const PngReadSession&) = delete;

    std::FILE* fp = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    DecodeError error = {};
};

// channel x 255 cut toward zero, keeping the low 8 bits, for any finite value.
unsigned char lowByte(float channel) {
    const double value = std::trunc(static_cast<double>(channel) * 255.0);
    if (!std::isfinite(value)) {
        return 0;
    }
    double wrapped = std::fmod(value, 256.0);
    if (wrapped < 0) {
        wrapped += 256.0;
    }
    return static_cast<unsigned char>(wrapped);
}

}  // namespace

Bitmap::Bitmap(const std::string& file, Renderer2D& renderer, bool activate)
    : _renderer(&renderer), _size(0, 0), _texture(0), _bitsPerPixel(32) {
    load(file);
    createBitmask(FILE_MASK_THRESHOLD);
    if (activate) {
        this->activate();
    }
}

Bitmap::Bitmap(const Vector2<unsigned int>& size, Renderer2D& renderer, const RGBA<float>& color)
    : _renderer(&renderer),
      _size(static_cast<int>(nearestPow2(size.x)), static_cast<int>(nearestPow2(size.y))),
      _texture(0),
      _bitsPerPixel(32) {
    const unsigned char pixel[4] = {lowByte(color.r), lowByte(color.g), lowByte(color.b), lowByte(color.a)};
    const std::size_t count = static_cast<std::size_t>(_size.x) * static_cast<std::size_t>(_size.y);
    _data.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(&_data[i * 4], pixel, 4);
    }
}

Bitmap::~Bitmap() {
    deactivate();
}

void Bitmap::load(const std::string& file) {
    PngReadSession session;
    // Never a named pipe, which would hold the game for ever, nor any other non-file. The
    // error says which file alone, so a line on standard error first says why.
    ReadFailure unopened;
    session.fp = openRegularFile(file, &unopened).release();
    if (session.fp == nullptr) {
        std::fprintf(stderr, "Cannot load picture file %s: %s\n", file.c_str(), unopened.reason.c_str());
        fail(quoted("cannot open file X ", file, ""));
    }
    png_byte signature[kSignatureBytes];
    if (std::fread(signature, 1, kSignatureBytes, session.fp) != kSignatureBytes) {
        fail(quoted("cannot read file ", file, ""));
    }
    if (png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
        fail(quoted("file ", file, " is not in png format"));
    }
    session.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session.error, onDecodeError, onDecodeWarning);
    if (session.png == nullptr) {
        fail(quoted("failed to create png_struct for file ", file, ""));
    }
    session.info = png_create_info_struct(session.png);
    if (session.info == nullptr) {
        fail(quoted("failed to create png_info for file ", file, ""));
    }
    // The header alone says whether the picture is of a kind we take: a refused file costs
    // no decoding and no memory for its pixels.
    if (!readHeader(session.png, session.info, session.fp, &session.error)) {
        fail(quoted("file ", file, " cannot be decoded: ") + session.error.message);
    }
    if (png_get_bit_depth(session.png, session.info) != 8 ||
        png_get_color_type(session.png, session.info) != PNG_COLOR_TYPE_RGB_ALPHA) {
        fail(quoted("file ", file, " has bad color type or bit-depth; must be RGBA, 8bpp"));
    }
    const png_uint_32 width = png_get_image_width(session.png, session.info);
    const png_uint_32 height = png_get_image_height(session.png, session.info);
    if (width != nearestPow2(width) || height != nearestPow2(height)) {
        fail(quoted("file ", file, " is not pow2 pixelsize"));
    }
    if (static_cast<std::uint64_t>(width) * height > kMaxPixels) {
        fail(quoted("file ", file, " is too large; must be at most ") + std::to_string(kMaxPixels) + " pixels");
    }

    // The PNG's first row is the top of the picture; ours is the bottom, so each row is
    // decoded straight into its place.
    const std::size_t rowBytes = png_get_rowbytes(session.png, session.info);
    std::vector<unsigned char> pixels(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 i = 0; i < height; ++i) {
        rows[i] = &pixels[(height - 1 - i) * rowBytes];
    }
    if (!decodeRows(session.png, session.info, rows.data(), &session.error)) {
        fail(quoted("file ", file, " cannot be decoded: ") + session.error.message);
    }
    _data.swap(pixels);
    _size.set(static_cast<int>(width), static_cast<int>(height));
    // A mask of the old pixels has the old size; the collision tests would read past its end.
    _bitmask.clear();
}

Bitmap& Bitmap::activate() {
    if (_texture == 0) {
        _renderer->makeTexture(*this, true);
    }
    return *this;
}

void Bitmap::deactivate() {
    // A bitmap that never got a texture makes no GL call, so it may die on any thread.
    if (_texture != 0) {
        _renderer->destroyTexture(*this);
    }
}

void Bitmap::createBitmask(unsigned char threshold) {
    if (_data.empty()) {
        return;
    }
    const int wordsPerRow = bitmaskWordsPerRow();
    _bitmask.assign(static_cast<std::size_t>(wordsPerRow) * static_cast<std::size_t>(_size.y), 0u);
    const unsigned char* pixel = _data.data();
    for (int y = 0; y < _size.y; ++y) {
        std::uint32_t* row = &_bitmask[static_cast<std::size_t>(y) * wordsPerRow];
        for (int x = 0; x < _size.x; ++x, pixel += 4) {
            if (pixel[3] >= threshold) {
                row[x / 32] |= 0x80000000u >> (x % 32);
            }
        }
    }
}

unsigned int Bitmap::nearestPow2(unsigned int n) {
    int k = 0;
    for (unsigned int rest = n; rest != 0; rest >>= 1) {
        ++k;
    }
    const unsigned int p = 1u << (k > 0 ? k - 1 : 0);
    return n == p ? p : 2 * p;
}

RGBA<unsigned char> Bitmap::pixelColor(const Vector2<int>& p) const {
    if (p.x < 0 || p.x >= _size.x || p.y < 0 || p.y >= _size.y) {
        return RGBA<unsigned char>(0, 0, 0, 0);
    }
    const unsigned char* pixel = &_data[(static_cast<std::size_t>(p.y) * _size.x + p.x) * 4];
    return RGBA<unsigned char>(pixel[0], pixel[1], pixel[2], pixel[3]);
}

}  // namespace Stelkor
