#ifndef QUELLARIS_WORLD_PARTICLEBATCH_H
#define QUELLARIS_WORLD_PARTICLEBATCH_H

#include <cstddef>
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
class ParticleBatch {
public:
    ParticleBatch() = default;
    ParticleBatch(const ParticleBatch&) = delete;
    ParticleBatch& operator=(const ParticleBatch&) = delete;

    // Room for this many particles; the only allocation the batch makes. Throws
    // std::bad_alloc.
    void reserve(int particles);
    void release();
    int capacity() const { return _capacity; }

    // Leaves out, until called again with null, the particles lying wholly behind what the
    // coverage holds: it must describe faces already in the depth buffer, drawn through the
    // same viewport and projection, and the particles are depth tested against them.
    void hideBehind(const CoverageMask* coverage) { _hiddenBehind = coverage; }
    // The particles the latest draw sent to GL.
    int sent() const { return _sent; }

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
    // Particles from `first` (a quad index) on share `texture`.
    struct Run {
        int first;
        int texture;
    };

    void begin();
    void add(const Particle& p);
    void corner(const Particle& p, const float centre[4], const Corner& c, Vertex& out) const;
    bool leftOut(const Vertex quad[4]) const;
    void project(const Vertex quad[4], float clip[4][4]) const;
    void send(const Vertex quad[4], int texture);
    static bool outsideTheView(const float clip[4][4]);
    static bool onScreen(const float clip[4][4], ScreenPoint points[4]);
    static float nearestOf(const ScreenPoint points[4]);
    void end();
    void flush();

    std::vector<Vertex> _vertices;
    std::vector<unsigned int> _indices;  // six a quad, made once by reserve()
    std::vector<Run> _runs;
    int _capacity = 0;
    int _quads = 0;
    float _view[16] = {};
    float _projection[16] = {};
    const Particle* _last = nullptr;
    const CoverageMask* _hiddenBehind = nullptr;
    int _sent = 0;
};

}  // namespace Vortel

#endif
