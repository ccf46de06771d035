#ifndef QUELLARIS_WORLD_CUBERENDERER_H
#define QUELLARIS_WORLD_CUBERENDERER_H

#include <string>

#include "platform/math.h"
#include "world/cubebatch.h"
#include "world/cubecolors.h"
#include "world/mesh.h"

namespace Vortel {

// Draws the playfield's cubes: batches every visible face of a frame into one array draw
// (faces covered by a solid neighbour left out), and draws single cubes at once, as cached
// display lists or as a camera-facing square. Colours come from its two tables, by index.
//
// Construction reads the cube meshes but makes no GL call; everything that draws needs the
// GL context. The playfield's shared renderer must be built inside main, so that a missing
// mesh reaches the entry point's error report.
class CubeRenderer {
public:
    typedef CubeColors::colorTriplet colorTriplet;
    typedef CubeColors::trailColors trailColors;

    // Loads cube_bevel.obj, sphere.obj and cube.obj from the folder; throws
    // std::runtime_error "cannot open mesh file" when one is missing.
    explicit CubeRenderer(const std::string& meshFolder = "mesh");
    CubeRenderer(const CubeRenderer&) = delete;
    CubeRenderer& operator=(const CubeRenderer&) = delete;

    // Active shades: slot 0 for the z faces, 1 for the x faces, 2 for the y faces of the next
    // drawing call. A slot of 3 or more is ignored.
    void color(unsigned int slot, const RGBA<unsigned char>& c);
    void color(unsigned int slot, const RGBA<float>& c);
    // Slot 0, 1 or 2.
    const RGBA<unsigned char>& activeShade(unsigned int slot) const { return _activeShades[slot]; }
    void activeColorTriplet(unsigned char index);

    unsigned char createColorTriplet(const RGBA<float>& zFaces, const RGBA<float>& xFaces, const RGBA<float>& yFaces) {
        return _colors.createColorTriplet(zFaces, xFaces, yFaces);
    }
    unsigned char createTrailColors(unsigned char start, unsigned char end) {
        return _colors.createTrailColors(start, end);
    }
    void scaleTrailColors(float factor) { _colors.scaleTrailColors(factor); }
    // Both tables empty again, as a new renderer has them.
    void clearColors() { _colors = CubeColors(); }
    const CubeColors& colors() const { return _colors; }
    CubeColors& colors() { return _colors; }

    // Appends the box's uncovered faces in the active shades to the frame's batch.
    void drawCubeToArray(const AABB3<int>& box, unsigned char hiddenFaces) {
        _batch.append(AABB3<float>(box), hiddenFaces, _activeShades, _normalSize);
    }
    void drawCubeToArray(const AABB3<float>& box, unsigned char hiddenFaces) {
        _batch.append(box, hiddenFaces, _activeShades, _normalSize);
    }
    // Draws the batch as quads; with reset the batch is emptied afterwards.
    void drawArray(bool reset);
    // Empties the batch without drawing it.
    void clearArray() { _batch.clear(); }
    const CubeBatch& batch() const { return _batch; }

    // Length of every normal given; lighting does not normalise them, so it sets brightness.
    float normalSize() const { return _normalSize; }

    // Immediate mode, in the triplet's float shades; the active shades are not touched.
    void drawColoredCube(const AABB3<float>& box, unsigned char triplet) const;

    // The unit cube round the origin in the active shades, as two triangle fans.
    void drawCubeGL() const;
    void drawCube() const { drawCubeGL(); }
    // A new display list holding drawCubeGL() in the present active shades.
    unsigned int createCachedCube() const;
    // Centred in the cell and scaled.
    void drawCachedCube(const Vector3<int>& cell, float scale, unsigned int list) const;
    void drawCachedCube(unsigned int list) const;
    // Translated by the cell coordinates, without the half-cell offset.
    void drawCube(const Vector3<int>& cell) const;
    // A square facing the camera at the cell centre.
    void drawBillboard(const Vector3<int>& cell) const;

    const Mesh& cube() const { return _cube; }
    const Mesh& cubeBevel() const { return _cubeBevel; }
    const Mesh& sphere() const { return _sphere; }

private:
    RGBA<unsigned char> _activeShades[3];
    Mesh _cube;
    Mesh _cubeBevel;
    Mesh _sphere;
    CubeColors _colors;
    float _normalSize;
    CubeBatch _batch;
};

}  // namespace Vortel

#endif
