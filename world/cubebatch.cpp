#include "world/cubebatch.h"

#include <cstdint>
#include <cstring>

#include "world/cubefaces.h"

namespace Vortel {

CubeBatch::CubeBatch()
    : _vertices(3 * static_cast<std::size_t>(MAX_VERTICES)),
      _colors(4 * static_cast<std::size_t>(MAX_VERTICES)),
      _normals(3 * static_cast<std::size_t>(MAX_VERTICES)),
      _vertexCount(0) {}

void CubeBatch::append(const AABB3<float>& box, unsigned char hiddenFaces, const RGBA<unsigned char>* shades,
                       float normalSize) {
    if (_vertexCount > MAX_VERTICES - VERTICES_PER_CUBE) {
        return;
    }
    const float xs[2] = {box.min.x, box.max.x};
    const float ys[2] = {box.min.y, box.max.y};
    const float zs[2] = {box.min.z, box.max.z};
    float* position = _vertices.data() + 3 * _vertexCount;
    unsigned char* color = _colors.data() + 4 * _vertexCount;
    float* normal = _normals.data() + 3 * _vertexCount;

    // The colours go in as whole words: byte stores could alias anything, and would make the
    // compiler reload the shades and the table after every one of them. The loops are
    // unrolled so that the face table folds into constants.
    static_assert(sizeof(RGBA<unsigned char>) == sizeof(std::uint32_t), "a shade is one 32-bit word");
    std::uint32_t words[3];
    std::memcpy(words, shades, sizeof(words));
    int appended = 0;
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
            position[3 * k] = xs[corner & CORNER_MAX_X];
            position[3 * k + 1] = ys[(corner & CORNER_MAX_Y) >> 1];
            position[3 * k + 2] = zs[(corner & CORNER_MAX_Z) >> 2];
            std::memcpy(color + 4 * k, &word, sizeof(word));
            normal[3 * k] = nx;
            normal[3 * k + 1] = ny;
            normal[3 * k + 2] = nz;
        }
        position += 3 * VERTICES_PER_CUBE_FACE;
        color += 4 * VERTICES_PER_CUBE_FACE;
        normal += 3 * VERTICES_PER_CUBE_FACE;
        appended += VERTICES_PER_CUBE_FACE;
    }
    _vertexCount += appended;
}

}  // namespace Vortel
