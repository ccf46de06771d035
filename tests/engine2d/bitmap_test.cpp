#include <gtest/gtest.h>
#include <png.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/renderer2d.h"
#include "tests/support/png_writer.h"

using Stelkor::Bitmap;

namespace {

// Loading never touches GL, but a bitmap needs its renderer; without a current context the
// renderer's set-up calls do nothing.
class BitmapTest : public ::testing::Test {
protected:
    Stelkor::Renderer2D renderer;
};

std::string loadError(const std::string& file, Stelkor::Renderer2D& renderer) {
    try {
        Bitmap bitmap(file, renderer, false);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "loaded";
}

std::vector<std::uint8_t> packed(int width, int height, int bytesPerPixel) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * bytesPerPixel, 0x80);
}

// A small PNG whose header claims side x side pixels: its pixel data is far too short.
void writeBigHeader(const std::string& file, int colorType, int bitDepth, std::uint32_t side) {
    testsupport::writePng(file, 1, 1, colorType, bitDepth, packed(1, 1, bitDepth / 2));
    std::vector<std::uint8_t> bytes = testsupport::readBytes(file);
    for (int i = 0; i < 8; ++i) {
        bytes[16 + i] = static_cast<std::uint8_t>(side >> (24 - 8 * (i % 4)));
    }
    std::uint32_t crc = 0xffffffffu;  // over the chunk type and the 13 header bytes
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i) {
        bytes[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    testsupport::writeBytes(file, bytes);
}

}  // namespace

TEST_F(BitmapTest, RefusesEveryFileItCannotUseWithItsOwnMessage) {
    testsupport::writePng("bm_100x64.png", testsupport::RgbaPicture(100, 64));
    testsupport::writePng("bm_rgb.png", 64, 64, PNG_COLOR_TYPE_RGB, 8, packed(64, 64, 3));
    testsupport::writePng("bm_16bit.png", 64, 64, PNG_COLOR_TYPE_RGB_ALPHA, 16, packed(64, 64, 8));
    testsupport::writePng("bm_palette.png", 64, 64, PNG_COLOR_TYPE_PALETTE, 8, packed(64, 64, 1));
    testsupport::writePng("bm_grey_alpha.png", 64, 64, PNG_COLOR_TYPE_GRAY_ALPHA, 8, packed(64, 64, 2));
    testsupport::writeBytes("bm_5bytes.png", {0x89, 'P', 'N', 'G', '\r'});
    writeBigHeader("bm_16bit_huge.png", PNG_COLOR_TYPE_RGB_ALPHA, 16, 8192);
    writeBigHeader("bm_huge.png", PNG_COLOR_TYPE_RGB_ALPHA, 8, 4096);
    testsupport::writeBytes("bm_text.png", std::vector<std::uint8_t>(40, 'x'));

    testsupport::RgbaPicture noisy(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            noisy.set(x, y, static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(x ^ y),
                      static_cast<std::uint8_t>(y * 13), static_cast<std::uint8_t>(x + y * 3));
        }
    }
    testsupport::writePng("bm_whole.png", noisy);
    std::vector<std::uint8_t> bytes = testsupport::readBytes("bm_whole.png");
    bytes.resize(bytes.size() / 2);
    testsupport::writeBytes("bm_truncated.png", bytes);

    const std::string badType = "' has bad color type or bit-depth; must be RGBA, 8bpp";
    EXPECT_EQ(loadError("bm_100x64.png", renderer), "file 'bm_100x64.png' is not pow2 pixelsize");
    EXPECT_EQ(loadError("bm_rgb.png", renderer), "file 'bm_rgb.png" + badType);
    EXPECT_EQ(loadError("bm_16bit.png", renderer), "file 'bm_16bit.png" + badType);
    // Refused from its header, before half a gigabyte of rows is set aside for decoding.
    EXPECT_EQ(loadError("bm_16bit_huge.png", renderer), "file 'bm_16bit_huge.png" + badType);
    // 4096 x 4096 would cost 64 MB of pixels from a header of 45 bytes.
    EXPECT_EQ(loadError("bm_huge.png", renderer), "file 'bm_huge.png' is too large; must be at most 4194304 pixels");
    EXPECT_EQ(loadError("bm_palette.png", renderer), "file 'bm_palette.png" + badType);
    EXPECT_EQ(loadError("bm_grey_alpha.png", renderer), "file 'bm_grey_alpha.png" + badType);
    EXPECT_EQ(loadError("bm_5bytes.png", renderer), "cannot read file 'bm_5bytes.png'");
    EXPECT_EQ(loadError("bm_text.png", renderer), "file 'bm_text.png' is not in png format");
    EXPECT_EQ(loadError("bm_missing.png", renderer), "cannot open file X 'bm_missing.png'");
    const std::string truncated = loadError("bm_truncated.png", renderer);
    EXPECT_EQ(truncated.rfind("file 'bm_truncated.png' cannot be decoded: ", 0), 0u) << truncated;
    EXPECT_EQ(loadError("bm_whole.png", renderer), "loaded");
}

