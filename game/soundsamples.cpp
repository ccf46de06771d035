#include "game/soundsamples.h"

#include <algorithm>
#include <cstdio>

#include "platform/settings.h"
#include "platform/soundpcm.h"

namespace Vortel {

static_assert(SAMPLE_PLAIN == 0x150 && SAMPLE_LOOPING == 0x152 && SAMPLE_NORMAL == 0x130 &&
                  SAMPLE_POSITIONAL == 0x41130,
              "the sample list's files are made for these modes");

namespace {

// In effect unlimited: placed sounds never stop getting quieter with distance.
constexpr float MAX_DISTANCE = 1.0e9f;

const char* const SOUND_FOLDER = "sounds/";

// A list that cannot be read, or names none of the game's sounds, is no error: every sample
// then fails to load and the game runs silent, which only the told need not wonder about.
Settings readSoundList(bool tell) {
    Settings list;
    if (!list.load(SOUND_LIST_PATH, false)) {
        if (tell) {
            std::fprintf(stderr, "Cannot read the sound list %s: the game runs silent\n", SOUND_LIST_PATH);
        }
        return list;
    }
    const bool namesNone = std::none_of(SOUND_SAMPLE_TABLE.begin(), SOUND_SAMPLE_TABLE.end(),
                                        [&list](const SoundSampleRow& row) { return list.exists(row.name); });
    if (namesNone && tell) {
        std::fprintf(stderr, "The sound list %s names none of the game's sounds: the game runs silent\n",
                     SOUND_LIST_PATH);
    }
    return list;
}

// A file that is missing (or a name the list lacks) goes unsaid, as the list may leave sounds
// out; one that is there but refused is told, once. A file that loads as nothing only for want
// of a sound device is not refused.
void tellIfRefused(const std::string& path, std::set<std::string>& told) {
    if (told.count(path) != 0) {
        return;
    }
    const std::string why = soundFileRefusal(path);
    if (!why.empty()) {
        std::fprintf(stderr, "Cannot use the sound file %s: %s; the game goes on without it\n", path.c_str(),
                     why.c_str());
        told.insert(path);
    }
}

}  // namespace

const std::array<SoundSampleRow, SOUND_SAMPLE_COUNT> SOUND_SAMPLE_TABLE = {{
    {"lazer", SAMPLE_PLAIN, 0.0f},
    {"menu_up_down", SAMPLE_PLAIN, 0.0f},
    {"menu_left_right", SAMPLE_PLAIN, 0.0f},
    {"menu_enter", SAMPLE_PLAIN, 0.0f},
    {"swoosh_left", SAMPLE_PLAIN, 0.0f},
    {"swoosh_right", SAMPLE_PLAIN, 0.0f},
    {"swoosh_up", SAMPLE_PLAIN, 0.0f},
    {"swoosh_down", SAMPLE_PLAIN, 0.0f},
    {"explosion", SAMPLE_POSITIONAL, 8.0f},
    {"bullet_hit", SAMPLE_PLAIN, 0.0f},
    {"next_wave_signal", SAMPLE_PLAIN, 0.0f},
    {"bump", SAMPLE_PLAIN, 0.0f},
    {"block_explode", SAMPLE_POSITIONAL, 2.0f},
    {"pickup", SAMPLE_PLAIN, 0.0f},
    {"good", SAMPLE_PLAIN, 0.0f},
    {"verygood", SAMPLE_PLAIN, 0.0f},
    {"excellent", SAMPLE_PLAIN, 0.0f},
    {"superior", SAMPLE_PLAIN, 0.0f},
    {"getready", SAMPLE_PLAIN, 0.0f},
    {"gameover", SAMPLE_PLAIN, 0.0f},
    {"chaserentered", SAMPLE_PLAIN, 0.0f},
    {"chaserdestroyed", SAMPLE_PLAIN, 0.0f},
    {"chasercutoff", SAMPLE_PLAIN, 0.0f},
    {"2combo", SAMPLE_PLAIN, 0.0f},
    {"3combo", SAMPLE_PLAIN, 0.0f},
    {"4combo", SAMPLE_PLAIN, 0.0f},
    {"5combo", SAMPLE_PLAIN, 0.0f},
    {"6combo", SAMPLE_PLAIN, 0.0f},
    {"7combo", SAMPLE_PLAIN, 0.0f},
    {"8combo", SAMPLE_PLAIN, 0.0f},
    {"9combo", SAMPLE_PLAIN, 0.0f},
    {"10combo", SAMPLE_PLAIN, 0.0f},
    {"score", SAMPLE_PLAIN, 0.0f},
    {"ammo", SAMPLE_PLAIN, 0.0f},
    {"emp", SAMPLE_PLAIN, 0.0f},
    {"shields", SAMPLE_PLAIN, 0.0f},
    {"warning_low_shields", SAMPLE_PLAIN, 0.0f},
    {"weapon_empty", SAMPLE_NORMAL, 0.0f},
    {"trick", SAMPLE_PLAIN, 0.0f},
    {"combo", SAMPLE_PLAIN, 0.0f},
    {"emp_blast", SAMPLE_PLAIN, 0.0f},
    {"melt_all", SAMPLE_PLAIN, 0.0f},
    {"hum_player", SAMPLE_LOOPING, 0.0f},
    {"hum_chaser", SAMPLE_POSITIONAL, 3.0f},
    {"signal_left", SAMPLE_PLAIN, 0.0f},
    {"signal_right", SAMPLE_PLAIN, 0.0f},
    {"signal_up", SAMPLE_PLAIN, 0.0f},
    {"signal_down", SAMPLE_PLAIN, 0.0f},
    {"trick_failed", SAMPLE_PLAIN, 0.0f},
    {"theme_main", SAMPLE_LOOPING, 0.0f},
    {"theme_play", SAMPLE_LOOPING, 0.0f},
    {"theme_game_over", SAMPLE_LOOPING, 0.0f},
}};

const SoundSampleRow INTRO_SAMPLE = {"quendle_intro", SAMPLE_NORMAL, 0.0f};

const char* const SOUND_LIST_PATH = "sounds/sound.conf";

void loadSoundSample(Settings& list, const SoundSampleRow& row, SoundSampleMap& samples, std::set<std::string>& told) {
    const std::string path = SOUND_FOLDER + list[row.name].text;
    // No file's name holds a 0 byte: cut there, the value would name another file.
    const bool names = path.find('\0') == std::string::npos;
    FSOUND_SAMPLE* const sample = names ? FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), row.mode, 0, 0) : nullptr;
    samples[row.name] = sample;
    if (sample == nullptr && names) {
        tellIfRefused(path, told);
    }
    if (sample != nullptr && row.minDistance > 0.0f) {
        FSOUND_Sample_SetMinMaxDistance(sample, row.minDistance, MAX_DISTANCE);
    }
}

void loadSoundSamples(SoundSampleMap& samples, const std::function<void()>& beforeEachRow) {
    Settings list = readSoundList(true);
    std::set<std::string> told;
    for (const SoundSampleRow& row : SOUND_SAMPLE_TABLE) {
        if (beforeEachRow) {
            beforeEachRow();
        }
        loadSoundSample(list, row, samples, told);
    }
}

void loadIntroSample(SoundSampleMap& samples) {
    // The loading of all samples that follows tells of a list it cannot read.
    Settings list = readSoundList(false);
    std::set<std::string> told;
    loadSoundSample(list, INTRO_SAMPLE, samples, told);
}

}  // namespace Vortel
