#include "world/cubecolors.h"

namespace Vortel {

namespace {

unsigned char toByte(float component) {
    const float scaled = component * 255.0f;
    if (!(scaled > 0.0f)) {
        return 0;
    }
    return scaled >= 255.0f ? 255 : static_cast<unsigned char>(scaled);
}

}  // namespace

CubeColors::CubeColors() : _colorTriplets(), _colorTripletCount(0), _trailColors(), _trailColorCount(0) {}

RGBA<unsigned char> CubeColors::toBytes(const RGBA<float>& c) {
    return RGBA<unsigned char>(toByte(c.r), toByte(c.g), toByte(c.b), toByte(c.a));
}

unsigned char CubeColors::nextIndex(unsigned char& count) {
    if (count == ENTRIES_BEFORE_WRAP) {
        count = 0;
    }
    return count++;
}

unsigned char CubeColors::createColorTriplet(const RGBA<float>& zFaces, const RGBA<float>& xFaces,
                                             const RGBA<float>& yFaces) {
    const unsigned char index = nextIndex(_colorTripletCount);
    colorTriplet& entry = _colorTriplets[index];
    const RGBA<float> shades[3] = {zFaces, xFaces, yFaces};
    for (int k = 0; k < 3; ++k) {
        entry.shadeFloats[k] = shades[k];
        entry.shadeBytes[k] = toBytes(shades[k]);
    }
    return index;
}

unsigned char CubeColors::createTrailColors(unsigned char start, unsigned char end) {
    const unsigned char index = nextIndex(_trailColorCount);
    trailColors& entry = _trailColors[index];
    entry.start = start;
    entry.end = end;
    buildGradients(entry);
    return index;
}

void CubeColors::buildGradients(trailColors& trail) const {
    for (int k = 0; k < 3; ++k) {
        trail.gradients[k] = Gradient<RGBA<float> >(0.0f, 1.0f);
        trail.gradients[k].addEntry(0.5f, _colorTriplets[trail.start].shadeFloats[k]);
        trail.gradients[k].addEntry(1.0f, _colorTriplets[trail.end].shadeFloats[k]);
    }
}

void CubeColors::scaleTrailColors(float factor) {
    for (colorTriplet& entry : _colorTriplets) {
        for (int k = 0; k < 3; ++k) {
            RGBA<float>& shade = entry.shadeFloats[k];
            shade.set(shade.r * factor, shade.g * factor, shade.b * factor, shade.a);
            const RGBA<unsigned char> bytes = toBytes(shade);
            entry.shadeBytes[k].set(bytes.r, bytes.g, bytes.b, entry.shadeBytes[k].a);
        }
    }
    for (trailColors& entry : _trailColors) {
        buildGradients(entry);
    }
}

}  // namespace Vortel
