#ifndef QUELLARIS_WORLD_CUBEBATCH_H
#define QUELLARIS_WORLD_CUBEBATCH_H

#include <memory>

#include "platform/math.h"

namespace Vortel {

// The frame's cube faces as quads in one client-side stream of interleaved vertices
// (position, byte colour, normal), filled cell by cell during the playfield walk and drawn
// with one array call. The stream is allocated once, left unwritten, so that only the part a
// frame fills takes memory; appending allocates nothing.
class CubeBatch {
public:
    struct Vertex {
        float position[3];
        unsigned char color[4];  // r, g, b, a
        float normal[3];
    };

    static constexpr int MAX_CUBES = 32000;
    static constexpr int VERTICES_PER_CUBE = 24;
    static constexpr int MAX_VERTICES = MAX_CUBES * VERTICES_PER_CUBE;

    CubeBatch();

    // Appends the faces of the box whose bits are not set in hiddenFaces, in the order of the
    // face table, each in its shade (0 z faces, 1 x faces, 2 y faces) with its normal scaled
    // by normalSize. A box that would not fit whole is left out, so a batch that is never
    // emptied cannot write past its arrays.
    void append(const AABB3<float>& box, unsigned char hiddenFaces, const RGBA<unsigned char>* shades,
                float normalSize);

    void clear() { _vertexCount = 0; }

    int vertexCount() const { return _vertexCount; }
    const Vertex* vertices() const { return _vertices.get(); }

private:
    std::unique_ptr<Vertex[]> _vertices;
    int _vertexCount;
};

}  // namespace Vortel

#endif
