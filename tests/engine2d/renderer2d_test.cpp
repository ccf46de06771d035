#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>

#include "engine2d/bitmap.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"
#include "tests/support/gl_fixture.h"

using Stelkor::Bitmap;
using Stelkor::Image;
using Stelkor::Renderer2D;

namespace {

using Renderer2DGL = testsupport::GlFixture;

std::array<int, 4> pixelAt(int x, int y) {
    glFinish();
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::array<int, 4> rgb(int r, int g, int b) {
    return {r, g, b, 255};
}

void clearTo(Renderer2D& renderer, float r, float g, float b) {
    renderer.color(r, g, b, 1.0f);
    renderer.clear();
}

// Each pixel (x, y) of the bitmap (y from the bottom) gets colour (4x, 4y, 200).
void paintGradient(Bitmap& bitmap) {
    for (int y = 0; y < bitmap.h(); ++y) {
        for (int x = 0; x < bitmap.w(); ++x) {
            unsigned char* p = bitmap.data() + (y * bitmap.w() + x) * 4;
            p[0] = static_cast<unsigned char>(x * 4);
            p[1] = static_cast<unsigned char>(y * 4);
            p[2] = 200;
            p[3] = 255;
        }
    }
}

}  // namespace

TEST_F(Renderer2DGL, ViewportMapsOneUnitToOnePixelWithYUp) {
    Renderer2D renderer;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);

    renderer.vport(Quib::AABB2<int>(100, 50, 500, 350));
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 100);
    EXPECT_EQ(viewport[1], 50);
    EXPECT_EQ(viewport[2], 400);
    EXPECT_EQ(viewport[3], 300);
    EXPECT_EQ(renderer.vport(), Quib::AABB2<int>(100, 50, 500, 350));

    clearTo(renderer, 0, 0, 0);
    renderer.color(1, 1, 1, 1);
    renderer.drawBox(Quib::AABB2<float>(100, 50, 104, 54), true, false);
    EXPECT_EQ(pixelAt(101, 51), rgb(255, 255, 255));
    EXPECT_EQ(pixelAt(105, 51), rgb(0, 0, 0));
    EXPECT_EQ(pixelAt(101, 55), rgb(0, 0, 0));
}

TEST_F(Renderer2DGL, DrawsFilledOutlinedAndXorBoxes) {
    Renderer2D renderer;
    clearTo(renderer, 0, 0, 0);

    renderer.color(1, 0, 0, 1);
    renderer.drawBox(Quib::AABB2<int>(10, 10, 30, 30), true, false);
    EXPECT_EQ(pixelAt(20, 20), rgb(255, 0, 0));

    renderer.color(0, 1, 0, 1);
    renderer.drawBox(Quib::AABB2<float>(100.5f, 100.5f, 140.5f, 140.5f), false, false);
    EXPECT_EQ(pixelAt(120, 100), rgb(0, 255, 0));  // bottom edge
    EXPECT_EQ(pixelAt(100, 120), rgb(0, 255, 0));  // left edge
    EXPECT_EQ(pixelAt(120, 120), rgb(0, 0, 0));    // inside stays empty
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);

    // XOR white over the red box leaves cyan there and white beside it.
    renderer.color(1, 1, 1, 1);
    renderer.drawBox(Quib::AABB2<int>(20, 10, 40, 30), true, true);
    EXPECT_EQ(pixelAt(25, 20), rgb(0, 255, 255));
    EXPECT_EQ(pixelAt(35, 20), rgb(255, 255, 255));
    EXPECT_EQ(pixelAt(15, 20), rgb(255, 0, 0));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_LOGIC_OP));
}