TEST_F(BitmapTest, FailedReloadKeepsThePicture) {
    testsupport::RgbaPicture picture(2, 2);
    picture.fill(1, 2, 3, 4);
    testsupport::writePng("bm_keep.png", picture);
    testsupport::writePng("bm_keep_bad.png", testsupport::RgbaPicture(3, 2));
    Bitmap bitmap("bm_keep.png", renderer, false);
    EXPECT_THROW(bitmap.load("bm_keep_bad.png"), std::runtime_error);
    EXPECT_EQ(bitmap.w(), 2);
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(1, 1)), RGBA<unsigned char>(1, 2, 3, 4));
}

TEST_F(BitmapTest, ReloadDropsTheMaskOfTheOldPixels) {
    testsupport::RgbaPicture small(2, 2);
    small.fill(0, 0, 0, 255);
    testsupport::writePng("bm_reload_small.png", small);
    testsupport::writePng("bm_reload_big.png", testsupport::RgbaPicture(64, 64));
    Bitmap bitmap("bm_reload_small.png", renderer, false);
    bitmap.load("bm_reload_big.png");
    EXPECT_EQ(bitmap.bitmaskData(), nullptr);
    bitmap.createBitmask(100);
    ASSERT_NE(bitmap.bitmaskData(), nullptr);
    EXPECT_EQ(bitmap.bitmaskData()[64 * 2 - 1], 0u);
}

TEST_F(BitmapTest, StoresRowsBottomUpAndMasksAlphaFromOneHundred) {
    testsupport::RgbaPicture picture(256, 256);
    picture.set(0, 0, 255, 0, 0, 255);      // top-left of the picture
    picture.set(0, 255, 0, 0, 255, 100);    // bottom-left: just opaque enough for the mask
    picture.set(1, 255, 0, 255, 0, 99);     // just too faint
    picture.set(33, 255, 9, 9, 9, 255);     // second word of the row
    testsupport::writePng("bm_256.png", picture);

    const Bitmap bitmap("bm_256.png", renderer, false);
    ASSERT_EQ(bitmap.w(), 256);
    ASSERT_EQ(bitmap.h(), 256);
    EXPECT_EQ(bitmap.data()[(255 * 256) * 4 + 0], 255);
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(0, 255)), RGBA<unsigned char>(255, 0, 0, 255));
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(0, 0)), RGBA<unsigned char>(0, 0, 255, 100));
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(-1, 0)), RGBA<unsigned char>(0, 0, 0, 0));
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(256, 0)), RGBA<unsigned char>(0, 0, 0, 0));
    EXPECT_EQ(bitmap.pixelColor(Vector2<int>(0, 256)), RGBA<unsigned char>(0, 0, 0, 0));

    ASSERT_NE(bitmap.bitmaskData(), nullptr);
    ASSERT_EQ(bitmap.bitmaskWordsPerRow(), 8);
    const std::uint32_t* row0 = bitmap.bitmaskData();
    EXPECT_EQ(row0[0], 0x80000000u);
    EXPECT_EQ(row0[1], 0x40000000u);
    const std::uint32_t* row255 = bitmap.bitmaskData() + 255 * 8;
    EXPECT_EQ(row255[0], 0x80000000u);
}

TEST_F(BitmapTest, NarrowMaskUsesOnlyTheLeadingBitsOfItsWord) {
    testsupport::RgbaPicture picture(8, 2);
    picture.fill(255, 255, 255, 255);
    testsupport::writePng("bm_narrow.png", picture);
    const Bitmap bitmap("bm_narrow.png", renderer, false);
    ASSERT_EQ(bitmap.bitmaskWordsPerRow(), 1);
    EXPECT_EQ(bitmap.bitmaskData()[0], 0xFF000000u);
    EXPECT_EQ(bitmap.bitmaskData()[1], 0xFF000000u);
}

TEST_F(BitmapTest, BlankBitmapRoundsSidesUpAndTruncatesTheColour) {
    const Bitmap blank(Vector2<unsigned int>(100, 3), renderer, RGBA<float>(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(blank.w(), 128);
    EXPECT_EQ(blank.h(), 4);
    EXPECT_EQ(blank.bitmaskData(), nullptr);
    EXPECT_EQ(blank.texture(), 0u);
    EXPECT_EQ(blank.pixelColor(Vector2<int>(0, 0)), RGBA<unsigned char>(255, 127, 0, 255));
    EXPECT_EQ(blank.pixelColor(Vector2<int>(127, 3)), RGBA<unsigned char>(255, 127, 0, 255));

    // Out-of-range channels keep their low 8 bits: 2 x 255 = 510 -> 254.
    const Bitmap odd(Vector2<unsigned int>(1, 1), renderer, RGBA<float>(2.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(odd.pixelColor(Vector2<int>(0, 0)).r, 254);
}

TEST(BitmapPow2, RoundsUpToAPowerOfTwo) {
    EXPECT_EQ(Bitmap::nearestPow2(0), 2u);
    EXPECT_EQ(Bitmap::nearestPow2(1), 1u);
    EXPECT_EQ(Bitmap::nearestPow2(3), 4u);
    EXPECT_EQ(Bitmap::nearestPow2(64), 64u);
    EXPECT_EQ(Bitmap::nearestPow2(65), 128u);
}
