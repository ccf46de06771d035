#ifndef QUELLARIS_PLATFORM_CRAND_H
#define QUELLARIS_PLATFORM_CRAND_H

// The game's stand-in for the C runtime's rand()/srand(): the same linear congruential
// sequence (15-bit results 0..CRAND_MAX, initial state 1) on every platform, so effects,
// chasers and names draw the numbers they were tuned with. One sequence for the whole
// program, used from the main thread only.
namespace crand {

constexpr int CRAND_MAX = 0x7FFF;

void srand(unsigned int seed);
int rand();

}  // namespace crand

#endif
