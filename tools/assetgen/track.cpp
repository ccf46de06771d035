#include "tools/assetgen/track.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/dsp.h"

namespace assetgen {

Track::Track(double seconds)
    : _left(static_cast<size_t>(std::ceil(seconds * dsp::kRate)), 0.0f), _right(_left.size(), 0.0f)
{
}

void Track::add(size_t i, double value, double pan)
{
    if (i >= _left.size())
        return;
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    _left[i] += static_cast<float>(value * std::cos(angle) * std::sqrt(2.0));
    _right[i] += static_cast<float>(value * std::sin(angle) * std::sqrt(2.0));
}

void Track::addStereo(size_t i, double left, double right)
{
    if (i >= _left.size())
        return;
    _left[i] += static_cast<float>(left);
    _right[i] += static_cast<float>(right);
}

void Track::mixIn(const Track& other, double gain)
{
    const size_t n = std::min(size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        _left[i] += static_cast<float>(other._left[i] * gain);
        _right[i] += static_cast<float>(other._right[i] * gain);
    }
}

void Track::wrap(size_t length)
{
    for (size_t i = length; i < _left.size(); ++i) {
        _left[(i - length) % length] += _left[i];
        _right[(i - length) % length] += _right[i];
    }
    cut(length);
}

void Track::cut(size_t length)
{
    _left.resize(length);
    _right.resize(length);
}

std::vector<float> Track::interleaved() const
{
    std::vector<float> out(_left.size() * 2);
    for (size_t i = 0; i < _left.size(); ++i) {
        out[2 * i] = _left[i];
        out[2 * i + 1] = _right[i];
    }
    return out;
}

std::vector<float> Track::mono() const
{
    std::vector<float> out(_left.size());
    for (size_t i = 0; i < _left.size(); ++i)
        out[i] = 0.5f * (_left[i] + _right[i]);
    return out;
}

namespace {

class Comb {
public:
    explicit Comb(size_t length) : _buffer(length, 0.0) {}
    double run(double x, double feedback, double damping)
    {
        const double y = _buffer[_pos];
        _store = y * (1.0 - damping) + _store * damping;
        _buffer[_pos] = x + _store * feedback;
        _pos = (_pos + 1) % _buffer.size();
        return y;
    }

private:
    std::vector<double> _buffer;
    size_t _pos = 0;
    double _store = 0.0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : _buffer(length, 0.0) {}
    double run(double x)
    {
        const double b = _buffer[_pos];
        _buffer[_pos] = x + b * 0.5;
        _pos = (_pos + 1) % _buffer.size();
        return b - x;
    }

private:
    std::vector<double> _buffer;
    size_t _pos = 0;
};

}  // namespace

void addReverb(const Track& dry, Track& out, double roomSize, double damping, double gain)
{
    const size_t combLengths[] = {1101, 1187, 1277, 1361, 1423, 1493, 1559, 1613};
    const size_t passLengths[] = {557, 443, 343, 227};
    for (int side = 0; side < 2; ++side) {
        const size_t spread = side ? 23 : 0;
        std::vector<Comb> combs;
        for (size_t l : combLengths)
            combs.emplace_back(l + spread);
        std::vector<AllPass> passes;
        for (size_t l : passLengths)
            passes.emplace_back(l + spread);
        const double feedback = 0.7 + 0.28 * roomSize;
        for (size_t i = 0; i < dry.size(); ++i) {
            const double x = 0.015 * (dry.left(i) + dry.right(i));
            double y = 0.0;
            for (Comb& c : combs)
                y += c.run(x, feedback, damping);
            for (AllPass& p : passes)
                y = p.run(y);
            if (side)
                out.addStereo(i, 0.0, y * gain);
            else
                out.addStereo(i, y * gain, 0.0);
        }
    }
}

void addEcho(const Track& dry, Track& out, double delaySeconds, double feedback, double gain)
{
    const size_t d = static_cast<size_t>(delaySeconds * dsp::kRate);
    std::vector<double> lineL(dry.size(), 0.0), lineR(dry.size(), 0.0);
    for (size_t i = 0; i < dry.size(); ++i) {
        const double in = 0.5 * (dry.left(i) + dry.right(i));
        const double echoL = i >= d ? lineL[i - d] : 0.0, echoR = i >= d ? lineR[i - d] : 0.0;
        // Each repeat crosses to the other side on its way back.
        lineL[i] = in + feedback * echoR;
        lineR[i] = feedback * echoL;
        out.addStereo(i, echoL * gain, echoR * gain);
    }
}

}  // namespace assetgen
