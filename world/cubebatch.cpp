#include "world/cubebatch.h"

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

    for (const CubeFace& face : CUBE_FACES) {
        if ((hiddenFaces & face.hiddenBit) != 0) {
            continue;
        }
        const RGBA<unsigned char>& shade = shades[face.shade];
        const float nx = face.normal[0] * normalSize;
        const float ny = face.normal[1] * normalSize;
        const float nz = face.normal[2] * normalSize;
        for (const unsigned char corner : face.corners) {
            position[0] = xs[corner & CORNER_MAX_X];
            position[1] = ys[(corner & CORNER_MAX_Y) >> 1];
            position[2] = zs[(corner & CORNER_MAX_Z) >> 2];
            position += 3;
            color[0] = shade.r;
            color[1] = shade.g;
            color[2] = shade.b;
            color[3] = shade.a;
            color += 4;
            normal[0] = nx;
            normal[1] = ny;
            normal[2] = nz;
            normal += 3;
        }
        _vertexCount += VERTICES_PER_CUBE_FACE;
    }
}

}  // namespace Vortel
