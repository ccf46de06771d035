#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <random>

#include "engine2d/bitmap.h"
#include "engine2d/renderer2d.h"
#include "tests/support/gl_fixture.h"
#include "world/bumpnoise.h"

using Vortel::BumpNoise;

namespace {

// The offsets of the first jumps, drawn from the standard library's own MT19937 with the
// reference seed: jump k uses output words 2k (s, in 256ths) and 2k + 1 (t, in 128ths).
Vector2<float> referenceOffset(int jump) {
    std::mt19937 reference(5489u);
    reference.discard(static_cast<unsigned long long>(2 * jump));
    const double s = static_cast<double>(reference()) / 4294967295.0;
    const double t = static_cast<double>(reference()) / 4294967295.0;
    return Vector2<float>(static_cast<float>(std::floor(s * 256.0) / 256.0),
                          static_cast<float>(std::floor(t * 128.0) / 128.0));
}

// A 256 x 128 noise picture whose texel at column c, row r reads red c, green 2r, blue 0,
// so a pixel on screen tells which texel landed there.
class BumpNoiseGL : public testsupport::GlFixture {
protected:
    void SetUp() override {
        testsupport::GlFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        renderer.reset(new Stelkor::Renderer2D);
        bitmap.reset(new Stelkor::Bitmap(Vector2<unsigned int>(256, 128), *renderer, RGBA<float>(0, 0, 0, 1)));
        for (int row = 0; row < 128; ++row) {
            for (int col = 0; col < 256; ++col) {
                unsigned char* texel = bitmap->data() + (row * 256 + col) * 4;
                texel[0] = static_cast<unsigned char>(col);
                texel[1] = static_cast<unsigned char>(2 * row);
            }
        }
        bitmap->activate();
    }
    void TearDown() override {
        bitmap.reset();
        renderer.reset();
        testsupport::GlFixture::TearDown();
    }

    // Blue backdrop, blending off: a drawn pixel has blue 0 whatever the flash's strength.
    void clearScreen() {
        glDisable(GL_BLEND);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    RGBA<int> pixel(int x, int y) {
        glFinish();
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return RGBA<int>(rgba[0], rgba[1], rgba[2], rgba[3]);
    }

    bool drawnAt(int x, int y) { return pixel(x, y).b == 0; }

    std::unique_ptr<Stelkor::Renderer2D> renderer;
    std::unique_ptr<Stelkor::Bitmap> bitmap;
    const Vector2<float> screen{800.0f, 600.0f};
};

TEST_F(BumpNoiseGL, FlashFadesFromThirtyPercentToNothingInFourTenths) {
    BumpNoise noise(*bitmap, screen);
    EXPECT_FLOAT_EQ(noise.alpha(), 0.0f);
    EXPECT_FALSE(noise.visible());

    noise.bump();
    EXPECT_FLOAT_EQ(noise.alpha(), 0.3f);
    noise.animate(0.2);
    EXPECT_NEAR(noise.alpha(), 0.15f, 1e-6);
    noise.animate(0.2);
    EXPECT_FLOAT_EQ(noise.alpha(), 0.0f);
    EXPECT_FALSE(noise.visible());

    // A bump in the middle of a fade starts it over.
    noise.bump();
    noise.animate(0.3);
    noise.bump();
    noise.animate(0.2);
    EXPECT_NEAR(noise.alpha(), 0.15f, 1e-6);

    noise.clear();
    EXPECT_FLOAT_EQ(noise.alpha(), 0.0f);
    clearScreen();
    noise.draw();
    EXPECT_FALSE(drawnAt(400, 300));
}

TEST_F(BumpNoiseGL, JumpsEveryFiftiethOfASecondOnlyWhileVisible) {
    BumpNoise noise(*bitmap, screen);
    noise.animate(1.0);  // invisible: no time gathers towards a jump
    noise.bump();
    noise.animate(0.01);
    EXPECT_EQ(noise.textureOffset(), Vector2<float>(0, 0));
    noise.animate(0.015);
    EXPECT_EQ(noise.textureOffset(), referenceOffset(0));

    // 0.05 s is two jumps, with 0.01 s left over.
    BumpNoise second(*bitmap, screen);
    second.bump();
    second.animate(0.05);
    EXPECT_EQ(second.textureOffset(), referenceOffset(1));
    second.animate(0.0105);
    EXPECT_EQ(second.textureOffset(), referenceOffset(2));
}

TEST_F(BumpNoiseGL, DrawsTheShiftedNoiseOverTheWholeWindowAndRestoresTheTextureMatrix) {
    BumpNoise noise(*bitmap, screen);
    noise.bump();
    noise.animate(0.05);
    clearScreen();
    noise.draw();

    // The window's centre shows the pivot texel (85, 64), moved by the offset and wrapped.
    const Vector2<float> offset = referenceOffset(1);
    const int column = (85 + static_cast<int>(offset.x * 256.0f)) % 256;
    const int row = (64 + static_cast<int>(offset.y * 128.0f)) % 128;
    const RGBA<int> centre = pixel(400, 300);
    EXPECT_EQ(centre.r, column);
    EXPECT_EQ(centre.g, 2 * row);
    EXPECT_TRUE(drawnAt(0, 0));
    EXPECT_TRUE(drawnAt(799, 599));

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat texture[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(texture[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    }
}

TEST_F(BumpNoiseGL, NotDrawnOnceFainterThanOnePercent) {
    BumpNoise noise(*bitmap, screen);
    noise.bump();
    noise.animate(0.385);  // alpha 0.01125
    clearScreen();
    noise.draw();
    EXPECT_TRUE(drawnAt(400, 300));

    noise.animate(0.0025);  // alpha 0.009375
    const Vector2<float> offset = noise.textureOffset();
    clearScreen();
    noise.draw();
    EXPECT_FALSE(drawnAt(400, 300));
    noise.animate(0.0);
    EXPECT_EQ(noise.textureOffset(), offset);
}

TEST_F(BumpNoiseGL, SharpensItsTextureAndKeepsTheRenderersBindingTrue) {
    const BumpNoise noise(*bitmap, screen);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), bitmap->texture());
    EXPECT_EQ(renderer->_boundTexture, bitmap->texture());
    GLint minFilter = 0;
    GLint magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(magFilter, GL_NEAREST);
}

TEST_F(BumpNoiseGL, CentredAndScaledToCoverTheScreen) {
    const BumpNoise standard(*bitmap, screen);
    EXPECT_EQ(standard.sprite().pos(), Vector2<float>(400, 300));
    EXPECT_EQ(standard.sprite()._scale, Vector2<float>(6, 6));

    const BumpNoise large(*bitmap, Vector2<float>(1280, 1024));
    EXPECT_EQ(large.sprite().pos(), Vector2<float>(640, 512));
    EXPECT_GE(large.sprite()._scale.x * 170.0f, 1280.0f);
    EXPECT_GE(large.sprite()._scale.y * 128.0f, 1024.0f);
    EXPECT_EQ(large.sprite()._scale.x, large.sprite()._scale.y);
}

}  // namespace