TEST_F(Renderer2DGL, ActivatingTwiceMakesOneTextureAndDeactivatingDeletesIt) {
    Renderer2D renderer;
    Bitmap bitmap(Vector2<unsigned int>(4, 4), renderer, RGBA<float>(1, 1, 1, 1));
    bitmap.activate().activate();
    const unsigned int name = bitmap.texture();
    ASSERT_NE(name, 0u);
    EXPECT_TRUE(glIsTexture(name));
    ASSERT_EQ(renderer.textures().size(), 1u);
    EXPECT_EQ(renderer.textures().front(), name);

    bitmap.deactivate();
    EXPECT_EQ(bitmap.texture(), 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_TRUE(renderer.textures().empty());

    // Nothing to delete: the list stays as it was.
    Bitmap other(Vector2<unsigned int>(4, 4), renderer, RGBA<float>(1, 1, 1, 1));
    other.activate();
    bitmap.deactivate();
    EXPECT_EQ(renderer.textures().size(), 1u);
}

TEST_F(Renderer2DGL, TextureFilterReachesEveryTexture) {
    Renderer2D renderer;
    Bitmap a(Vector2<unsigned int>(4, 4), renderer, RGBA<float>(1, 1, 1, 1));
    Bitmap b(Vector2<unsigned int>(4, 4), renderer, RGBA<float>(1, 1, 1, 1));
    a.activate();
    b.activate();
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    for (const Bitmap* bitmap : {&a, &b}) {
        glBindTexture(GL_TEXTURE_2D, bitmap->texture());
        GLint mag = 0;
        GLint min = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
        EXPECT_EQ(mag, GL_NEAREST);
        EXPECT_EQ(min, GL_NEAREST);
    }
}

TEST_F(Renderer2DGL, ImageDrawsItsTexelsAboutThePivot) {
    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    Bitmap bitmap(Vector2<unsigned int>(64, 64), renderer, RGBA<float>());
    paintGradient(bitmap);
    bitmap.activate();
    clearTo(renderer, 0, 0, 0);
    renderer.color(1, 1, 1, 1);

    for (const bool cached : {true, false}) {
        const Image image(bitmap, Quib::AABB2<int>(8, 4, 40, 36), Vector2<int>(16, 10), cached);
        EXPECT_EQ(image.displayList() != 0, cached);
        renderer.drawImage(image, Vector2<float>(400, 300), 0, 1, 1);
        // Window pixel (400 + dx, 300 + dy) shows bitmap pixel (8 + 16 + dx, 4 + 10 + dy).
        EXPECT_EQ(pixelAt(400, 300), rgb(24 * 4, 14 * 4, 200));
        EXPECT_EQ(pixelAt(403, 297), rgb(27 * 4, 11 * 4, 200));
        EXPECT_EQ(pixelAt(400 - 16, 300 - 10), rgb(8 * 4, 4 * 4, 200));
        EXPECT_EQ(pixelAt(400 - 17, 300), rgb(0, 0, 0));
        clearTo(renderer, 0, 0, 0);
        renderer.color(1, 1, 1, 1);
    }
}

TEST_F(Renderer2DGL, ImageIsDrawnWithItsOwnTextureAfterAnotherIsMade) {
    Renderer2D renderer;
    Bitmap red(Vector2<unsigned int>(8, 8), renderer, RGBA<float>(1, 0, 0, 1));
    Bitmap green(Vector2<unsigned int>(8, 8), renderer, RGBA<float>(0, 1, 0, 1));
    red.activate();
    const Image image(red, Quib::AABB2<int>(0, 0, 8, 8), Vector2<int>(0, 0), true);
    clearTo(renderer, 0, 0, 0);
    renderer.color(1, 1, 1, 1);
    renderer.drawImage(image, Vector2<float>(10, 10), 0, 1, 1);
    green.activate();  // binds the new texture on its way
    renderer.drawImage(image, Vector2<float>(30, 10), 0, 1, 1);
    EXPECT_EQ(pixelAt(33, 13), rgb(255, 0, 0));

    red.deactivate();
    red.activate();  // may reuse the deleted name
    renderer.drawImage(image, Vector2<float>(50, 10), 0, 1, 1);
    EXPECT_EQ(pixelAt(53, 13), rgb(255, 0, 0));
}

TEST_F(Renderer2DGL, ScaledAndRotatedImageTurnsAboutThePivot) {
    Renderer2D renderer;
    renderer.textureFilter(Renderer2D::FILTER_NEAREST);
    Bitmap bitmap(Vector2<unsigned int>(16, 16), renderer, RGBA<float>(0, 0, 1, 1));
    bitmap.activate();
    const Image image(bitmap, Quib::AABB2<int>(0, 0, 10, 2), Vector2<int>(0, 1), false);
    clearTo(renderer, 0, 0, 0);
    renderer.color(1, 1, 1, 1);
    // A quarter turn (1.57 of the library's 6.28 per turn) points the bar up; scale 2 doubles it.
    renderer.drawImage(image, Vector2<float>(200, 200), 1.57f, 2, 1);
    EXPECT_EQ(pixelAt(200, 215), rgb(0, 0, 255));
    EXPECT_EQ(pixelAt(215, 200), rgb(0, 0, 0));
}
