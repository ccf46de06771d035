// Draws the font sheets and the logos with the game's own renderer and keeps screenshots of
// them next to the test binary (assets_text.png, assets_logos.png, assets_splash.png) for a
// person to look at; checks that the text lands where it was printed.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "engine2d/bitmap.h"
#include "engine2d/font.h"
#include "engine2d/image.h"
#include "engine2d/renderer2d.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/gl_readback.h"
#include "tests/support/png_writer.h"
#include "game/fontcharsets.h"

using Stelkor::Bitmap;
using Stelkor::Font;
using Stelkor::Image;
using Stelkor::Renderer2D;

namespace {

using AssetScreensGL = testsupport::GlFixture;

constexpr int kWidth = 800, kHeight = 600;

using testsupport::readScreen;

void saveScreen(const std::vector<unsigned char>& pixels, const std::string& name)
{
    testsupport::RgbaPicture picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
            picture.set(x, kHeight - 1 - y, p[0], p[1], p[2], 255);
        }
    testsupport::writePng(std::string(QUELLARIS_SCREENSHOT_DIR) + "/" + name, picture);
}

// Pixels of the band y0..y1 (from the bottom) brighter than the dark background.
int litPixels(const std::vector<unsigned char>& pixels, int y0, int y1)
{
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (pixels[(static_cast<size_t>(y) * kWidth + x) * 4] > 160)
                ++lit;
    return lit;
}

// Clears the bottom rows of the screen to the renderer's colour.
void clearStrip(Renderer2D& renderer, int height)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, kWidth, height);
    renderer.clear();
    glDisable(GL_SCISSOR_TEST);
}

struct Picture {
    std::unique_ptr<Bitmap> bitmap;
    std::unique_ptr<Image> image;
};

Picture picture(Renderer2D& renderer, const std::string& file, int w, int h, int pivotX, int pivotY)
{
    Picture p;
    p.bitmap = std::make_unique<Bitmap>("textures/" + file, renderer, true);
    p.image = std::make_unique<Image>(*p.bitmap, Quib::AABB2<int>(0, 0, w, h), Vector2<int>(pivotX, pivotY), false);
    return p;
}

}  // namespace

TEST_F(AssetScreensGL, FontsPrintReadableText)
{
    Renderer2D renderer;
    Font small("textures/font_small.png", fontcharsets::kCharsetA, 5, 16, 0, renderer, true);
    Font normal("textures/font.png", fontcharsets::kCharsetB, 5, 16, 0, renderer, true);
    Font big("textures/font_big.png", fontcharsets::kCharsetA, 5, 32, 2, renderer, true);

    renderer.color(0.12f, 0.14f, 0.22f, 1.0f);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    const std::string pangram = "The quick brown fox jumps over the lazy dog";
    renderer.font(small);
    renderer.print("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\n0123456789 .,:;!?_()*/+-=\"'&@\n" + pangram,
                   Vector2<float>(20, 580), Vector2<float>(1, 1));
    renderer.font(normal);
    renderer.print("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\n0123456789 -=][';,./\\~!#%^&*()_+{}\":<>?|$\n" +
                       pangram,
                   Vector2<float>(20, 500), Vector2<float>(1, 1));
    renderer.font(big);
    renderer.print("QUELLARIS: Get ready!\n" + pangram + "\nStage 10 - Score 12,345 (x3) @ 99%", Vector2<float>(20, 420),
                   Vector2<float>(1, 1));
    // Black on white, as the light colour schemes show the HUD.
    renderer.color(1, 1, 1, 1);
    clearStrip(renderer, 160);
    renderer.color(0, 0, 0, 1);
    renderer.font(normal);
    renderer.print("SCORE 004200   SHIELDS 87%   AMMO 120", Vector2<float>(20, 140), Vector2<float>(1, 1));
    renderer.font(big);
    renderer.print("Chaser destroyed - Very good!", Vector2<float>(20, 100), Vector2<float>(1, 1));

    const std::vector<unsigned char> pixels = readScreen();
    saveScreen(pixels, "assets_text.png");
    EXPECT_GT(litPixels(pixels, 540, 580), 1000);  // the small font's lines
    EXPECT_GT(litPixels(pixels, 460, 500), 1000);  // the normal font's lines
    EXPECT_GT(litPixels(pixels, 340, 420), 3000);  // the big font's lines
    EXPECT_EQ(litPixels(pixels, 250, 300), 0);     // nothing printed there
}

TEST_F(AssetScreensGL, LogosDrawOnDarkAndLight)
{
    Renderer2D renderer;
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    const Picture logo = picture(renderer, "logo1.png", 256, 128, 0, 128);
    const Picture zindle = picture(renderer, "logo_zindle.png", 256, 128, 128, 64);
    const Picture quendle = picture(renderer, "logo_quendle.png", 256, 256, 128, 128);
    const Picture small = picture(renderer, "logo_small.png", 128, 32, 0, 32);
    const Picture scores = picture(renderer, "high_scores.png", 128, 32, 0, 32);
    const Picture arrow = picture(renderer, "loading_arrow.png", 32, 32, 16, 16);
    const Picture zindleSmall = picture(renderer, "logo_zindle_small.png", 64, 32, 32, 16);
    const Picture quendleSmall = picture(renderer, "logo_quendle_small.png", 64, 64, 32, 32);
    renderer.drawImage(*logo.image, Vector2<float>(10, 590), 0, 1, 1);
    renderer.drawImage(*zindle.image, Vector2<float>(420, 520), 0, 1, 1);
    renderer.drawImage(*quendle.image, Vector2<float>(660, 460), 0, 0.9f, 0.9f);
    renderer.drawImage(*small.image, Vector2<float>(20, 440), 0, 1, 1);
    renderer.drawImage(*arrow.image, Vector2<float>(143, 428), 0, 0.8f, 0.8f);
    renderer.drawImage(*scores.image, Vector2<float>(20, 390), 0, 1, 1);
    renderer.drawImage(*zindleSmall.image, Vector2<float>(220, 400), 0, 0.75f, 0.75f);
    renderer.drawImage(*quendleSmall.image, Vector2<float>(300, 400), 0, 1, 1);
    // The title as the menu shows it over a light playfield.
    renderer.color(1, 1, 1, 1);
    clearStrip(renderer, 300);
    renderer.drawImage(*logo.image, Vector2<float>(-5, 260), 0, 0.7f, 0.7f);
    renderer.drawImage(*small.image, Vector2<float>(300, 250), 0, 1, 1);
    renderer.drawImage(*scores.image, Vector2<float>(300, 200), 0, 1, 1);

    const std::vector<unsigned char> pixels = readScreen();
    saveScreen(pixels, "assets_logos.png");
    EXPECT_GT(litPixels(pixels, 470, 590), 2000);
}

TEST_F(AssetScreensGL, FirstSplashFillsTheScreen)
{
    Renderer2D renderer;
    renderer.color(1, 1, 1, 1);
    renderer.clear();
    const Picture splash = picture(renderer, "splash_lumisk.png", 800, 600, 0, 0);
    renderer.drawImage(*splash.image, Vector2<float>(0, 0), 0, 1, 1);
    const std::vector<unsigned char> pixels = readScreen();
    saveScreen(pixels, "assets_splash.png");
    // Dark lettering in the lower half, white round it.
    int dark = 0;
    for (int y = 150; y < 280; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (pixels[(static_cast<size_t>(y) * kWidth + x) * 4] < 80)
                ++dark;
    EXPECT_GT(dark, 3000);
    EXPECT_EQ(pixels[(10 * kWidth + 10) * 4], 255);
}
