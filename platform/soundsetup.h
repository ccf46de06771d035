#ifndef QUELLARIS_PLATFORM_SOUNDSETUP_H
#define QUELLARIS_PLATFORM_SOUNDSETUP_H

#include <string>

// Starts the sound library for the game (44100 Hz, 32 channels) and sets its 3D scale: world
// units are metres, placed sounds fade slowly with distance and motion is heard strongly.
// Throws std::runtime_error("cannot initialize fsound") when no sound output can be opened.
void setupFmodSound();

// Why no sound output opened, in a player's words, for a game that goes on silent: the sound
// library's own lines, where it writes any before, tell the details of its outputs.
std::string whyNoSoundDevice();

#endif
