#ifndef QUELLARIS_WORLD_MESH_H
#define QUELLARIS_WORLD_MESH_H

#include <climits>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/math.h"

namespace Vortel {

// A triangle mesh read from the OBJ subset the game's meshes use. Loading (file, vertex
// array) touches no GL state, so it can run on the loader thread; the display list and all
// drawing belong to the thread that owns the GL context.
//
// State lives in public members: the game sets _texId after loading and reads _bounds and
// the hit results of rayHit directly.
class Mesh {
public:
    // One face corner, 0-based indices into the three vectors; an index outside its vector
    // (also a corner that gave none) stands for a zero vector.
    struct FaceVertex {
        int position;
        int normal;
        int texCoord;
    };
    typedef std::vector<FaceVertex> Face;

    static constexpr int FLOATS_PER_VERTEX = 8;  // s, t, nx, ny, nz, x, y, z
    static constexpr int VERTICES_PER_FACE = 3;
    // The longest rest of an "f" line after its keyword; a longer one ends the reading.
    static constexpr std::size_t MAX_FACE_LINE = 254;
    // The game's meshes are at most 36 KiB and 640 faces; a larger file is refused as not a
    // mesh. The two caps keep any file that loads within a few hundred MB and a second or so,
    // here and in the game's display lists and first frames: 4 MiB of the shortest faces
    // would be half a million of them, and 262,144 faces took the game 20 s and 700 MB.
    static constexpr std::size_t MAX_FILE_BYTES = std::size_t(4) << 20;
    static constexpr std::size_t MAX_FACES = std::size_t(1) << 16;

    Mesh();
    // Starts the bounds wide open (largest float below, smallest positive float above), then
    // loads; throws what load throws.
    explicit Mesh(const std::string& path);
    // Virtual: chrome meshes derive from this one and managers delete them as meshes. The
    // display list is left alone, as no GL context may be current here.
    virtual ~Mesh();

    // Throws std::runtime_error "cannot open mesh file" when the file cannot be opened or
    // read (also a folder or an endless device), is larger than MAX_FILE_BYTES, has more than
    // MAX_FACES faces or needs more memory than there is; nothing else leaves it. The error
    // comes after a line on standard error that names the file and says why.
    void load(const std::string& path);

    virtual void createVertArray();
    virtual void createDisplayList();

    virtual void draw();
    // Translates the current matrix without saving it.
    void draw(const Vector3<float>& pos);

    virtual void drawVertArray(bool bindTexture);
    void drawVertArray(const Vector3<float>& pos);
    void drawVertArray(const Vector3<int>& cell);

    // Copies the vertex array into dst (room for _vertArrayFloats floats), moved by offset and
    // its texture coordinates by texOffset. Returns the floats written.
    int copyVertArray(float* dst, const Vector3<float>& offset, const Vector2<float>& texOffset) const;

    // Ray test against the mesh placed at pos: the box first, then the faces in file order;
    // the first face hit wins, not the nearest. Sets _hitPoint, _hitNormal and _hitTangent.
    bool rayHit(const Ray3<float>& ray, const Vector3<float>& pos, Vector3<float>* hitPoint, float* distance);

    // True when the face's first three corners all name a position that exists: only such
    // faces are drawn and hit.
    bool isTriangle(const Face& face) const;

    std::vector<float> _vertArray;  // interleaved GL_T2F_N3F_V3F, three vertices per face
    int _vertArrayFloats;
    int _vertArrayBytes;
    int _vertCount;

    std::vector<Vector3<float> > _positions;
    std::vector<Vector3<float> > _normals;
    std::vector<Vector2<float> > _texCoords;
    std::vector<Face> _faces;

    AABB3<float> _bounds;
    Vector3<float> _center;

    unsigned int _displayList;
    int _texId;

    Vector3<float> _hitPoint;
    Vector3<float> _hitNormal;
    Vector3<float> _hitTangent;

private:
    // False when the text holds more than MAX_FACES faces.
    bool read(std::istream& text);
    void bindTexture() const;
    void drawArrays() const;
};

}  // namespace Vortel

#endif
