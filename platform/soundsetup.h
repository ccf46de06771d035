#ifndef QUELLARIS_PLATFORM_SOUNDSETUP_H
#define QUELLARIS_PLATFORM_SOUNDSETUP_H

// Starts the sound library for the game (44100 Hz, 32 channels) and sets its 3D scale: world
// units are metres, placed sounds fade slowly with distance and motion is heard strongly.
// Throws std::runtime_error("cannot initialize fsound") when no sound output can be opened.
void setupFmodSound();

#endif
