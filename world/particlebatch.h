#ifndef QUELLARIS_WORLD_PARTICLEBATCH_H
#define QUELLARIS_WORLD_PARTICLEBATCH_H

#include <cstddef>
#include <vector>

namespace Vortel {

class Particle;

// Draws many particles as one client array instead of one matrix load and one begin/end
// pair each: every billboard is built facing the eye on the CPU, exactly as the particle's
// own matrix would place it, and the particles go out in the order given, one draw call per
// run of particles that share a texture. Each quad goes as two indexed triangles split as
// the GL splits a quad, which the software GL transforms in far less time than quads, and a
// quad wholly outside the view is left out. The arrays are sized once, with the pool.
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
    // Particles from `first` (a quad index) on share `texture`.
    struct Run {
        int first;
        int texture;
    };

    void begin();
    void add(const Particle& p);
    bool outsideTheView(const Vertex* corners) const;
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
};

}  // namespace Vortel

#endif
