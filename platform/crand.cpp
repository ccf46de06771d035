#include "platform/crand.h"

#include <cstdint>

namespace crand {
namespace {

std::uint32_t state = 1;

}  // namespace

void srand(unsigned int seed) {
    state = seed;
}

int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

}  // namespace crand
