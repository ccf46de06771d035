#ifndef QUELLARIS_WORLD_CUBECOLORS_H
#define QUELLARIS_WORLD_CUBECOLORS_H

#include <array>
#include <cstddef>

#include "platform/math.h"
#include "platform/mrand.h"

namespace Vortel {

// The two colour tables that the game refers to by one-byte index: colour triplets (one
// colour in three shades, one per face axis, so cubes read as solid without lighting) and
// trail colours (a cooling ramp from one triplet to another).
//
// Each table holds 256 entries, so every unsigned-byte index reads inside it, but new
// entries wrap after index 254: the 256th one made replaces entry 0 and entry 255 stays
// empty (all zero).
class CubeColors {
public:
    struct colorTriplet {
        // Shade 0 for the faces across z, 1 across x, 2 across y.
        RGBA<unsigned char> shadeBytes[3];
        RGBA<float> shadeFloats[3];
    };

    struct trailColors {
        unsigned char start = 0;  // triplet of the fresh colour
        unsigned char end = 0;    // triplet of the cooled colour
        // Per shade over [0, 1]: the start shade up to 0.5, then a linear fade to the end
        // shade at 1.
        Gradient<RGBA<float> > gradients[3];
    };

    static constexpr std::size_t TABLE_SIZE = 256;
    static constexpr unsigned char ENTRIES_BEFORE_WRAP = 255;

    CubeColors();

    unsigned char createColorTriplet(const RGBA<float>& zFaces, const RGBA<float>& xFaces, const RGBA<float>& yFaces);
    unsigned char createTrailColors(unsigned char start, unsigned char end);

    // Darkens or brightens every triplet (red, green and blue; alpha kept) and rebuilds the
    // trail ramps from them. Scaling by f and then by 1/f gives the colours back.
    void scaleTrailColors(float factor);

    const colorTriplet& triplet(unsigned char index) const { return _colorTriplets[index]; }
    const trailColors& trail(unsigned char index) const { return _trailColors[index]; }
    unsigned char tripletCount() const { return _colorTripletCount; }
    unsigned char trailCount() const { return _trailColorCount; }

    // Each component becomes the integer part of component x 255, held to 0 ... 255.
    static RGBA<unsigned char> toBytes(const RGBA<float>& c);

private:
    static unsigned char nextIndex(unsigned char& count);
    void buildGradients(trailColors& trail) const;

    std::array<colorTriplet, TABLE_SIZE> _colorTriplets;
    unsigned char _colorTripletCount;
    std::array<trailColors, TABLE_SIZE> _trailColors;
    unsigned char _trailColorCount;
};

}  // namespace Vortel

#endif
