#ifndef QUELLARIS_WORLD_PARTICLEBATCH_H
#define QUELLARIS_WORLD_PARTICLEBATCH_H

#include <cstddef>
#include <limits>
#include <vector>

#include "world/frustumprojection.h"

namespace Vortel {

class CoverageMask;
class Particle;

// Draws many particles as one client array instead of one matrix load and one begin/end
// pair each: every billboard is built facing the eye on the CPU, exactly as the particle's
// own matrix would place it, and the particles go out in the order given, one draw call per
// run of particles that share a texture. Each quad goes as two indexed triangles split as
// the GL splits a quad, which the software GL transforms in far less time than quads, and a
// quad wholly outside the view, or wholly behind faces known to be drawn, is left out. The
// arrays are sized once, with the pool.
//
// Big sparks cost the software GL by their pixels, so two things spare it work without
// changing what it draws. A texture whose texels are transparent outside a round spot is
// drawn, where the quad covers many pixels, as the octagon round that spot, cut from the same
// plane with the same texture mapping: only pixels the texture leaves untouched are dropped.
// And where a texture is white in colour, linear fog is worked out once per spark (a
// billboard lies at one eye depth, so its fog is the same all over it) and given as its
// colour, with the GL's fog off for it.
class ParticleBatch {
public:
    ParticleBatch() = default;
    ParticleBatch(const ParticleBatch&) = delete;
    ParticleBatch& operator=(const ParticleBatch&) = delete;

    // Room for this many particles. Throws std::bad_alloc. Forgets every shape learned.
    void reserve(int particles);
    void release();
    int capacity() const { return _capacity; }

    // Reads the texture's texels for the shape of its spot and whether it is white: a read-back
    // that waits for the GL and allocates, so it belongs at load, never in a frame. Drawing
    // learns nothing: sparks in a texture not learned go as plain squares with the GL's own
    // fog. The shape is kept until the next reserve() or release(); a texture deleted and made
    // anew under the same name in between keeps the old one's shape, so that must not happen.
    // Needs a GL context; beyond SHAPES textures, or for texture 0, it does nothing.
    void learnShape(int texture);
    bool knowsShape(int texture) const;

    // Leaves out, until called again with null, the particles lying wholly behind what the
    // coverage holds: it must describe faces already in the depth buffer, drawn through the
    // same viewport and projection, and the particles are depth tested against them.
    void hideBehind(const CoverageMask* coverage) { _hiddenBehind = coverage; }
    // Leaves out, until called again, the particles whose quad spans on screen fewer than
    // `from` or at least `below` pixels of the current viewport (the larger of its width and
    // height; a quad reaching round the eye counts as ENDLESS, and a band up to ENDLESS takes
    // it). Two draws with bands that meet draw each particle once.
    static constexpr float ENDLESS = std::numeric_limits<float>::infinity();
    void sizeBand(float from, float below) {
        _band[0] = from;
        _band[1] = below;
    }
    // The particles the latest draw sent to GL.
    int sent() const { return _sent; }

    // How many screens of the current viewport the particles would cover, drawn now without
    // a size band: the sum of the on-screen rectangles of those spanning at least `from`
    // pixels (as the band counts them), in view and not behind the coverage given to
    // hideBehind(), each cut to the screen. A quad reaching round the eye counts as a whole
    // screen. Reads the GL's matrices and viewport; draws nothing.
    template <typename Range>
    double screensCovered(const Range& particles, float from) {
        readView();
        double screens = 0.0;
        for (const Particle* const p : particles) {
            screens += screensOf(*p, from);
        }
        return screens;
    }

    // Draws every particle of the range of Particle pointers, in order, against the current
    // modelview, which it leaves as it was. Afterwards the current colour, texture
    // coordinate and bound texture are those the last particle's own draw leaves.
    template <typename Range>
    void draw(const Range& particles) {
        begin();
        for (const Particle* const p : particles) {
            add(*p);
        }
        end();
    }

private:
    // How big, on screen, a spark must be to be cut to its octagon. The software GL draws a
    // quad that lies square on the screen, as a billboard does, as a rectangle, far cheaper
    // than triangles; only sparks this big (near the eye) save more pixels than that.
    static constexpr float OCTAGON_PIXELS = 160.0f;
    // Distinct textures whose shape is kept; sparks in any others go as plain quads.
    static constexpr int SHAPES = 32;

    // Eye-space position (x, y, z, w), texture coordinate, colour.
    struct Vertex {
        float position[4];
        float texCoord[2];
        float color[4];
    };
    // A corner of the billboard, at (x, y) in -1 ... 1 across it, with texture coordinate
    // (s, t).
    struct Corner {
        float x;
        float y;
        float s;
        float t;
    };
    // Counter-clockwise from the lower left.
    static const Corner CORNERS[4];
    // What a texture's texels allow: `octagon` holds the corners of the octagon round every
    // texel that is not wholly transparent (with `cut` false where no such octagon lies
    // inside the square), and `white` says every texel's colour is white.
    struct Shape {
        int texture;
        bool cut;
        bool white;
        Corner octagon[8];
    };
    // The linear fog in force at begin(), when it can be worked out per spark.
    struct Fog {
        bool baked;
        float start;
        float end;
        float color[3];
    };
    // Particles from index `first` on share `texture`, and the fog went into their colour
    // when `fogBaked`; their vertices lie from `firstVertex` on.
    struct Run {
        int first;
        int firstVertex;
        int texture;
        bool fogBaked;
    };

    void readView();
    void begin();
    bool billboardInView(const Particle& p, float centre[4], Vertex quad[4], float clip[4][4]) const;
    double screensOf(const Particle& p, float from) const;
    static double screenShare(const float clip[4][4]);
    void add(const Particle& p);
    void corner(const Particle& p, const float centre[4], const Corner& c, Vertex& out) const;
    bool hiddenBehindCoverage(const float clip[4][4]) const;
    void project(const Vertex quad[4], float clip[4][4]) const;
    float pixelsAcross(const float clip[4][4]) const;
    const Shape& shapeOf(int texture);
    static void readShape(Shape& shape);
    void bakeFog(const float centre[4], Vertex* vertices, int count) const;
    void send(const Vertex* vertices, int count, const unsigned int* triangles, int indices, int texture, bool fogBaked);
    static bool outsideTheView(const float clip[4][4]);
    static bool onScreen(const float clip[4][4], ScreenPoint points[4]);
    static float nearestOf(const ScreenPoint points[4]);
    void end();
    void flush();

    std::vector<Vertex> _vertices;       // room for an octagon a particle
    std::vector<unsigned int> _indices;  // room for an octagon's six triangles a particle
    std::vector<Run> _runs;
    int _capacity = 0;
    int _quads = 0;  // particles in the arrays
    int _vertexCount = 0;
    int _indexCount = 0;
    float _view[16] = {};
    float _projection[16] = {};
    float _halfViewport[2] = {};
    Fog _fog = {};
    bool _cut = false;  // whether the blending in force at begin() lets sparks be cut
    Shape _shapes[SHAPES] = {};
    int _shapeCount = 0;
    int _lastShape = -1;
    const Particle* _last = nullptr;
    const CoverageMask* _hiddenBehind = nullptr;
    float _band[2] = {0.0f, ENDLESS};
    int _sent = 0;
};

}  // namespace Vortel

#endif
