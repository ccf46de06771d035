#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine2d/bitmap.h"
#include "engine2d/renderer2d.h"
#include "tests/tools/assets/catalogue.h"

using Stelkor::Bitmap;
using Stelkor::Renderer2D;

namespace {

std::unique_ptr<Bitmap> load(Renderer2D& renderer, const std::string& file)
{
    return std::make_unique<Bitmap>("textures/" + file, renderer, false);
}

bool isPow2(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

// The game's loader refuses anything but 8-bit RGBA with power-of-two sides, so loading is the
// format check; the sizes must hold the rectangles the game cuts.
TEST(Pictures, EveryPictureLoadsAtItsSizeAndHoldsItsCutRectangle)
{
    Renderer2D renderer;
    for (const catalogue::Picture& p : catalogue::pictures()) {
        SCOPED_TRACE(p.file);
        std::unique_ptr<Bitmap> bitmap;
        ASSERT_NO_THROW(bitmap = load(renderer, p.file));
        EXPECT_TRUE(isPow2(bitmap->w()) && isPow2(bitmap->h()));
        EXPECT_EQ(bitmap->w(), p.width);
        EXPECT_EQ(bitmap->h(), p.height);
        EXPECT_GE(bitmap->w(), p.cutWidth);
        EXPECT_GE(bitmap->h(), p.cutHeight);
    }
}

TEST(Pictures, SkyFacesAreSquareEqualAndOfModerateBrightness)
{
    Renderer2D renderer;
    double sum = 0.0;
    long count = 0;
    int side = 0;
    for (int face = 0; face < 6; ++face) {
        const auto bitmap = load(renderer, "environment" + std::to_string(face) + ".png");
        EXPECT_EQ(bitmap->w(), bitmap->h());
        if (face == 0)
            side = bitmap->w();
        EXPECT_EQ(bitmap->w(), side);
        for (int y = 0; y < bitmap->h(); ++y)
            for (int x = 0; x < bitmap->w(); ++x) {
                const RGBA<unsigned char> c = bitmap->pixelColor(Vector2<int>(x, y));
                EXPECT_EQ(c.a, 255) << "face " << face;
                sum += (c.r + c.g + c.b) / (3.0 * 255.0);
                ++count;
            }
    }
    const double mean = sum / count;
    EXPECT_GE(mean, 0.25);
    EXPECT_LE(mean, 0.4);
}

// +x's first column and +z's last column look along the same directions (towards (1, y, 1)),
// so where the faces meet their colours nearly agree.
TEST(Pictures, SkyFacesJoinWithoutSeams)
{
    Renderer2D renderer;
    const auto px = load(renderer, "environment0.png");
    const auto pz = load(renderer, "environment4.png");
    const int n = px->w();
    double difference = 0.0;
    for (int t = 0; t < n; ++t) {
        const RGBA<unsigned char> a = px->pixelColor(Vector2<int>(0, t));
        const RGBA<unsigned char> b = pz->pixelColor(Vector2<int>(n - 1, t));
        difference += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    EXPECT_LT(difference / (3.0 * n), 6.0);
}

TEST(Pictures, SpritesKeepAClearMargin)
{
    Renderer2D renderer;
    for (const std::string& file : catalogue::marginedSprites()) {
        SCOPED_TRACE(file);
        const auto bitmap = load(renderer, file);
        const int w = bitmap->w(), h = bitmap->h();
        int inked = 0;
        for (int x = 0; x < w; ++x)
            inked += bitmap->pixelColor(Vector2<int>(x, 0)).a + bitmap->pixelColor(Vector2<int>(x, h - 1)).a;
        for (int y = 0; y < h; ++y)
            inked += bitmap->pixelColor(Vector2<int>(0, y)).a + bitmap->pixelColor(Vector2<int>(w - 1, y)).a;
        EXPECT_EQ(inked, 0);
    }
}

TEST(Pictures, OpaqueWhereTheGameShowsThemWhole)
{
    Renderer2D renderer;
    const struct {
        const char* file;
        int w, h;
        int minAlpha;
    } opaque[] = {{"splash_lumisk.png", 800, 600, 255}, {"noise.png", 170, 128, 255}, {"slider_handle.png", 12, 12, 128}};
    for (const auto& o : opaque) {
        SCOPED_TRACE(o.file);
        const auto bitmap = load(renderer, o.file);
        int lowest = 255;
        for (int y = 0; y < o.h; ++y)
            for (int x = 0; x < o.w; ++x)
                lowest = std::min<int>(lowest, bitmap->pixelColor(Vector2<int>(x, y)).a);
        EXPECT_GE(lowest, o.minAlpha);
    }
}

// The loading arrow spins right of the small title, from x = 105 on.
TEST(Pictures, SmallTitleLeavesRoomForTheLoadingArrow)
{
    Renderer2D renderer;
    const auto bitmap = load(renderer, "logo_small.png");
    int inkRight = 0, inkLeft = 0;
    for (int y = 0; y < bitmap->h(); ++y)
        for (int x = 0; x < bitmap->w(); ++x)
            (x >= 105 ? inkRight : inkLeft) += bitmap->pixelColor(Vector2<int>(x, y)).a;
    EXPECT_EQ(inkRight, 0);
    EXPECT_GT(inkLeft, 0);
}

// Logos and captions are drawn inside the rectangle the game cuts, and are not blank.
TEST(Pictures, CutPicturesHaveInkInsideTheirRectangleOnly)
{
    Renderer2D renderer;
    for (const char* file : {"paused.png", "slider_bar.png", "slider_handle.png", "high_scores.png", "logo1.png",
                             "logo_zindle.png", "logo_quendle.png", "logo_zindle_small.png", "logo_quendle_small.png"}) {
        SCOPED_TRACE(file);
        const catalogue::Picture* p = nullptr;
        for (const catalogue::Picture& q : catalogue::pictures())
            if (q.file == file)
                p = &q;
        ASSERT_NE(p, nullptr);
        const auto bitmap = load(renderer, file);
        long inside = 0, outside = 0;
        for (int y = 0; y < bitmap->h(); ++y)
            for (int x = 0; x < bitmap->w(); ++x)
                (x < p->cutWidth && y < p->cutHeight ? inside : outside) += bitmap->pixelColor(Vector2<int>(x, y)).a;
        EXPECT_GT(inside, 0);
        EXPECT_EQ(outside, 0);
    }
}

// The first splash's sun rays end above the studio's name instead of crossing its letters.
TEST(Pictures, SplashRaysStayClearOfTheLettering)
{
    Renderer2D renderer;
    const auto bitmap = load(renderer, "splash_lumisk.png");
    int raysInLetterRows = 0;
    for (int y = 0; y < 600; ++y) {
        bool lettered = false, rayed = false;
        for (int x = 0; x < 800; ++x) {
            const RGBA<unsigned char> c = bitmap->pixelColor(Vector2<int>(x, y));
            lettered |= c.r < 80 && c.g < 80 && c.b < 100;
            rayed |= c.r > 200 && c.g > 90 && c.g < 200 && c.b < 120;
        }
        raysInLetterRows += lettered && rayed;
    }
    EXPECT_EQ(raysInLetterRows, 0);
}
