#include "world/cubebatch.h"

#include <cstdint>
#include <cstring>

#include "world/cubefaces.h"

namespace Vortel {

static_assert(sizeof(CubeBatch::Vertex) == 28, "vertices are packed for the GL stride");

// Default-initialised: the pages of the stream stay untouched until a frame writes them.
CubeBatch::CubeBatch() : _vertices(new Vertex[static_cast<std::size_t>(MAX_VERTICES)]), _vertexCount(0) {}

void CubeBatch::append(const AABB3<float>& box, unsigned char hiddenFaces, const RGBA<unsigned char>* shades,
                       float normalSize) {
    if (_vertexCount > MAX_VERTICES - VERTICES_PER_CUBE) {
        return;
    }
    const float xs[2] = {box.min.x, box.max.x};
    const float ys[2] = {box.min.y, box.max.y};
    const float zs[2] = {box.min.z, box.max.z};
    Vertex* out = _vertices.get() + _vertexCount;

    // Every value is in a register before the first store: byte stores could alias
    // anything, and would make the compiler reload the shades after every one of them. The
    // loops are unrolled so that the face table folds into constants.
    static_assert(sizeof(RGBA<unsigned char>) == sizeof(std::uint32_t), "a shade is one 32-bit word");
    std::uint32_t words[3];
    std::memcpy(words, shades, sizeof(words));
#pragma GCC unroll 6
    for (const CubeFace& face : CUBE_FACES) {
        if ((hiddenFaces & face.hiddenBit) != 0) {
            continue;
        }
        const std::uint32_t word = words[face.shade];
        const float nx = face.normal[0] * normalSize;
        const float ny = face.normal[1] * normalSize;
        const float nz = face.normal[2] * normalSize;
#pragma GCC unroll 4
        for (int k = 0; k < VERTICES_PER_CUBE_FACE; ++k) {
            const unsigned char corner = face.corners[k];
            Vertex& v = out[k];
            v.position[0] = xs[corner & CORNER_MAX_X];
            v.position[1] = ys[(corner & CORNER_MAX_Y) >> 1];
            v.position[2] = zs[(corner & CORNER_MAX_Z) >> 2];
            std::memcpy(v.color, &word, sizeof(word));
            v.normal[0] = nx;
            v.normal[1] = ny;
            v.normal[2] = nz;
        }
        out += VERTICES_PER_CUBE_FACE;
    }
    _vertexCount = static_cast<int>(out - _vertices.get());
}

}  // namespace Vortel
