// Particle, star, bullet, decal and flare sprites: white light with alpha, with a transparent
// margin so linear filtering and repeat wrapping never bleed one edge into the other.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/generators.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/vec.h"

namespace assetgen {

namespace {

// Fills every pixel with a colour whose alpha comes from the distance to the centre (in units
// of the largest radius that keeps a one-pixel margin).
template <typename AlphaOf>
Canvas radial(int w, int h, Color colour, AlphaOf alphaOf)
{
    Canvas c(w, h, withAlpha(colour, 0));
    const double cx = w / 2.0, cy = h / 2.0, rx = w / 2.0 - 1.0, ry = h / 2.0 - 1.0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double d = std::sqrt(dx * dx + dy * dy);
            const float a = d >= 1.0 ? 0.0f : static_cast<float>(std::clamp(alphaOf(d, dx, dy), 0.0, 1.0));
            c.at(x, y) = withAlpha(colour, a);
        }
    return c;
}

double smooth(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace

void writeSprites(const Output& out)
{
    const Color white = rgba(1, 1, 1);
    // Soft glow: a gaussian that fades to nothing at the rim.
    radial(64, 64, white, [](double d, double, double) { return std::exp(-d * d * 4.0) * (1.0 - smooth(0.7, 1.0, d)); })
        .savePng(out.path("textures/particle1.png"));
    // Spark: a small hard core with four short rays.
    radial(32, 32, white, [](double d, double dx, double dy) {
        const double core = 1.0 - smooth(0.15, 0.35, d);
        const double rays = std::max(std::exp(-std::abs(dx) * 18.0), std::exp(-std::abs(dy) * 18.0)) * (1.0 - smooth(0.3, 0.95, d));
        return std::max(core, rays * 0.8);
    }).savePng(out.path("textures/particle2.png"));
    // Star bubble: a faint disc with a bright rim.
    radial(32, 32, white, [](double d, double, double) {
        const double rim = std::exp(-std::pow((d - 0.8) / 0.09, 2.0));
        return (d < 0.8 ? 0.35 : 0.0) * (1.0 - smooth(0.7, 0.8, d)) + rim;
    }).savePng(out.path("textures/bubble.png"));
    // Bullet: a white-hot core stretched along the picture, its glow tinted warm.
    radial(64, 16, white, [](double d, double dx, double) {
        const double core = 1.0 - smooth(0.2, 0.55, d);
        return std::max(core, 0.6 * std::exp(-d * d * 3.0) * (1.0 - smooth(0.75, 1.0, std::abs(dx))));
    }).savePng(out.path("textures/bullet.png"));
    // Soft halo for the engine flare.
    radial(64, 64, rgba(1.0f, 0.95f, 0.85f), [](double d, double, double) {
        return 0.9 * std::exp(-d * d * 6.0) + 0.25 * (1.0 - smooth(0.2, 1.0, d));
    }).savePng(out.path("textures/flare.png"));

    // Bullet hole: a dark scorch ring with a black centre and a ragged edge.
    Rng rng(0xB0113);
    double wobble[16];
    for (double& w : wobble)
        w = rng.range(-0.08, 0.08);
    Canvas hole = radial(32, 32, rgba(0.05f, 0.04f, 0.03f), [&](double d, double dx, double dy) {
        const double angle = std::atan2(dy, dx) + kPi;
        const double f = angle / (2.0 * kPi) * 16.0;
        const int i = static_cast<int>(f) % 16;
        const double t = f - std::floor(f);
        const double edge = 0.85 + wobble[i] * (1 - t) + wobble[(i + 1) % 16] * t;
        const double centre = 1.0 - smooth(0.18, 0.3, d);
        const double scorch = 0.75 * (1.0 - smooth(edge - 0.35, edge, d));
        return std::max(centre, scorch);
    });
    hole.savePng(out.path("textures/bullet_hole1.png"));
}

}  // namespace assetgen
