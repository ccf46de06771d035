#ifndef QUELLARIS_ASSETGEN_MESHBUILDER_H
#define QUELLARIS_ASSETGEN_MESHBUILDER_H

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tools/assetgen/vec.h"

namespace assetgen {

// Collects the triangles of one mesh and writes it in the game's OBJ subset. Equal positions
// share one index, so surfaces built from separate pieces still close along their edges.
class MeshBuilder {
public:
    enum class Shading { Flat, Smooth };

    explicit MeshBuilder(Shading shading) : _shading(shading) {}

    int position(Vec3 p);
    // A triangle wound counter-clockwise seen from outside; one whose corners coincide is dropped.
    void triangle(int a, int b, int c, Vec2 ta = {}, Vec2 tb = {}, Vec2 tc = {});
    // Quad a-b-c-d in order round its edge, as two triangles.
    void quad(int a, int b, int c, int d, Vec2 ta = {}, Vec2 tb = {}, Vec2 tc = {}, Vec2 td = {});
    // A triangle whose winding is chosen so that its normal points away from inside.
    void triangleFacingAway(int a, int b, int c, Vec3 inside, Vec2 ta = {}, Vec2 tb = {}, Vec2 tc = {});

    // Surfaces made of rings of positions that all have the same count: neighbouring rings are
    // stitched, and each ring closes on itself. uv gives each corner's texture coordinate from
    // its ring index and its place round the ring (0..count, the last equal to the first).
    using UvFn = Vec2 (*)(double ringT, double aroundT);
    void stitchRings(const std::vector<std::vector<int>>& rings, bool closeAround, UvFn uv = nullptr);
    // Closes the first or the last ring of stitched rings with a fan to one extra point (a cap
    // or a tip), wound to match the stitching.
    void fan(const std::vector<int>& ring, bool firstRing, int apex, Vec2 apexUv = {}, UvFn uv = nullptr,
             double ringT = 0.0);

    // Turns every triangle over when the mesh encloses negative volume, so the hull faces outwards.
    void orientOutwards();

    Vec3 positionAt(int i) const { return _positions[static_cast<size_t>(i)]; }
    size_t triangleCount() const { return _triangles.size(); }
    void write(const std::string& path, bool textured = true) const;

private:
    struct Triangle {
        int p[3];
        Vec2 t[3];
    };

    Shading _shading;
    std::vector<Vec3> _positions;
    std::map<std::tuple<long, long, long>, int> _positionIndex;
    std::vector<Triangle> _triangles;
};

}  // namespace assetgen

#endif
