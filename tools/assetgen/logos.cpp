// Logos, splash pictures and captions. The makers' and the game's names are set in DejaVu.
#include <cmath>

#include "tools/assetgen/generators.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/sdf.h"

namespace assetgen {

namespace {

const char* kBold = "DejaVuSans-Bold.ttf";
const char* kCondensed = "DejaVuSansCondensed-Bold.ttf";

// The game's title: cool blue lettering with a dark outline and a cyan glow, over a thin swoosh.
void drawTitle(Canvas& c, int boxX, int boxY, int boxW, int boxH, int maxSize, float outline, int glowRadius,
               bool swoosh)
{
    const Mask ink = letteringMask(c.width(), c.height(), {kCondensed, "QUELLARIS", boxX, boxY, boxW, boxH, maxSize, 1});
    if (swoosh) {
        Mask line(c.width(), c.height());
        const double y = boxY - 6.0;
        line.shape([&](double x, double yy) {
            const double t = std::clamp((x - boxX) / static_cast<double>(boxW), 0.0, 1.0);
            const double half = 0.4 + 2.2 * std::sin(kPi * t);
            return sdf::segment(x, yy, boxX, y + 4.0, boxX + boxW, y - 2.0, half);
        });
        line.blurred(2).paint(c, rgba(0.3f, 0.9f, 1.0f, 0.7f));
        line.paint(c, rgba(0.75f, 0.97f, 1.0f));
    }
    paintTitle(c, ink, rgba(0.05f, 0.35f, 0.95f), rgba(0.8f, 0.98f, 1.0f), rgba(0.02f, 0.05f, 0.2f), outline,
               rgba(0.2f, 0.85f, 1.0f, 0.55f), glowRadius);
}

void writeTitleLogos(const Output& out)
{
    Canvas logo(256, 128, rgba(1, 1, 1, 0));
    drawTitle(logo, 10, 44, 236, 64, 64, 2.0f, 4, true);
    logo.savePng(out.path("textures/logo1.png"));

    Canvas small(128, 32, rgba(1, 1, 1, 0));
    // The loading arrow spins right of x = 105.
    drawTitle(small, 3, 6, 98, 20, 24, 1.0f, 0, false);
    small.savePng(out.path("textures/logo_small.png"));

    Canvas scores(128, 32, rgba(1, 1, 1, 0));
    const Mask ink = letteringMask(128, 32, {kCondensed, "HIGH SCORES", 3, 6, 122, 20, 22, 1});
    paintTitle(scores, ink, rgba(1.0f, 0.55f, 0.05f), rgba(1.0f, 0.95f, 0.5f), rgba(0.2f, 0.08f, 0.0f), 1.0f, Color{}, 0);
    scores.savePng(out.path("textures/high_scores.png"));
}

// First splash: the studio's sun over its name, on white; opaque everywhere.
void writeLumisk(const Output& out)
{
    Canvas c(1024, 1024, rgba(1, 1, 1, 1));
    // High enough that the longest lower ray ends well above the lettering.
    const double cx = 400, cy = 405;
    Mask rays(1024, 1024);
    for (int i = 0; i < 16; ++i) {
        const double a = 2.0 * kPi * i / 16 + kPi / 16;
        const double r0 = 92, r1 = i % 2 ? 122 : 140;
        rays.shape([&](double x, double y) {
            return sdf::segment(x, y, cx + r0 * std::cos(a), cy + r0 * std::sin(a), cx + r1 * std::cos(a),
                                cy + r1 * std::sin(a), 5.0);
        });
    }
    rays.paint(c, rgba(1.0f, 0.62f, 0.15f));
    Mask sun(1024, 1024);
    sun.shape([&](double x, double y) { return sdf::circle(x, y, cx, cy, 74); });
    sun.paint(c, [&](int, int y) { return verticalGradient(rgba(1.0f, 0.45f, 0.1f), rgba(1.0f, 0.9f, 0.3f), 331, 479, y); });
    Mask shine(1024, 1024);
    shine.shape([&](double x, double y) { return sdf::circle(x, y, cx - 24, cy + 26, 22); });
    shine.blurred(6).paint(c, rgba(1, 1, 0.9f, 0.7f));

    const Color slate = rgba(0.14f, 0.16f, 0.22f);
    letteringMask(1024, 1024, {kBold, "LUMISK", 150, 155, 500, 84, 110, 10}).paint(c, slate);
    Mask rule(1024, 1024);
    rule.shape([](double x, double y) { return sdf::box(x, y, 400, 135, 200, 1.5); });
    rule.paint(c, rgba(1.0f, 0.62f, 0.15f));
    letteringMask(1024, 1024, {"DejaVuSans.ttf", "interactive", 300, 93, 200, 28, 26, 4}).paint(c, rgba(0.45f, 0.47f, 0.52f));
    c.savePng(out.path("textures/splash_lumisk.png"));
}

// Second maker: warm lettering with a glow and two lines, bright on transparent.
void drawZindle(Canvas& c, double s)
{
    const int w = c.width();
    const Mask ink = letteringMask(w, c.height(), {kBold, "ZINDLE", static_cast<int>(12 * s), static_cast<int>(40 * s),
                                                   w - static_cast<int>(24 * s), static_cast<int>(52 * s),
                                                   static_cast<int>(70 * s), static_cast<int>(std::max(1.0, 3 * s))});
    Mask lines(w, c.height());
    for (double y : {30.0, 22.0})
        lines.shape([&](double x, double yy) {
            return sdf::segment(x, yy, 20 * s, y * s, w - 20 * s, y * s, std::max(0.6, 1.6 * s));
        });
    lines.blurred(std::max(1, static_cast<int>(3 * s))).paint(c, rgba(1.0f, 0.5f, 0.1f, 0.8f));
    lines.paint(c, rgba(1.0f, 0.8f, 0.4f));
    paintTitle(c, ink, rgba(1.0f, 0.55f, 0.1f), rgba(1.0f, 1.0f, 0.75f), rgba(0.35f, 0.1f, 0.0f, 0.9f),
               static_cast<float>(std::max(1.0, 1.5 * s)), rgba(1.0f, 0.45f, 0.05f, 0.7f),
               std::max(1, static_cast<int>(5 * s)));
}

// Third maker: a ring with a tail, a Q, over the name; cool violet light on transparent.
void drawQuendle(Canvas& c, double s, double textBoxHeight)
{
    const int w = c.width(), h = c.height();
    const double cx = w / 2.0, cy = h - 100 * s;
    Mask emblem(w, h);
    emblem.shape([&](double x, double y) { return sdf::ring(x, y, cx, cy, 62 * s, 8 * s); });
    emblem.shape([&](double x, double y) {
        return sdf::segment(x, y, cx + 22 * s, cy - 28 * s, cx + 70 * s, cy - 74 * s, 8 * s);
    });
    // A four-pointed spark inside the ring.
    emblem.shape([&](double x, double y) {
        const double dx = std::abs(x - cx), dy = std::abs(y - cy);
        return std::min(sdf::polygon(dx, dy, {{0, 0}, {34 * s, 0}, {0, 8 * s}}),
                        sdf::polygon(dx, dy, {{0, 0}, {8 * s, 0}, {0, 34 * s}}));
    });
    emblem.blurred(std::max(1, static_cast<int>(6 * s))).paint(c, rgba(0.55f, 0.35f, 1.0f, 0.8f));
    emblem.paint(c, [&](int, int y) {
        return verticalGradient(rgba(0.55f, 0.45f, 1.0f), rgba(0.85f, 1.0f, 1.0f), static_cast<int>(cy - 70 * s),
                                static_cast<int>(cy + 70 * s), y);
    });
    const Mask ink = letteringMask(w, h, {kBold, "QUENDLE", static_cast<int>(10 * s), static_cast<int>(8 * s),
                                          w - static_cast<int>(20 * s), static_cast<int>(textBoxHeight * s),
                                          static_cast<int>(56 * s), static_cast<int>(std::max(1.0, 3 * s))});
    paintTitle(c, ink, rgba(0.6f, 0.5f, 1.0f), rgba(1.0f, 1.0f, 1.0f), rgba(0.1f, 0.0f, 0.3f, 0.9f),
               static_cast<float>(std::max(1.0, 1.5 * s)), rgba(0.5f, 0.3f, 1.0f, 0.6f), std::max(1, static_cast<int>(4 * s)));
}

void writeMakerLogos(const Output& out)
{
    Canvas zindle(256, 128, rgba(1, 1, 1, 0));
    drawZindle(zindle, 1.0);
    zindle.savePng(out.path("textures/logo_zindle.png"));

    Canvas zindleSmall(64, 32, rgba(1, 1, 1, 0));
    drawZindle(zindleSmall, 0.25);
    zindleSmall.savePng(out.path("textures/logo_zindle_small.png"));

    Canvas quendle(256, 256, rgba(1, 1, 1, 0));
    drawQuendle(quendle, 1.0, 48);
    quendle.savePng(out.path("textures/logo_quendle.png"));

    Canvas quendleSmall(64, 64, rgba(1, 1, 1, 0));
    drawQuendle(quendleSmall, 0.25, 48);
    quendleSmall.savePng(out.path("textures/logo_quendle_small.png"));
}

}  // namespace

void writeLogos(const Output& out)
{
    writeTitleLogos(out);
    writeLumisk(out);
    writeMakerLogos(out);
}

}  // namespace assetgen
