#ifndef QUELLARIS_ASSETGEN_TRACK_H
#define QUELLARIS_ASSETGEN_TRACK_H

#include <cstddef>
#include <vector>

namespace assetgen {

// A stereo mix in floats at 44,100 Hz.
class Track {
public:
    explicit Track(double seconds);

    size_t size() const { return _left.size(); }
    // Adds a mono sample placed by pan (-1 left .. 1 right, equal power).
    void add(size_t i, double value, double pan = 0.0);
    void addStereo(size_t i, double left, double right);
    void mixIn(const Track& other, double gain);
    double left(size_t i) const { return _left[i]; }
    double right(size_t i) const { return _right[i]; }

    // Folds everything from `length` samples on back onto the start and cuts the rest, so the
    // track loops as a whole: the tails of notes and echoes that run past the end sound again
    // at the start, as they would when the loop repeats.
    void wrap(size_t length);
    void cut(size_t length);

    std::vector<float> interleaved() const;
    std::vector<float> mono() const;

private:
    std::vector<float> _left, _right;
};

// Stereo reverb: parallel damped combs into series all-passes, different lengths per side.
void addReverb(const Track& dry, Track& out, double roomSize, double damping, double gain);

// Ping-pong echo: each repeat crosses to the other side.
void addEcho(const Track& dry, Track& out, double delaySeconds, double feedback, double gain);

}  // namespace assetgen

#endif
