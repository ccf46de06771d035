// The game's sound effects, all synthesised at 44,100 Hz, 16-bit. Positional effects are mono.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/dsp.h"
#include "tools/assetgen/generators.h"
#include "tools/assetgen/track.h"
#include "tools/assetgen/wavwriter.h"

namespace assetgen {

namespace {

using dsp::Filter;
using dsp::Noise;
using dsp::Oscillator;
using Samples = std::vector<float>;

constexpr double kPeak = 0.89;  // about -1 dB

// Renders seconds of mono sound from a function of time.
Samples render(double seconds, const std::function<double(double)>& voice)
{
    Samples out(static_cast<size_t>(std::ceil(seconds * dsp::kRate)));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<float>(voice(static_cast<double>(i) / dsp::kRate));
    return out;
}

void save(const Output& out, const std::string& name, const Samples& mono)
{
    writeWav(out.path("sounds/fx/" + name + ".wav"), 44100, 1, toPcm16(mono, kPeak));
}

void saveStereo(const Output& out, const std::string& name, const Track& track)
{
    writeWav(out.path("sounds/fx/" + name + ".wav"), 44100, 2, toPcm16(track.interleaved(), kPeak));
}

// Short fades at both ends so no effect starts or stops with a click.
Samples faded(Samples s, double in = 0.002, double outSeconds = 0.01)
{
    const size_t a = static_cast<size_t>(in * dsp::kRate), b = static_cast<size_t>(outSeconds * dsp::kRate);
    for (size_t i = 0; i < s.size(); ++i) {
        double g = 1.0;
        if (i < a)
            g = static_cast<double>(i) / a;
        if (i + b > s.size())
            g *= static_cast<double>(s.size() - i) / b;
        s[i] = static_cast<float>(s[i] * g);
    }
    return s;
}

Samples lazer()
{
    Oscillator carrier, modulator;
    Filter filter;
    return faded(render(0.16, [&](double t) {
        const double hz = dsp::glide(1900.0, 260.0, t, 0.16);
        const double fm = modulator.sine(hz * 1.5) * hz * 0.8;
        const double v = carrier.square(hz + fm, 0.3);
        return filter.low(v, 6000.0 - 20000.0 * t) * dsp::pluck(t, 0.07);
    }));
}

Samples menuUpDown()
{
    Oscillator o;
    return faded(render(0.07, [&](double t) { return (o.sine(880.0) + 0.3 * o.sine(1760.0)) * dsp::pluck(t, 0.02); }));
}

Samples menuLeftRight()
{
    Oscillator o;
    Noise n(11);
    Filter f;
    return faded(render(0.04, [&](double t) {
        return (0.6 * f.band(n.white(), 3500.0, 3.0) + 0.5 * o.sine(2200.0)) * dsp::pluck(t, 0.008, 0.0005);
    }));
}

Samples menuEnter()
{
    Oscillator a, b;
    Filter fa, fb;
    return faded(render(0.35, [&](double t) {
        const double first = fa.low(a.saw(523.25), 800.0 + 5000.0 * dsp::pluck(t, 0.05)) * dsp::pluck(t, 0.08);
        const double u = t - 0.07;
        const double second = u < 0 ? 0.0 : fb.low(b.saw(783.99), 900.0 + 6000.0 * dsp::pluck(u, 0.06)) * dsp::pluck(u, 0.12);
        return first + second;
    }));
}

// A band of noise swept through the filter; `pan` moves it across and `rise` sweeps its pitch.
Track swoosh(double panFrom, double panTo, double hzFrom, double hzTo, std::uint64_t seed)
{
    const double seconds = 0.38;
    Track track(seconds);
    Noise n(seed);
    Filter f1, f2;
    for (size_t i = 0; i < track.size(); ++i) {
        const double t = static_cast<double>(i) / dsp::kRate, u = t / seconds;
        const double hz = dsp::glide(hzFrom, hzTo, t, seconds);
        const double v = f2.band(f1.band(n.white(), hz, 1.5), hz, 1.5);
        const double env = std::sin(kPi * std::min(1.0, u)) * std::sin(kPi * std::min(1.0, u));
        track.add(i, v * env, panFrom + (panTo - panFrom) * u);
    }
    return track;
}

Samples explosion()
{
    Noise n(21);
    Filter low, crack;
    Oscillator sub;
    return faded(render(1.8, [&](double t) {
        const double rumble = low.low(n.white(), 120.0 + 2500.0 * dsp::pluck(t, 0.12), 1.0) * dsp::pluck(t, 0.55, 0.004);
        const double thump = sub.sine(dsp::glide(90.0, 32.0, t, 0.5)) * dsp::pluck(t, 0.25, 0.003);
        const double grit = crack.high(n.white(), 3000.0) * dsp::pluck(t, 0.08) * 0.3;
        return 1.2 * rumble + thump + grit;
    }), 0.001, 0.2);
}

Samples blockExplode()
{
    Noise n(31);
    Filter hp;
    Oscillator p1, p2, p3;
    return faded(render(0.5, [&](double t) {
        const double shards = hp.high(n.white(), 2500.0) * (dsp::pluck(t, 0.05) + 0.5 * dsp::pluck(t - 0.06, 0.05) +
                                                           0.3 * dsp::pluck(t - 0.13, 0.06));
        const double glass = (p1.sine(2630.0) + p2.sine(3710.0) * 0.7 + p3.sine(5190.0) * 0.5) * dsp::pluck(t, 0.12);
        return shards + 0.4 * glass;
    }));
}

// A buzzy drone that loops: whole cycles of 110 Hz and 165 Hz in one second, built from their
// harmonics so every partial ends where it began.
Samples humChaser()
{
    return render(1.0, [](double t) {
        // Start a quarter of the way into a cycle, away from the steep edge of the buzz.
        t += 0.25 / 110.0;
        double v = 0.0;
        for (int k = 1; k <= 24; ++k) {
            const double rolloff = 1.0 / k * (k > 10 ? 0.5 : 1.0);
            v += rolloff * std::sin(2.0 * kPi * 110.0 * k * t);
            v += 0.6 * rolloff * std::sin(2.0 * kPi * 165.0 * k * t + 0.3 * k);
        }
        const double wobble = 1.0 + 0.25 * std::sin(2.0 * kPi * 6.0 * t);
        return v * wobble;
    });
}

Samples bulletHit()
{
    Oscillator c, m;
    Noise n(41);
    Filter f;
    return faded(render(0.3, [&](double t) {
        const double clank = c.sine(820.0 + m.sine(820.0 * 1.41) * 900.0 * dsp::pluck(t, 0.05)) * dsp::pluck(t, 0.09);
        const double tick = f.high(n.white(), 4000.0) * dsp::pluck(t, 0.01);
        return clank + 0.6 * tick;
    }));
}

Samples bump()
{
    Oscillator o;
    Noise n(51);
    Filter f;
    return faded(render(0.45, [&](double t) {
        const double thud = o.sine(dsp::glide(120.0, 45.0, t, 0.2)) * dsp::pluck(t, 0.12, 0.003);
        // Static: noise chopped into crackles.
        const double crackle = std::sin(2.0 * kPi * 37.0 * t) > 0.3 ? f.band(n.white(), 2000.0, 0.8) : 0.0;
        return thud + 0.5 * crackle * dsp::pluck(t, 0.18);
    }));
}

// A bell tone: inharmonic partials that fade at their own rates.
double bell(Oscillator* o, double hz, double t, double decay)
{
    const double ratios[] = {1.0, 2.76, 5.4, 8.93};
    double v = 0.0;
    for (int k = 0; k < 4; ++k)
        v += o[k].sine(hz * ratios[k]) * dsp::pluck(t, decay / (1.0 + k)) / (1.0 + k);
    return v;
}

Samples pickup()
{
    Oscillator a[4], b[4];
    return faded(render(0.6, [&](double t) { return bell(a, 1318.5, t, 0.3) + bell(b, 1975.5, t - 0.08, 0.35); }));
}

Samples trick()
{
    Oscillator o[6];
    const double notes[] = {84, 88, 91, 96, 100, 103};
    return faded(render(0.6, [&](double t) {
        double v = 0.0;
        for (int k = 0; k < 6; ++k) {
            const double u = t - 0.05 * k;
            v += o[k].sine(dsp::midiToHz(notes[k])) * dsp::pluck(u, 0.08) * (u >= 0 ? 1.0 : 0.0);
        }
        return v;
    }));
}

Samples combo()
{
    Oscillator o[4];
    Filter f;
    const double chord[] = {60, 64, 67, 72};
    return faded(render(0.45, [&](double t) {
        double v = 0.0;
        for (int k = 0; k < 4; ++k)
            v += o[k].saw(dsp::midiToHz(chord[k]) * (1.0 + 0.003 * k));
        return f.low(v, 600.0 + 5000.0 * dsp::pluck(t, 0.07)) * dsp::adsr(t, 0.005, 0.1, 0.5, 0.15, 0.25);
    }));
}

Samples weaponEmpty()
{
    Noise n(61);
    Filter f;
    Oscillator o;
    return faded(render(0.05, [&](double t) {
        return (f.band(n.white(), 2500.0, 2.0) + 0.4 * o.square(3000.0)) * dsp::pluck(t, 0.006, 0.0003);
    }), 0.0003, 0.005);
}

Samples empBlast()
{
    Oscillator c, m;
    Noise n(71);
    Filter f;
    return faded(render(1.3, [&](double t) {
        const double hz = dsp::glide(2200.0, 60.0, t, 1.1);
        const double tone = c.sine(hz + m.sine(hz * 0.5) * hz * 0.6);
        const double hiss = f.low(n.white(), hz * 2.0) * 0.5;
        return (tone + hiss) * dsp::adsr(t, 0.01, 0.3, 0.7, 0.5, 0.8);
    }), 0.002, 0.1);
}

Samples meltAll()
{
    Noise n(81);
    Filter hp, bp;
    return faded(render(1.5, [&](double t) {
        const double fizz = hp.high(n.white(), 5000.0);
        const double pops = std::pow(std::abs(std::sin(2.0 * kPi * 23.0 * t + 3.0 * std::sin(2.0 * kPi * 3.1 * t))), 8.0);
        const double hiss = bp.band(n.white(), 2500.0 + 1500.0 * std::sin(2.0 * kPi * 1.7 * t), 1.0);
        return (0.6 * fizz * (0.3 + pops) + 0.4 * hiss) * dsp::adsr(t, 0.08, 0.2, 0.8, 0.5, 1.0);
    }), 0.002, 0.1);
}

// Two-tone alarm three times, then a rising triad.
Samples nextWaveSignal()
{
    Oscillator o, a, b, c;
    Filter f;
    return faded(render(1.5, [&](double t) {
        double v = 0.0;
        if (t < 0.72) {
            const double hz = std::fmod(t, 0.24) < 0.12 ? 880.0 : 660.0;
            v = f.low(o.square(hz), 3000.0) * 0.6;
        }
        const double notes[] = {72, 76, 79};
        Oscillator* osc[] = {&a, &b, &c};
        for (int k = 0; k < 3; ++k) {
            const double u = t - 0.75 - 0.1 * k;
            if (u >= 0)
                v += osc[k]->saw(dsp::midiToHz(notes[k])) * dsp::adsr(u, 0.01, 0.1, 0.6, 0.3, 0.5 - 0.1 * k) * 0.4;
        }
        return v;
    }));
}

Samples trickFailed()
{
    Oscillator o, v;
    Filter f;
    return faded(render(0.65, [&](double t) {
        const double hz = dsp::glide(320.0, 130.0, t, 0.6) * (1.0 + 0.03 * v.sine(12.0));
        return f.low(o.saw(hz), 1800.0) * dsp::adsr(t, 0.01, 0.05, 0.9, 0.15, 0.5);
    }));
}

// Direction signals: two beeps falling (left) or rising (right); a glide up or down.
Samples beeps(double first, double second)
{
    Oscillator o;
    return faded(render(0.26, [&](double t) {
        const double hz = t < 0.12 ? first : second;
        const double local = t < 0.12 ? t : t - 0.13;
        return o.sine(hz) * dsp::adsr(local, 0.004, 0.02, 0.8, 0.02, 0.09);
    }));
}

Samples glideSignal(double from, double to)
{
    Oscillator o;
    return faded(render(0.25, [&](double t) {
        return (o.sine(dsp::glide(from, to, t, 0.22)) + 0.2 * o.sine(2.0 * dsp::glide(from, to, t, 0.22))) *
               dsp::adsr(t, 0.01, 0.05, 0.8, 0.05, 0.18);
    }));
}

// The player's engine: a seamless 2 s drone; every partial makes whole cycles over the length
// (55 Hz steps) and the slow swell two whole cycles.
Samples humPlayer()
{
    return render(2.0, [](double t) {
        double v = 0.0;
        const double partials[][2] = {{55, 1.0}, {110, 0.7}, {165, 0.35}, {220, 0.3}, {275, 0.12}, {330, 0.15}, {440, 0.08}, {660, 0.05}};
        for (const auto& p : partials)
            v += p[1] * std::sin(2.0 * kPi * p[0] * t + p[0] * 0.01);
        const double beat = 0.3 * std::sin(2.0 * kPi * 110.5 * t);  // 221 whole cycles
        return (v + beat) * (0.85 + 0.15 * std::sin(2.0 * kPi * 1.0 * t));
    });
}

// The third maker's jingle: a rising shimmer that opens into a chord with a long ring.
Samples quendleIntro()
{
    const double seconds = 4.2;
    Track dry(seconds);
    Oscillator shimmer[8];
    for (size_t i = 0; i < dry.size(); ++i) {
        const double t = static_cast<double>(i) / dsp::kRate;
        double v = 0.0;
        if (t < 1.7)
            for (int k = 0; k < 8; ++k) {
                const double hz = dsp::glide(300.0 * (1.0 + 0.5 * k), 1200.0 * (1.0 + 0.5 * k), t, 1.6);
                v += shimmer[k].sine(hz) * (0.5 + 0.5 * std::sin(2.0 * kPi * (9.0 + k) * t)) / (1.0 + k);
            }
        // Swells in, then hands over to the chord with a short fade instead of a cut.
        v *= std::min(1.0, t / 1.2) * 0.5 * std::clamp((1.7 - t) / 0.2, 0.0, 1.0);
        dry.add(i, v);
    }
    const double chord[] = {62, 66, 69, 73, 78};
    Oscillator tones[5][4];
    for (int k = 0; k < 5; ++k)
        for (size_t i = static_cast<size_t>(1.55 * dsp::kRate); i < dry.size(); ++i) {
            const double t = static_cast<double>(i) / dsp::kRate - 1.55;
            dry.add(i, 0.5 * bell(tones[k], dsp::midiToHz(chord[k]), t, 1.6) + 0.15 * std::sin(2.0 * kPi * dsp::midiToHz(chord[k] - 12) * t) * dsp::pluck(t, 1.0, 0.02));
        }
    Track wet(seconds);
    wet.mixIn(dry, 1.0);
    addReverb(dry, wet, 0.8, 0.3, 0.6);
    return faded(wet.mono(), 0.005, 0.3);
}

}  // namespace

void writeSoundEffects(const Output& out)
{
    save(out, "lazer", lazer());
    save(out, "menu_up_down", menuUpDown());
    save(out, "menu_left_right", menuLeftRight());
    save(out, "menu_enter", menuEnter());
    saveStereo(out, "swoosh_left", swoosh(0.8, -0.8, 1800.0, 900.0, 101));
    saveStereo(out, "swoosh_right", swoosh(-0.8, 0.8, 1800.0, 900.0, 102));
    saveStereo(out, "swoosh_up", swoosh(0.0, 0.0, 500.0, 3500.0, 103));
    saveStereo(out, "swoosh_down", swoosh(0.0, 0.0, 3500.0, 500.0, 104));
    save(out, "explosion", explosion());
    save(out, "block_explode", blockExplode());
    save(out, "hum_chaser", humChaser());
    save(out, "bullet_hit", bulletHit());
    save(out, "bump", bump());
    save(out, "pickup", pickup());
    save(out, "trick", trick());
    save(out, "combo", combo());
    save(out, "weapon_empty", weaponEmpty());
    save(out, "emp_blast", empBlast());
    save(out, "melt_all", meltAll());
    save(out, "next_wave_signal", nextWaveSignal());
    save(out, "trick_failed", trickFailed());
    save(out, "signal_left", beeps(784.0, 659.0));
    save(out, "signal_right", beeps(659.0, 784.0));
    save(out, "signal_up", glideSignal(500.0, 1000.0));
    save(out, "signal_down", glideSignal(1000.0, 500.0));
    save(out, "hum_player", humPlayer());
    save(out, "quendle_intro", quendleIntro());
}

}  // namespace assetgen
