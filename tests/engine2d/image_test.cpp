#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <thread>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/imagesequence.h"
#include "engine2d/renderer2d.h"
#include "tests/support/gl_fixture.h"

using Stelkor::Bitmap;
using Stelkor::Image;
using Stelkor::ImageSequence;
using Stelkor::Renderer2D;

namespace {

// Images without a display list make no GL call; the renderer's set-up does nothing here.
class ImageTest : public ::testing::Test {
protected:
    Renderer2D renderer;

    std::unique_ptr<Bitmap> blank(unsigned int w, unsigned int h, float alpha) {
        return std::unique_ptr<Bitmap>(new Bitmap(Vector2<unsigned int>(w, h), renderer, RGBA<float>(1, 1, 1, alpha)));
    }
};

void setAlpha(Bitmap& bitmap, int x, int y, unsigned char alpha) {
    bitmap.data()[(y * bitmap.w() + x) * 4 + 3] = alpha;
}

}  // namespace

TEST_F(ImageTest, QuadFollowsRectangleAndPivot) {
    const auto bitmap = blank(64, 64, 1);
    Image image(*bitmap, Quib::AABB2<int>(0, 0, 32, 8), Vector2<int>(8, 4), false);
    const float* v = image.vertArray();
    const float expected[20] = {0, 0, -8, -4, 0, 0.5f, 0, 24, -4, 0, 0.5f, 0.125f, 24, 4, 0, 0, 0.125f, -8, 4, 0};
    for (int i = 0; i < 20; ++i) {
        EXPECT_FLOAT_EQ(v[i], expected[i]) << "float " << i;
    }
    EXPECT_EQ(image.vertIndicesCount(), 4);
    EXPECT_EQ(image.vertIndices()[3], 3u);
    EXPECT_EQ(image.size(), Vector2<int>(32, 8));

    image.redefine(Quib::AABB2<int>(16, 32, 48, 64), Vector2<int>(0, 0), false);
    EXPECT_EQ(image.bitmapPos(), Vector2<int>(16, 32));
    EXPECT_FLOAT_EQ(image.vertArray()[0], 0.25f);
    EXPECT_FLOAT_EQ(image.vertArray()[1], 0.5f);
    EXPECT_FLOAT_EQ(image.vertArray()[12], 32.0f);
    EXPECT_EQ(image.displayList(), 0u);
}

TEST_F(ImageTest, PixelUnderAPointCountsFromThePivot) {
    const auto bitmap = blank(16, 16, 1);
    bitmap->data()[(6 * 16 + 7) * 4] = 9;  // pixel (7, 6)
    const Image image(*bitmap, Quib::AABB2<int>(4, 4, 12, 12), Vector2<int>(3, 2), false);
    EXPECT_EQ(image.pixelColor(Vector2<float>(50, 50), Vector2<float>(50.9f, 50.2f)).r, 9);
    EXPECT_EQ(image.pixelColor(Vector2<float>(50, 50), Vector2<float>(46, 50)), RGBA<unsigned char>(0, 0, 0, 0));
    EXPECT_EQ(image.pixelColor(Vector2<float>(50, 50), Vector2<float>(47, 48)).a, 255);
    EXPECT_EQ(image.pixelColor(Vector2<float>(50, 50), Vector2<float>(55, 50)), RGBA<unsigned char>(0, 0, 0, 0));
}

TEST_F(ImageTest, BoxAndPolygonTestsLeaveOutTheLastColumnAndRow) {
    const auto bitmap = blank(8, 8, 1);
    const Image image(*bitmap, Quib::AABB2<int>(0, 0, 8, 8), Vector2<int>(0, 0), false);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10, 10), 128, Quib::AABB2<float>(10, 10, 18, 18)), 49);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10.9f, 10.9f), 128, Quib::AABB2<float>(0, 0, 12.5f, 12.5f)), 1);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10, 10), 128, Quib::AABB2<float>(18, 10, 30, 18)), 0);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10, 10), 128, Quib::AABB2<float>(19, 10, 30, 18)), 0);

    setAlpha(*bitmap, 0, 0, 127);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10, 10), 128, Quib::AABB2<float>(10, 10, 18, 18)), 48);

    const std::vector<Vector2<float> > triangle = {Vector2<float>(10, 10), Vector2<float>(18, 10),
                                                   Vector2<float>(10, 18)};
    const int inside = Image::collision(image, Vector2<float>(10, 10), 100, triangle);
    EXPECT_GT(inside, 10);
    EXPECT_LT(inside, 40);
    EXPECT_EQ(Image::collision(image, Vector2<float>(10, 10), 100, std::vector<Vector2<float> >()), 0);
}

TEST_F(ImageTest, ImagesTouchWhereBothAreOpaqueEnough) {
    const auto a = blank(16, 16, 0);
    const auto b = blank(16, 16, 0);
    setAlpha(*a, 5, 5, 200);
    setAlpha(*b, 3, 2, 200);
    const Image imageA(*a, Quib::AABB2<int>(0, 0, 16, 16), Vector2<int>(0, 0), false);
    const Image imageB(*b, Quib::AABB2<int>(0, 0, 16, 16), Vector2<int>(0, 0), false);
    // a's pixel (5, 5) at (105, 105); b's pixel (3, 2) lands there with b at (102, 103).
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(100, 100), 150, imageB, Vector2<float>(102, 103), 150), 1);
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(100, 100), 150, imageB, Vector2<float>(102, 104), 150), 0);
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(100, 100), 250, imageB, Vector2<float>(102, 103), 150), 0);
}

