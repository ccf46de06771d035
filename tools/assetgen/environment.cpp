// The sky box: six cube faces painted texel by texel from the direction each texel looks in, so
// the faces join without seams.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/generators.h"
#include "tools/assetgen/rng.h"
#include "tools/assetgen/vec.h"

namespace assetgen {

namespace {

struct Star {
    Vec3 direction;
    double brightness;
};

struct Spot {
    Vec3 direction;
    double width;  // angular spread (radians)
    Color colour;
};

// The direction of texel (s, t) of a face, t counted from the bottom row as the game uploads it.
Vec3 texelDirection(int face, int s, int t, int n)
{
    const double a = 2.0 * (s + 0.5) / n - 1.0, b = 2.0 * (t + 0.5) / n - 1.0;
    switch (face) {
    case 0: return normalize({1, -b, -a});
    case 1: return normalize({-1, -b, a});
    case 2: return normalize({a, 1, b});
    case 3: return normalize({a, -1, -b});
    case 4: return normalize({a, -b, 1});
    default: return normalize({-a, -b, -1});
    }
}

class Sky {
public:
    Sky()
    {
        Rng rng(0x5C1E5);
        for (int i = 0; i < 700; ++i) {
            const Vec3 d = normalize({rng.signedUnit(), rng.signedUnit(), rng.signedUnit()});
            if (length(d) > 0 && d.y > -0.15)
                _stars.push_back({d, 0.3 + 0.7 * std::pow(rng.uniform(), 3.0)});
        }
        _spots = {{normalize({0.6, 0.2, 0.75}), 0.35, rgba(1.0f, 0.75f, 0.5f, 0.55f)},
                  {normalize({-0.7, 0.45, -0.3}), 0.5, rgba(0.45f, 0.6f, 1.0f, 0.35f)},
                  {normalize({0.1, 0.8, -0.6}), 0.3, rgba(0.8f, 0.5f, 1.0f, 0.3f)}};
    }

    Color at(Vec3 d) const
    {
        const double e = d.y;
        const Color zenith = rgba(0.08f, 0.1f, 0.3f), horizon = rgba(0.55f, 0.45f, 0.7f), ground = rgba(0.16f, 0.13f, 0.25f);
        Color c = e >= 0 ? mix(horizon, zenith, static_cast<float>(std::pow(e, 0.6))) : mix(horizon, ground, static_cast<float>(std::pow(-e, 0.5)));
        const float glow = static_cast<float>(std::exp(-(e / 0.07) * (e / 0.07)));
        c.r += 0.35f * glow;
        c.g += 0.22f * glow;
        c.b += 0.18f * glow;
        for (const Spot& s : _spots) {
            const double angle = std::acos(std::clamp(dot(d, s.direction), -1.0, 1.0));
            const float k = s.colour.a * static_cast<float>(std::exp(-(angle / s.width) * (angle / s.width)));
            c.r += s.colour.r * k;
            c.g += s.colour.g * k;
            c.b += s.colour.b * k;
        }
        const double cosLimit = std::cos(0.012);
        for (const Star& s : _stars) {
            const double cd = dot(d, s.direction);
            if (cd < cosLimit)
                continue;
            const double angle = std::acos(std::min(1.0, cd));
            const float k = static_cast<float>(s.brightness * std::exp(-(angle / 0.0045) * (angle / 0.0045)));
            c.r += k;
            c.g += k;
            c.b += k;
        }
        return rgba(std::min(1.0f, c.r), std::min(1.0f, c.g), std::min(1.0f, c.b), 1.0f);
    }

private:
    std::vector<Star> _stars;
    std::vector<Spot> _spots;
};

}  // namespace

void writeEnvironment(const Output& out)
{
    const int n = 256;
    const Sky sky;
    for (int face = 0; face < 6; ++face) {
        Canvas c(n, n);
        for (int t = 0; t < n; ++t)
            for (int s = 0; s < n; ++s)
                c.at(s, t) = sky.at(texelDirection(face, s, t, n));
        c.savePng(out.path("textures/environment" + std::to_string(face) + ".png"));
    }
}

}  // namespace assetgen
