#include "tools/assetgen/sequencer.h"

#include <sstream>
#include <stdexcept>

#include "tools/assetgen/dsp.h"

namespace assetgen {

void Sequencer::play(Track& track, const std::vector<Note>& notes, const Instrument& instrument, double pan) const
{
    for (const Note& n : notes) {
        const size_t start = static_cast<size_t>(seconds(n.beat) * dsp::kRate + 0.5);
        instrument(track, start, seconds(n.beats), dsp::midiToHz(n.pitch), n.velocity, pan);
    }
}

double Sequencer::pitch(const std::string& name)
{
    static const int steps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        throw std::runtime_error("bad note name '" + name + "'");
    int note = steps[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') {
        ++note;
        ++i;
    } else if (name[i] == 'b') {
        --note;
        ++i;
    }
    const int octave = std::stoi(name.substr(i));
    return 12.0 * (octave + 1) + note;
}

std::vector<Note> Sequencer::phrase(const std::string& text, double beat, double velocity)
{
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        const size_t colon = word.find(':');
        const std::string name = word.substr(0, colon);
        const double length = colon == std::string::npos ? 1.0 : std::stod(word.substr(colon + 1));
        if (name != "r")
            notes.push_back({beat, length, pitch(name), velocity});
        beat += length;
    }
    return notes;
}

std::vector<Note> Sequencer::pattern(const std::string& steps, double stepBeats, double beat, double notePitch)
{
    std::vector<Note> notes;
    for (size_t i = 0; i < steps.size(); ++i)
        if (steps[i] == 'x' || steps[i] == 'X')
            notes.push_back({beat + static_cast<double>(i) * stepBeats, stepBeats, notePitch, steps[i] == 'X' ? 1.0 : 0.6});
    return notes;
}

void append(std::vector<Note>& to, const std::vector<Note>& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace assetgen
