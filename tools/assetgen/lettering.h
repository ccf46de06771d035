#ifndef QUELLARIS_ASSETGEN_LETTERING_H
#define QUELLARIS_ASSETGEN_LETTERING_H

#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/mask.h"

namespace assetgen {

// Where and how large a line of lettering is set inside a box of a picture.
struct Lettering {
    std::string face;
    std::string text;
    int boxX, boxY, boxWidth, boxHeight;  // the box, y upwards
    int maxPixelSize;
    int tracking = 0;
};

// The lettering's coverage at the largest size (up to maxPixelSize) whose ink fits the box,
// centred in it.
Mask letteringMask(int canvasWidth, int canvasHeight, const Lettering& l);

// A vertical gradient between two colours over the rows y0..y1.
Color verticalGradient(const Color& bottom, const Color& top, int y0, int y1, int y);

// Paints lettering in the house style: a soft glow, a dark outline and a gradient fill.
void paintTitle(Canvas& canvas, const Mask& ink, const Color& bottom, const Color& top, const Color& outline,
                float outlineWidth, const Color& glow, int glowRadius);

}  // namespace assetgen

#endif
