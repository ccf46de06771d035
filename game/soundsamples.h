#ifndef QUELLARIS_GAME_SOUNDSAMPLES_H
#define QUELLARIS_GAME_SOUNDSAMPLES_H

// The game's sound samples: the fixed table of logical sound names with how each is loaded,
// and the loading of them from the sample list "sounds/sound.conf", which names the file of
// each logical name under "sounds/". Every sound of the game is played by its logical name.

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/fsound.h"

class Settings;

namespace Vortel {

// Logical name to loaded sample; null where the sample did not load. The samples belong to
// the sound library, which releases them all when it closes.
using SoundSampleMap = std::map<std::string, FSOUND_SAMPLE*>;

// How one logical sound is loaded.
struct SoundSampleRow {
    const char* name;
    unsigned int mode;
    // Sounds placed in space are at full volume up to this distance; 0 for the others.
    float minDistance;
};

// One-shot sound at the listener.
constexpr unsigned int SAMPLE_PLAIN = FSOUND_16BITS | FSOUND_STEREO | FSOUND_SIGNED;
// Music and the engine hum: repeats until stopped.
constexpr unsigned int SAMPLE_LOOPING = FSOUND_LOOP_NORMAL | SAMPLE_PLAIN;
constexpr unsigned int SAMPLE_NORMAL = FSOUND_NORMAL;
// One-shot sound placed in space, mixed down to mono.
constexpr unsigned int SAMPLE_POSITIONAL = FSOUND_HW3D | FSOUND_FORCEMONO | FSOUND_NORMAL;

constexpr int SOUND_SAMPLE_COUNT = 52;
// The samples the loader loads, in load order.
extern const std::array<SoundSampleRow, SOUND_SAMPLE_COUNT> SOUND_SAMPLE_TABLE;
// The jingle of the last splash screen, loaded at start-up, before everything else.
extern const SoundSampleRow INTRO_SAMPLE;

extern const char* const SOUND_LIST_PATH;

// Loads the file the list names for the row, "sounds/" followed by the value exactly as
// written, and stores the sample under the row's name, replacing any entry of that name. A
// name missing from the list, a value with a 0 byte (which names no file) or a file that does
// not load stores null. Of these only a file that is there but refused as a sound is told, on
// standard error with its name and why, once for all the rows that share told.
// A name the list lacks is added to it with an empty value.
void loadSoundSample(Settings& list, const SoundSampleRow& row, SoundSampleMap& samples, std::set<std::string>& told);

// Reads the sample list and loads every row of the table. Rows are independent: each stores
// its own sample or null, and a missing list leaves all of them null. A list that cannot be
// read or names none of the sounds is told on standard error, and so is each refused file.
// beforeEachRow, when given, runs before each row; what it throws ends the loading there.
void loadSoundSamples(SoundSampleMap& samples, const std::function<void()>& beforeEachRow = {});

// Reads the sample list and loads the intro sample alone.
void loadIntroSample(SoundSampleMap& samples);

}  // namespace Vortel

#endif
