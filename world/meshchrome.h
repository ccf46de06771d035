#ifndef QUELLARIS_WORLD_MESHCHROME_H
#define QUELLARIS_WORLD_MESHCHROME_H

#include <string>

#include "world/mesh.h"

namespace Vortel {

// A mesh drawn with two textures: its own on unit 0 and a reflection on unit 1 whose
// coordinates are sphere-mapped and whose colour is added on top. The crafts are drawn so.
// Needs the multitexture entry points (glext::setupMultitexturing) before any GL work.
class MeshChrome : public Mesh {
public:
    MeshChrome();
    // Loads the file (throws what loading throws); no GL call, so the loader thread may.
    explicit MeshChrome(const std::string& path);

    // Leaves lighting off and fog, unit 0 texturing and unit 0's modulate mode on, whatever
    // it found: the crafts are drawn inside the fogged, textured world pass.
    void draw() override;
    // A list of normals and positions only: the chrome look needs draw().
    void createDisplayList() override;
    // Builds the array with client unit 0 selected, so later array draws feed unit 0.
    void createVertArray() override;

    using Mesh::drawVertArray;
    // The interleaved array as triangles; binds no texture.
    void drawVertArray();

    void chromeTexId(int id) { _chromeTexId = id; }
    // Off: drawn untextured and unfogged in the current colour (a chaser's hit flash).
    void enableTextures(bool on) { _texturesEnabled = on; }

    int _chromeTexId;
    bool _texturesEnabled;

private:
    void setUpTextured() const;
    void setUpUntextured() const;
    void submitTriangles() const;
    void restoreState() const;
};

}  // namespace Vortel

#endif
