#include "tools/assetgen/instruments.h"

#include <cmath>

#include "tools/assetgen/dsp.h"

namespace assetgen::instruments {

namespace {

// Calls voice(t) for every sample of the note and its release, placing it in the track.
template <typename Voice>
void renderNote(Track& track, size_t start, double seconds, double pan, Voice voice)
{
    const size_t n = static_cast<size_t>(seconds * dsp::kRate);
    for (size_t i = 0; i < n && start + i < track.size(); ++i)
        track.add(start + i, voice(static_cast<double>(i) / dsp::kRate), pan);
}

}  // namespace

Instrument pad(double brightness, double gain)
{
    return [=](Track& track, size_t start, double held, double hz, double velocity, double pan) {
        dsp::Oscillator o[3] = {dsp::Oscillator(0.0), dsp::Oscillator(0.33), dsp::Oscillator(0.67)};
        dsp::Filter f;
        const double attack = 0.35, release = 0.9;
        renderNote(track, start, held + release, pan, [&](double t) {
            const double v = o[0].saw(hz * 0.996) + o[1].saw(hz) + o[2].saw(hz * 1.004);
            const double cutoff = hz * (2.0 + 4.0 * brightness) * (1.0 + 0.3 * std::sin(2.0 * kPi * 0.4 * t));
            return gain * velocity * f.low(v, cutoff, 0.9) * dsp::adsr(t, attack, 0.3, 0.8, release, held) / 3.0;
        });
    };
}

Instrument pluck(double decay, double gain)
{
    return [=](Track& track, size_t start, double, double hz, double velocity, double pan) {
        dsp::Oscillator o;
        dsp::Filter f;
        renderNote(track, start, decay * 6.0, pan, [&](double t) {
            const double env = dsp::pluck(t, decay);
            return gain * velocity * f.low(o.saw(hz) + 0.5 * o.square(hz * 0.5), hz * (1.5 + 10.0 * env), 1.2) * env;
        });
    };
}

Instrument bass(double gain)
{
    return [=](Track& track, size_t start, double held, double hz, double velocity, double pan) {
        dsp::Oscillator saw, sub;
        dsp::Filter f;
        renderNote(track, start, held + 0.08, pan, [&](double t) {
            const double env = dsp::adsr(t, 0.004, 0.15, 0.7, 0.08, held);
            const double v = f.low(saw.saw(hz), 200.0 + 900.0 * dsp::pluck(t, 0.08), 1.0) + 0.8 * sub.sine(hz);
            return gain * velocity * v * env;
        });
    };
}

Instrument lead(double gain)
{
    return [=](Track& track, size_t start, double held, double hz, double velocity, double pan) {
        dsp::Oscillator o, vibrato;
        dsp::Filter f;
        renderNote(track, start, held + 0.25, pan, [&](double t) {
            const double depth = std::min(1.0, t / 0.3) * 0.006;
            const double pitch = hz * (1.0 + depth * vibrato.sine(5.5));
            const double env = dsp::adsr(t, 0.01, 0.2, 0.75, 0.25, held);
            return gain * velocity * f.low(o.square(pitch, 0.35), 2500.0, 0.8) * env;
        });
    };
}

Instrument bell(double decay, double gain)
{
    return [=](Track& track, size_t start, double, double hz, double velocity, double pan) {
        dsp::Oscillator carrier, modulator;
        renderNote(track, start, decay * 5.0, pan, [&](double t) {
            const double index = 2.5 * dsp::pluck(t, decay * 0.4);
            return gain * velocity * carrier.sine(hz + modulator.sine(hz * 3.5) * hz * index) * dsp::pluck(t, decay);
        });
    };
}

Instrument kick(double gain)
{
    return [=](Track& track, size_t start, double, double, double velocity, double pan) {
        dsp::Oscillator o;
        renderNote(track, start, 0.4, pan, [&](double t) {
            return gain * velocity * (o.sine(dsp::glide(170.0, 46.0, t, 0.11)) * dsp::pluck(t, 0.16, 0.001) +
                                      0.3 * dsp::pluck(t, 0.004, 0.0005));
        });
    };
}

Instrument snare(double gain)
{
    return [=](Track& track, size_t start, double, double, double velocity, double pan) {
        dsp::Noise n(start * 2654435761u + 1);
        dsp::Filter f;
        dsp::Oscillator o;
        renderNote(track, start, 0.3, pan, [&](double t) {
            return gain * velocity * (f.band(n.white(), 2200.0, 0.7) * dsp::pluck(t, 0.07, 0.001) +
                                      0.5 * o.sine(190.0) * dsp::pluck(t, 0.05, 0.001));
        });
    };
}

Instrument hat(double decay, double gain)
{
    return [=](Track& track, size_t start, double, double, double velocity, double pan) {
        dsp::Noise n(start * 2246822519u + 7);
        dsp::Filter f;
        renderNote(track, start, decay * 5.0, pan,
                   [&](double t) { return gain * velocity * f.high(n.white(), 7500.0, 0.9) * dsp::pluck(t, decay, 0.0005); });
    };
}

}  // namespace assetgen::instruments
