// The three music loops, stereo 44,100 Hz. Every loop is rendered with a tail and the tail is
// folded back onto the start, so notes and echoes that ring over the end sound again at the
// start and the loop joins without a step.
#include <cmath>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "tools/assetgen/dsp.h"
#include "tools/assetgen/generators.h"
#include "tools/assetgen/instruments.h"
#include "tools/assetgen/sequencer.h"
#include "tools/assetgen/track.h"
#include "tools/assetgen/wavwriter.h"

namespace assetgen {

namespace {

namespace in = instruments;

constexpr double kTail = 6.0;  // seconds of note release and reverb folded back onto the start

struct Chord {
    std::vector<std::string> voicing;  // pad notes, low to high
    std::string root;                  // bass note
};

// The busses of one song: dry parts, and what is sent to the reverb and to the echo.
struct Busses {
    explicit Busses(double seconds) : dry(seconds), reverb(seconds), echo(seconds) {}
    Track dry, reverb, echo;
};

std::vector<Note> padNotes(const std::vector<Chord>& chords, double beatsPerChord, double velocity)
{
    std::vector<Note> notes;
    for (size_t c = 0; c < chords.size(); ++c)
        for (const std::string& n : chords[c].voicing)
            notes.push_back({c * beatsPerChord, beatsPerChord - 0.1, Sequencer::pitch(n), velocity});
    return notes;
}

// Chord tones an octave or two up, one per step, in a rising and falling figure.
std::vector<Note> arpeggio(const std::vector<Chord>& chords, double beatsPerChord, double stepBeats, int octaveUp,
                           double velocity)
{
    const int order[] = {0, 1, 2, 3, 2, 1, 2, 3};
    std::vector<Note> notes;
    for (size_t c = 0; c < chords.size(); ++c) {
        std::vector<double> tones;
        for (const std::string& n : chords[c].voicing)
            tones.push_back(Sequencer::pitch(n) + 12.0 * octaveUp);
        tones.push_back(tones.front() + 12.0);
        const int steps = static_cast<int>(beatsPerChord / stepBeats + 0.5);
        for (int s = 0; s < steps; ++s)
            notes.push_back({c * beatsPerChord + s * stepBeats, stepBeats, tones[static_cast<size_t>(order[s % 8]) % tones.size()],
                             velocity * (s % 4 == 0 ? 1.0 : 0.75)});
    }
    return notes;
}

// Bass figure per chord: steps of (offset in beats, length, octave shift).
std::vector<Note> bassLine(const std::vector<Chord>& chords, double beatsPerChord,
                           const std::vector<std::vector<double>>& figure, double velocity)
{
    std::vector<Note> notes;
    for (size_t c = 0; c < chords.size(); ++c)
        for (const auto& step : figure)
            notes.push_back({c * beatsPerChord + step[0], step[1], Sequencer::pitch(chords[c].root) + 12.0 * step[2], velocity});
    return notes;
}

void finish(const Output& out, const std::string& name, Busses& b, double loopSeconds, double reverbRoom,
            double reverbGain, double echoSeconds, double echoGain)
{
    Track master(loopSeconds + kTail);
    master.mixIn(b.dry, 1.0);
    addReverb(b.reverb, master, reverbRoom, 0.35, reverbGain);
    addEcho(b.echo, master, echoSeconds, 0.45, echoGain);
    master.wrap(static_cast<size_t>(std::lround(loopSeconds * dsp::kRate)));
    std::vector<float> samples = master.interleaved();
    for (float& s : samples)
        s = static_cast<float>(std::tanh(s * 0.8));  // gentle saturation, the same at every sample
    writeWav(out.path("sounds/music/" + name + ".wav"), 44100, 2, toPcm16(samples, 0.89));
}

// Menu theme: A minor at 128 beats a minute, 16 bars (30 s).
void themeMain(const Output& out)
{
    const Sequencer seq(128.0);
    const double loop = seq.seconds(64);
    const Chord am{{"A3", "C4", "E4"}, "A1"}, f{{"F3", "A3", "C4"}, "F1"}, c{{"G3", "C4", "E4"}, "C2"},
        g{{"G3", "B3", "D4"}, "G1"}, e{{"G#3", "B3", "E4"}, "E1"};
    const std::vector<Chord> chords = {am, f, c, g, am, f, c, e, f, g, am, am, f, g, e, e};
    Busses b(loop + kTail);

    const std::vector<Note> pad = padNotes(chords, 4.0, 0.7);
    seq.play(b.dry, pad, in::pad(0.4, 0.35));
    seq.play(b.reverb, pad, in::pad(0.4, 0.35));

    const std::vector<Note> arp = arpeggio(chords, 4.0, 0.5, 1, 0.5);
    seq.play(b.dry, arp, in::pluck(0.18, 0.22), 0.3);
    seq.play(b.echo, arp, in::pluck(0.18, 0.22), 0.3);

    seq.play(b.dry, bassLine(chords, 4.0, {{0, 1.4, 0}, {1.5, 0.4, 0}, {2, 1.4, 0}, {3.5, 0.4, 1}}, 0.8), in::bass(0.45));

    std::vector<Note> kick, snare, hats;
    for (int bar = 0; bar < 16; ++bar) {
        append(kick, Sequencer::pattern(bar % 4 == 3 ? "x.......x...x..." : "x.......x.......", 0.25, bar * 4.0));
        if (bar >= 4)
            append(snare, Sequencer::pattern("....x.......x...", 0.25, bar * 4.0));
        append(hats, Sequencer::pattern("x.x.x.x.x.x.x.xx", 0.25, bar * 4.0));
    }
    seq.play(b.dry, kick, in::kick(0.7));
    seq.play(b.dry, snare, in::snare(0.3), -0.1);
    seq.play(b.reverb, snare, in::snare(0.2), -0.1);
    seq.play(b.dry, hats, in::hat(0.025, 0.12), 0.25);

    const std::vector<Note> melody = Sequencer::phrase(
        "E5:1 C5:0.5 D5:0.5 E5:1 A5:1 G5:1.5 F5:0.5 E5:1 D5:1 C5:1 D5:0.5 E5:0.5 A4:2 B4:1 C5:1 D5:1 G#4:1 "
        "A4:1 C5:0.5 E5:0.5 A5:1.5 G5:0.5 F5:1 E5:1 D5:1 C5:1 E5:1 D5:0.5 C5:0.5 A4:1 B4:1 C5:1 B4:2 G#4:2",
        32.0, 0.7);
    seq.play(b.dry, melody, in::lead(0.18), -0.2);
    seq.play(b.reverb, melody, in::lead(0.18), -0.2);
    seq.play(b.echo, melody, in::lead(0.1), -0.2);

    finish(out, "theme_main", b, loop, 0.75, 0.9, seq.seconds(0.75), 0.35);
}

// Play theme: E minor at 140 beats a minute, 32 bars (about 55 s), driving.
void themePlay(const Output& out)
{
    const Sequencer seq(140.0);
    const double loop = seq.seconds(128);
    const Chord em{{"E3", "G3", "B3"}, "E1"}, c{{"E3", "G3", "C4"}, "C2"}, g{{"D3", "G3", "B3"}, "G1"},
        d{{"D3", "F#3", "A3"}, "D2"}, am{{"E3", "A3", "C4"}, "A1"}, bm{{"D#3", "F#3", "B3"}, "B1"};
    std::vector<Chord> chords;
    for (int phrase = 0; phrase < 4; ++phrase)
        chords.insert(chords.end(), {em, c, g, d, em, c, am, bm});
    Busses b(loop + kTail);

    std::vector<Note> kick, snare, hats, arp, bass, pad;
    for (int bar = 0; bar < 32; ++bar) {
        const double at = bar * 4.0;
        const bool breakdown = bar >= 16 && bar < 24;
        append(kick, Sequencer::pattern(breakdown ? (bar == 23 ? "x...x...x...xxxx" : "x...............")
                                                  : (bar % 8 == 7 ? "x...x...x...x.x." : "x...x...x...x..."),
                                        0.25, at));
        if (!breakdown)
            append(snare, Sequencer::pattern(bar % 8 == 7 ? "....x.......x.xx" : "....x.......x...", 0.25, at));
        append(hats, Sequencer::pattern(breakdown ? "..x...x...x...x." : "x.X.x.X.x.X.x.Xx", 0.25, at));
    }
    const std::vector<Chord> phraseChords(chords.begin(), chords.end());
    append(bass, bassLine(phraseChords, 4.0,
                          {{0, 0.4, 0}, {0.5, 0.4, 0}, {1, 0.4, 1}, {1.5, 0.4, 0}, {2, 0.4, 0}, {2.5, 0.4, 1}, {3, 0.4, 0}, {3.5, 0.4, 1}},
                          0.8));
    arp = arpeggio(chords, 4.0, 0.25, 1, 0.45);
    pad = padNotes(chords, 4.0, 0.5);

    seq.play(b.dry, kick, in::kick(0.9));
    seq.play(b.dry, snare, in::snare(0.45), 0.05);
    seq.play(b.reverb, snare, in::snare(0.25), 0.05);
    seq.play(b.dry, hats, in::hat(0.02, 0.14), 0.3);
    seq.play(b.dry, bass, in::bass(0.5));
    seq.play(b.dry, arp, in::pluck(0.09, 0.16), -0.35);
    seq.play(b.echo, arp, in::pluck(0.09, 0.12), -0.35);
    seq.play(b.dry, pad, in::pad(0.55, 0.2));
    seq.play(b.reverb, pad, in::pad(0.55, 0.25));

    const std::string hook =
        "B4:0.5 E5:0.5 G5:0.5 F#5:0.5 E5:1 B4:1 C5:0.5 E5:0.5 G5:0.5 A5:0.5 G5:1 E5:1 "
        "D5:0.5 G5:0.5 B5:0.5 A5:0.5 G5:1 D5:1 F#5:1 A5:0.5 G5:0.5 F#5:1 D5:1 "
        "E5:0.5 G5:0.5 B5:1 A5:0.5 G5:0.5 E5:1 C5:1 E5:0.5 G5:0.5 C6:1 B5:1 "
        "A5:0.5 G5:0.5 E5:1 C5:1 B4:1 D#5:1 F#5:1 B5:2";
    std::vector<Note> lead = Sequencer::phrase(hook, 32.0, 0.75);
    append(lead, Sequencer::phrase(hook, 96.0, 0.8));
    seq.play(b.dry, lead, in::lead(0.2), 0.15);
    seq.play(b.reverb, lead, in::lead(0.15), 0.15);
    seq.play(b.echo, lead, in::lead(0.1), 0.15);

    finish(out, "theme_play", b, loop, 0.6, 0.7, seq.seconds(0.75), 0.3);
}

// Game-over theme: D minor at 60 beats a minute, four slow bars (16 s).
void themeGameOver(const Output& out)
{
    const Sequencer seq(60.0);
    const double loop = seq.seconds(16);
    const std::vector<Chord> chords = {{{"D3", "F3", "A3"}, "D2"}, {{"D3", "F3", "A#3"}, "A#1"},
                                       {{"D3", "G3", "A#3"}, "G1"}, {{"C#3", "E3", "A3"}, "A1"}};
    Busses b(loop + kTail);
    const std::vector<Note> pad = padNotes(chords, 4.0, 0.7);
    seq.play(b.dry, pad, in::pad(0.2, 0.35));
    seq.play(b.reverb, pad, in::pad(0.2, 0.5));
    seq.play(b.dry, bassLine(chords, 4.0, {{0, 3.8, 0}}, 0.6), in::bass(0.35));
    const std::vector<Note> melody =
        Sequencer::phrase("A5:2 F5:1 E5:1 D5:2 F5:2 G5:1.5 F5:0.5 E5:1 D5:1 C#5:3 r:1", 0.0, 0.6);
    seq.play(b.dry, melody, in::bell(0.8, 0.25), 0.2);
    seq.play(b.reverb, melody, in::bell(0.8, 0.35), 0.2);
    seq.play(b.echo, melody, in::bell(0.8, 0.15), 0.2);
    finish(out, "theme_game_over", b, loop, 0.9, 1.2, seq.seconds(0.5), 0.4);
}

}  // namespace

void writeMusic(const Output& out)
{
    // The loops are the slowest content to make; each gets its own thread.
    std::future<void> main = std::async(std::launch::async, themeMain, std::cref(out));
    std::future<void> play = std::async(std::launch::async, themePlay, std::cref(out));
    themeGameOver(out);
    main.get();
    play.get();
}

}  // namespace assetgen
