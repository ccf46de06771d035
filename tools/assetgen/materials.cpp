// Surface textures: the chrome reflection map, the chasers' hull panels and the pick-ups.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/generators.h"
#include "tools/assetgen/mask.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/sdf.h"

namespace assetgen {

namespace {

double band(double x, double centre, double halfWidth)
{
    const double d = (x - centre) / halfWidth;
    return std::exp(-d * d);
}

// Sphere map of a dark studio lit by long soft boxes; the game adds it on top of the hull's own
// texture, so most of it is near black and the strips make the highlights.
void writeStudio(const Output& out)
{
    const int n = 256;
    Canvas c(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double nx = (x + 0.5) / n * 2 - 1, ny = (y + 0.5) / n * 2 - 1;
            const double rr = nx * nx + ny * ny;
            const double nz = std::sqrt(std::max(0.0, 1.0 - rr));
            // The direction the eye sees reflected at this point of the sphere.
            const double rx = 2 * nz * nx, ry = 2 * nz * ny, rz = 2 * nz * nz - 1;
            const double azimuth = std::atan2(rx, rz);
            double light = 0.04 + 0.08 * std::max(0.0, ry);
            light += 0.9 * band(ry, 0.62, 0.07) * (0.6 + 0.4 * std::cos(azimuth * 2));
            light += 0.7 * band(ry, 0.25, 0.04);
            for (double a : {-2.2, -0.9, 0.9, 2.2})
                light += 0.8 * band(azimuth, a, 0.09) * (ry > -0.3 ? 1.0 : 0.3);
            light += 0.25 * band(ry, -0.55, 0.12);
            if (rr > 1.0)
                light = 0.04;
            const float v = static_cast<float>(std::min(1.0, light));
            c.at(x, y) = rgba(v * 0.95f, v * 0.97f, v, 1.0f);
        }
    c.savePng(out.path("textures/cube7.png"));
}

struct Panel {
    int x0, y0, x1, y1;
};

void split(std::vector<Panel>& panels, Panel p, Rng& rng, int depth)
{
    const int w = p.x1 - p.x0, h = p.y1 - p.y0;
    if (depth == 0 || (w < 40 && h < 40)) {
        panels.push_back(p);
        return;
    }
    if ((w >= h && w >= 40) || h < 40) {
        const int cut = p.x0 + w / 4 + rng.below(std::max(1, w / 2));
        split(panels, {p.x0, p.y0, cut, p.y1}, rng, depth - 1);
        split(panels, {cut, p.y0, p.x1, p.y1}, rng, depth - 1);
    } else {
        const int cut = p.y0 + h / 4 + rng.below(std::max(1, h / 2));
        split(panels, {p.x0, p.y0, p.x1, cut}, rng, depth - 1);
        split(panels, {p.x0, cut, p.x1, p.y1}, rng, depth - 1);
    }
}

// Light-grey hull panels with seams and rivets; the game tints it per chaser.
void writeHull(const Output& out)
{
    const int n = 256;
    Canvas c(n, n);
    Rng rng(0xC4A5E);
    std::vector<Panel> panels;
    split(panels, {0, 0, n, n}, rng, 5);
    for (const Panel& p : panels) {
        const float shade = static_cast<float>(0.74 + 0.08 * rng.uniform());
        for (int y = p.y0; y < p.y1; ++y)
            for (int x = p.x0; x < p.x1; ++x) {
                const bool seam = x == p.x0 || y == p.y0;
                const bool lit = x == p.x0 + 1 || y == p.y0 + 1;
                const float grain = static_cast<float>(0.02 * rng.signedUnit());
                const float v = seam ? 0.42f : lit ? shade + 0.1f : shade + grain;
                c.at(x, y) = rgba(v, v, v * 1.02f);
            }
        if (p.x1 - p.x0 > 24 && p.y1 - p.y0 > 24) {
            Mask rivets(n, n);
            for (int cx : {p.x0 + 5, p.x1 - 4})
                for (int cy : {p.y0 + 5, p.y1 - 4})
                    rivets.shape([&](double x, double y) { return sdf::circle(x, y, cx, cy, 1.3); });
            rivets.paint(c, rgba(0.55f, 0.55f, 0.58f));
        }
    }
    // Two dark chevrons along the middle for a sense of direction.
    Mask stripes(n, n);
    for (int k = 0; k < 2; ++k)
        stripes.shape([&](double x, double y) {
            const double yy = y - 100 - 30 * k;
            return std::abs(yy - std::abs(x - 128) * 0.4) - 5.0;
        });
    stripes.paint(c, rgba(0.3f, 0.32f, 0.36f, 0.8f));
    c.savePng(out.path("textures/chaser1.png"));
}

// A pick-up texture: a glowing panel in its colour with a white icon outlined in dark.
template <typename Icon>
void writePickup(const Output& out, const char* file, Color base, Icon icon)
{
    const int n = 128;
    Canvas c(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double d = std::hypot(x + 0.5 - 64, y + 0.5 - 64) / 90.0;
            const float k = static_cast<float>(1.15 - 0.6 * d);
            c.at(x, y) = rgba(std::min(1.0f, base.r * k), std::min(1.0f, base.g * k), std::min(1.0f, base.b * k));
        }
    Mask frame(n, n);
    frame.shape([](double x, double y) { return -sdf::box(x, y, 64, 64, 58, 58, 10); });
    frame.paint(c, rgba(base.r * 0.45f, base.g * 0.45f, base.b * 0.45f));
    Mask shape(n, n);
    shape.shape(icon);
    shape.grown(3.0f).blurred(2).paint(c, rgba(0, 0, 0, 0.6f));
    shape.grown(2.5f).paint(c, rgba(base.r * 0.3f, base.g * 0.3f, base.b * 0.3f));
    shape.paint(c, [&](int, int y) { return mix(rgba(1, 1, 1), rgba(1, 1, 0.85f), static_cast<float>(y) / n); });
    c.savePng(out.path(file));
}

std::vector<Vec2> star(double cx, double cy, double outer, double inner, int points)
{
    std::vector<Vec2> p;
    for (int i = 0; i < points * 2; ++i) {
        const double a = kPi / 2 + kPi * i / points;
        const double r = i % 2 ? inner : outer;
        p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return p;
}

void writePickups(const Output& out)
{
    const std::vector<Vec2> starShape = star(64, 62, 42, 18, 5);
    writePickup(out, "textures/pow_score.png", rgba(1.0f, 0.78f, 0.15f),
                [&](double x, double y) { return sdf::polygon(x, y, starShape); });
    writePickup(out, "textures/pow_ammo.png", rgba(1.0f, 0.5f, 0.1f), [](double x, double y) {
        double d = 1e9;
        for (int k = -1; k <= 1; ++k) {
            const double cx = 64 + 24 * k;
            d = std::min(d, sdf::box(x, y, cx, 50, 8, 20, 2));
            d = std::min(d, sdf::polygon(x, y, {{cx - 8, 72}, {cx + 8, 72}, {cx + 4, 88}, {cx, 92}, {cx - 4, 88}}));
        }
        return d;
    });
    const std::vector<Vec2> shield = {{30, 96}, {64, 104}, {98, 96}, {96, 62}, {86, 40}, {64, 22}, {42, 40}, {32, 62}};
    writePickup(out, "textures/pow_shields.png", rgba(0.2f, 0.5f, 1.0f), [&](double x, double y) {
        return std::max(sdf::polygon(x, y, shield), -sdf::polygon(x, y, {{44, 88}, {64, 93}, {84, 88}, {82, 64}, {64, 40}, {46, 64}}) - 7.0);
    });
    const std::vector<Vec2> bolt = {{72, 108}, {38, 60}, {60, 60}, {48, 20}, {90, 72}, {67, 72}, {84, 108}};
    writePickup(out, "textures/pow_emp.png", rgba(0.65f, 0.3f, 1.0f),
                [&](double x, double y) { return sdf::polygon(x, y, bolt); });
}

}  // namespace

void writeMaterials(const Output& out)
{
    writeStudio(out);
    writeHull(out);
    writePickups(out);
}

}  // namespace assetgen