TEST_F(ImageTest, MaskTestCountsSharedSpansAcrossWordBoundaries) {
    const auto a = blank(64, 4, 0);
    const auto b = blank(64, 4, 0);
    setAlpha(*a, 40, 1, 255);  // second mask word of a
    setAlpha(*b, 3, 1, 255);   // first mask word of b
    a->createBitmask(100);
    b->createBitmask(100);
    const Image imageA(*a, Quib::AABB2<int>(0, 0, 64, 4), Vector2<int>(0, 0), false);
    const Image imageB(*b, Quib::AABB2<int>(0, 0, 64, 4), Vector2<int>(0, 0), false);
    // b shifted 37 pixels right puts its pixel 3 on a's pixel 40.
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(0, 0), imageB, Vector2<float>(37, 0)), 1);
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(0, 0), imageB, Vector2<float>(36, 0)), 0);
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(0, 0), imageB, Vector2<float>(37, 1)), 0);
    // Without masks (blank bitmaps have none until asked) nothing can touch.
    const auto plain = blank(64, 4, 1);
    const Image imageC(*plain, Quib::AABB2<int>(0, 0, 64, 4), Vector2<int>(0, 0), false);
    EXPECT_EQ(Image::collision(imageA, Vector2<float>(0, 0), imageC, Vector2<float>(0, 0)), 0);
}

TEST_F(ImageTest, SequenceCutsCellsFromTheBottomLeft) {
    const auto bitmap = blank(64, 32, 1);
    ImageSequence sequence(*bitmap, 20, 20, 0, 0, -1);
    ASSERT_EQ(sequence.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sequence.image(i)->size(), Vector2<int>(19, 19));
        EXPECT_EQ(sequence.image(i)->pivot(), Vector2<int>(10, 10));
        EXPECT_EQ(sequence.image(i)->bitmapPos(), Vector2<int>(20 * i, 0));
    }
    EXPECT_EQ(sequence.image(-1), sequence.image(0));
    EXPECT_EQ(sequence.image(3), sequence.image(2));
    sequence.destroyImages();
    EXPECT_EQ(sequence.count(), 0);
    EXPECT_EQ(sequence.image(0), nullptr);

    const ImageSequence limited(*bitmap, Vector2<int>(20, 20), Vector2<int>(0, 0), 2);
    EXPECT_EQ(limited.count(), 2);
    ImageSequence(limited).destroyImages();

    ImageSequence gapped(*bitmap, 16, 8, 4, 4, -1);
    EXPECT_EQ(gapped.count(), 9);  // 3 columns (0, 20, 40) by 3 rows (0, 12, 24)
    EXPECT_EQ(gapped.image(8)->bitmapPos(), Vector2<int>(40, 24));
    gapped.destroyImages();
}

TEST_F(ImageTest, SequenceRefusesAStepThatDoesNotAdvance) {
    const auto bitmap = blank(64, 32, 1);
    ImageSequence sequence;
    EXPECT_THROW(sequence.add(*bitmap, 8, 8, -8, 0, -1), std::runtime_error);
    EXPECT_THROW(sequence.add(*bitmap, 8, 0, 0, 0, -1), std::runtime_error);
    EXPECT_EQ(sequence.count(), 0);
}

namespace {

using ImageGL = testsupport::GlFixture;

std::array<int, 4> pixelAt(int x, int y) {
    glFinish();
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

}  // namespace

TEST_F(ImageGL, ImageFromAThreadWithoutContextDrawsFromItsArrays) {
    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    Bitmap bitmap(Vector2<unsigned int>(16, 16), renderer, RGBA<float>(0, 0, 0, 1));
    for (int i = 0; i < 16 * 16; ++i) {
        bitmap.data()[i * 4] = static_cast<unsigned char>(i);
    }
    std::unique_ptr<Image> loaded;
    std::thread loader([&] { loaded.reset(new Image(bitmap, Quib::AABB2<int>(2, 2, 12, 12), Vector2<int>(5, 5), true)); });
    loader.join();
    const Image local(bitmap, Quib::AABB2<int>(2, 2, 12, 12), Vector2<int>(5, 5), true);
    EXPECT_EQ(loaded->displayList(), 0u);
    ASSERT_NE(local.displayList(), 0u);
    EXPECT_TRUE(glIsList(local.displayList()));

    bitmap.activate();
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.drawImage(*loaded, Vector2<float>(100, 100), 0, 1, 1);
    renderer.drawImage(local, Vector2<float>(300, 100), 0, 1, 1);
    for (int dy = -5; dy < 5; ++dy) {
        for (int dx = -5; dx < 5; ++dx) {
            ASSERT_EQ(pixelAt(100 + dx, 100 + dy), pixelAt(300 + dx, 100 + dy)) << dx << "," << dy;
        }
    }
    EXPECT_EQ(pixelAt(100 - 5, 100 - 5)[0], 2 * 16 + 2);
}

TEST_F(ImageGL, RedefineReplacesTheDisplayList) {
    Renderer2D renderer;
    Bitmap bitmap(Vector2<unsigned int>(16, 16), renderer, RGBA<float>(1, 1, 1, 1));
    Image image(bitmap, Quib::AABB2<int>(0, 0, 8, 8), Vector2<int>(0, 0), true);
    const unsigned int first = image.displayList();
    ASSERT_NE(first, 0u);
    image.redefine(Quib::AABB2<int>(0, 0, 4, 4), Vector2<int>(0, 0), false);
    EXPECT_EQ(image.displayList(), 0u);
    EXPECT_FALSE(glIsList(first));
}
