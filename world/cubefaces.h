#ifndef QUELLARIS_WORLD_CUBEFACES_H
#define QUELLARIS_WORLD_CUBEFACES_H

namespace Vortel {

// One face of a playfield box, shared by the batched and the immediate box drawing so both
// draw the same quads in the same order and shades.
struct CubeFace {
    // Neighbour bit that covers this face (+x 1, -x 2, +y 4, -y 8, +z 16, -z 32).
    unsigned char hiddenBit;
    // Shade slot: 0 for the z faces, 1 for the x faces, 2 for the y faces.
    unsigned char shade;
    // Unit outward direction; drawing scales it by the renderer's normal size.
    float normal[3];
    // The four corners in drawing order, each a box corner code: bit 0 takes max x,
    // bit 1 max y, bit 2 max z (min on that axis otherwise).
    unsigned char corners[4];
};

enum { CORNER_MAX_X = 1, CORNER_MAX_Y = 2, CORNER_MAX_Z = 4 };

inline constexpr int CUBE_FACE_COUNT = 6;
inline constexpr int VERTICES_PER_CUBE_FACE = 4;

inline constexpr CubeFace CUBE_FACES[CUBE_FACE_COUNT] = {
    {32, 0, {0.0f, 0.0f, -1.0f}, {0, 2, 3, 1}},  // -z
    {16, 0, {0.0f, 0.0f, 1.0f}, {4, 5, 7, 6}},   // +z
    {1, 1, {1.0f, 0.0f, 0.0f}, {1, 3, 7, 5}},    // +x
    {2, 1, {-1.0f, 0.0f, 0.0f}, {0, 4, 6, 2}},   // -x
    {4, 2, {0.0f, 1.0f, 0.0f}, {2, 6, 7, 3}},    // +y
    {8, 2, {0.0f, -1.0f, 0.0f}, {0, 1, 5, 4}},   // -y
};

// Every face bit set: a box covered on all six sides.
inline constexpr unsigned char ALL_FACES_HIDDEN = 63;

}  // namespace Vortel

#endif
