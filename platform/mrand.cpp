#include "platform/mrand.h"

namespace {

constexpr int SHIFT = 397;
constexpr std::uint32_t MATRIX_A = 0x9908b0dfu;
constexpr std::uint32_t UPPER_MASK = 0x80000000u;
constexpr std::uint32_t LOWER_MASK = 0x7fffffffu;

std::uint32_t twist(std::uint32_t upper, std::uint32_t lower, std::uint32_t far) {
    const std::uint32_t y = (upper & UPPER_MASK) | (lower & LOWER_MASK);
    return far ^ (y >> 1) ^ ((y & 1u) != 0 ? MATRIX_A : 0u);
}

}  // namespace

RandGenerator::RandGenerator() : _state(), _index(STATE_SIZE) {
    seed(DEFAULT_SEED);
}

void RandGenerator::seed(std::uint32_t s) {
    _state[0] = s;
    for (int i = 1; i < STATE_SIZE; ++i) {
        const std::uint32_t previous = _state[i - 1];
        _state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
    }
    _index = STATE_SIZE;
}

double RandGenerator::rand() {
    return static_cast<double>(nextWord()) / 4294967295.0;
}

double RandGenerator::rand(double lo, double hi) {
    return rand() * (hi - lo) + lo;
}

void RandGenerator::regenerate() {
    for (int i = 0; i < STATE_SIZE; ++i) {
        const int next = (i + 1) % STATE_SIZE;
        const int far = (i + SHIFT) % STATE_SIZE;
        _state[i] = twist(_state[i], _state[next], _state[far]);
    }
    _index = 0;
}

std::uint32_t RandGenerator::nextWord() {
    if (_index >= STATE_SIZE) {
        regenerate();
    }
    std::uint32_t y = _state[_index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}
