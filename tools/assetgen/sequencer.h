#ifndef QUELLARIS_ASSETGEN_SEQUENCER_H
#define QUELLARIS_ASSETGEN_SEQUENCER_H

#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/track.h"

namespace assetgen {

struct Note {
    double beat;    // start, in beats from the start of the song
    double beats;   // held length
    double pitch;   // MIDI note number
    double velocity;
};

// Renders one note: the track, the first sample, the seconds it is held, its frequency,
// velocity and pan. An instrument adds its own release after the held time.
using Instrument = std::function<void(Track&, size_t, double, double, double, double)>;

// A step sequencer over beats at a fixed tempo.
class Sequencer {
public:
    explicit Sequencer(double bpm) : _secondsPerBeat(60.0 / bpm) {}

    double seconds(double beats) const { return beats * _secondsPerBeat; }
    void play(Track& track, const std::vector<Note>& notes, const Instrument& instrument, double pan = 0.0) const;

    // Notes from text such as "E4:1 G4:0.5 r:0.5 B4:2" (name and octave, or r for a rest, then
    // the length in beats), starting at `beat`.
    static std::vector<Note> phrase(const std::string& text, double beat, double velocity = 0.8);
    // A note on every step where the pattern has x (accented X), one step being stepBeats long.
    static std::vector<Note> pattern(const std::string& steps, double stepBeats, double beat, double pitch = 60.0);
    static double pitch(const std::string& name);

private:
    double _secondsPerBeat;
};

void append(std::vector<Note>& to, const std::vector<Note>& more);

}  // namespace assetgen

#endif
