#ifndef QUELLARIS_ASSETGEN_DSP_H
#define QUELLARIS_ASSETGEN_DSP_H

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assetgen/rng.h"
#include "tools/assetgen/vec.h"

// The synthesiser's building blocks: oscillators, envelopes, noise and filters. Every sound
// runs at 44,100 Hz.
namespace assetgen::dsp {

constexpr double kRate = 44100.0;

inline double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Phase accumulator with band-limited saw and square (polyBLEP) and a plain sine.
class Oscillator {
public:
    explicit Oscillator(double phase = 0.0) : _phase(phase) {}
    double sine(double hz) { return std::sin(2.0 * kPi * advance(hz)); }
    double saw(double hz)
    {
        const double inc = hz / kRate, p = advance(hz);
        return 2.0 * p - 1.0 - blep(p, inc);
    }
    double square(double hz, double width = 0.5)
    {
        const double inc = hz / kRate, p = advance(hz);
        double v = p < width ? 1.0 : -1.0;
        v += blep(p, inc);
        double q = p - width;
        if (q < 0.0)
            q += 1.0;
        v -= blep(q, inc);
        return v;
    }

private:
    double advance(double hz)
    {
        const double p = _phase;
        _phase += hz / kRate;
        _phase -= std::floor(_phase);
        return p;
    }
    static double blep(double t, double dt)
    {
        if (dt <= 0.0)
            return 0.0;
        if (t < dt) {
            t /= dt;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }
    double _phase;
};

class Noise {
public:
    explicit Noise(std::uint64_t seed) : _rng(seed) {}
    double white() { return _rng.signedUnit(); }

private:
    Rng _rng;
};

// State-variable filter (trapezoidal), stable under fast cutoff changes.
class Filter {
public:
    struct Out {
        double low, band, high;
    };
    Out run(double x, double cutoffHz, double q)
    {
        const double g = std::tan(kPi * std::clamp(cutoffHz, 10.0, kRate * 0.45) / kRate);
        const double k = 1.0 / std::max(0.5, q);
        const double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        const double v3 = x - _s2;
        const double v1 = a1 * _s1 + a2 * v3;
        const double v2 = _s2 + a2 * _s1 + a3 * v3;
        _s1 = 2.0 * v1 - _s1;
        _s2 = 2.0 * v2 - _s2;
        return {v2, v1, x - k * v1 - v2};
    }
    double low(double x, double hz, double q = 0.707) { return run(x, hz, q).low; }
    double band(double x, double hz, double q = 0.707) { return run(x, hz, q).band; }
    double high(double x, double hz, double q = 0.707) { return run(x, hz, q).high; }

private:
    double _s1 = 0.0, _s2 = 0.0;
};

// Attack-decay-sustain-release level at time t of a note held for `held` seconds.
inline double adsr(double t, double attack, double decay, double sustain, double release, double held)
{
    auto level = [&](double u) {
        if (u < attack)
            return u / attack;
        if (u < attack + decay)
            return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < 0.0)
        return 0.0;
    if (t < held)
        return level(t);
    const double r = t - held;
    return r >= release ? 0.0 : level(held) * (1.0 - r / release);
}

// Exponential decay with a short click-free attack.
inline double pluck(double t, double decay, double attack = 0.002)
{
    if (t < 0.0)
        return 0.0;
    return std::min(1.0, t / attack) * std::exp(-t / decay);
}

// Exponential glide between two values over a duration.
inline double glide(double from, double to, double t, double duration)
{
    const double u = std::clamp(t / duration, 0.0, 1.0);
    return from * std::pow(to / from, u);
}

}  // namespace assetgen::dsp

#endif
