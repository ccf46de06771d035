// Small interface pictures: loading arrow, pause sign, cross-hair, arrows, slider parts, static.
#include <cmath>

#include "tools/assetgen/generators.h"
#include "tools/assetgen/mask.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sdf.h"

namespace assetgen {

namespace {

const Color kWhite = rgba(1, 1, 1);
const Color kClear = rgba(1, 1, 1, 0);
const Color kDark = rgba(0.08f, 0.08f, 0.1f);

// A white shape with a dark outline (tinted by the game where it is drawn).
template <typename Sdf>
void outlined(Canvas& c, Sdf shape, double outline)
{
    Mask border(c.width(), c.height());
    border.shape([&](double x, double y) { return shape(x, y) - outline; });
    border.paint(c, kDark);
    Mask fill(c.width(), c.height());
    fill.shape(shape);
    fill.paint(c, kWhite);
}

// A circular arrow turning clockwise, the way the loading sprite spins.
void writeLoadingArrow(const Output& out)
{
    Canvas c(32, 32, kClear);
    const double cx = 16, cy = 16, r = 9, from = 0.35, to = 5.1;
    Mask arrow(32, 32);
    arrow.shape([&](double x, double y) { return sdf::arc(x, y, cx, cy, r, 2.2, from, to); });
    // Head at the start of the arc, pointing clockwise along it.
    const double hx = cx + r * std::cos(from), hy = cy + r * std::sin(from);
    const double tx = std::sin(from), ty = -std::cos(from);  // clockwise tangent
    const double nx = std::cos(from), ny = std::sin(from);
    arrow.shape([&](double x, double y) {
        return sdf::polygon(x, y, {{hx + tx * 6.0, hy + ty * 6.0}, {hx + nx * 5.0, hy + ny * 5.0}, {hx - nx * 5.0, hy - ny * 5.0}});
    });
    arrow.grown(1.0f).paint(c, kDark);
    arrow.paint(c, [&](int, int y) { return mix(rgba(0.4f, 0.85f, 1.0f), kWhite, static_cast<float>(y) / 32.0f); });
    c.savePng(out.path("textures/loading_arrow.png"));
}

// Pause sign: two bars in the 41 x 48 corner the game cuts.
void writePaused(const Output& out)
{
    Canvas c(64, 64, kClear);
    outlined(c, [](double x, double y) {
        return std::min(sdf::box(x, y, 13.5, 24, 5.5, 17, 2), sdf::box(x, y, 27.5, 24, 5.5, 17, 2));
    }, 2.0);
    c.savePng(out.path("textures/paused.png"));
}

void writeTarget(const Output& out)
{
    Canvas c(32, 32, kClear);
    Mask m(32, 32);
    m.shape([](double x, double y) { return sdf::ring(x, y, 16, 16, 8.5, 0.9); });
    m.shape([](double x, double y) {
        const double ax = std::abs(x - 16), ay = std::abs(y - 16);
        return std::min(sdf::segment(ax, ay, 4, 0, 14, 0, 0.9), sdf::segment(ax, ay, 0, 4, 0, 14, 0.9));
    });
    m.shape([](double x, double y) { return sdf::circle(x, y, 16, 16, 1.3); });
    m.paint(c, kWhite);
    c.savePng(out.path("textures/target.png"));
}

void writeArrows(const Output& out)
{
    Canvas left(64, 64, kClear);
    outlined(left, [](double x, double y) {
        return sdf::polygon(x, y, {{7, 32}, {30, 55}, {30, 42}, {56, 42}, {56, 22}, {30, 22}, {30, 9}});
    }, 2.5);
    left.savePng(out.path("textures/arrow_left.png"));

    Canvas small(16, 16, kClear);
    outlined(small, [](double x, double y) { return sdf::polygon(x, y, {{4, 3}, {13, 8}, {4, 13}}); }, 1.0);
    small.savePng(out.path("textures/arrow_small.png"));
}

// The slider: an opaque 12 x 12 handle (every pixel can be grabbed) and an 81-pixel track with a
// tick every 8 pixels.
void writeSlider(const Output& out)
{
    Canvas handle(16, 16, kClear);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool edge = x == 0 || y == 0 || x == 11 || y == 11;
            const float shade = 0.55f + 0.04f * static_cast<float>(y);
            handle.at(x, y) = edge ? rgba(0.15f, 0.15f, 0.18f) : rgba(shade, shade, shade + 0.05f);
        }
    handle.savePng(out.path("textures/slider_handle.png"));

    Canvas bar(128, 16, kClear);
    Mask track(128, 16);
    track.shape([](double x, double y) { return sdf::box(x, y, 40.5, 6, 40.5, 1.5, 1.5); });
    track.paint(bar, rgba(0.75f, 0.8f, 0.9f));
    Mask ticks(128, 16);
    for (int k = 0; k <= 10; ++k)
        ticks.shape([k](double x, double y) { return sdf::box(x, y, 8 * k + 0.5, 6, 0.5, k % 5 ? 3.0 : 4.5); });
    ticks.paint(bar, rgba(0.35f, 0.4f, 0.5f));
    bar.savePng(out.path("textures/slider_bar.png"));
}

// Grey television static, opaque; the game shows a 170 x 128 piece of it.
void writeNoise(const Output& out)
{
    Canvas c(256, 128);
    Rng rng(0x5717C);
    for (int y = 0; y < 128; ++y) {
        const double line = 0.08 * rng.signedUnit();
        for (int x = 0; x < 256; ++x) {
            const float g = static_cast<float>(std::clamp(0.5 + line + 0.35 * rng.signedUnit(), 0.05, 0.95));
            c.at(x, y) = rgba(g, g, g);
        }
    }
    c.savePng(out.path("textures/noise.png"));
}

}  // namespace

void writeInterface(const Output& out)
{
    writeLoadingArrow(out);
    writePaused(out);
    writeTarget(out);
    writeArrows(out);
    writeSlider(out);
    writeNoise(out);
}

}  // namespace assetgen
