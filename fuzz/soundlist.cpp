// The sample list sounds/sound.conf, read by the loader's sound step: whatever the list holds,
// every logical sound of the game must be asked of the sound layer once, in its own mode, as
// the file the list names under "sounds/", and stored under its name. The sound layer's two
// loading calls are stood in for here: they record what was asked and hand back a token
// sample, so the list is fuzzed without a sound device or a sample file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/support/scratch.h"
#include "game/soundsamples.h"
#include "platform/fsound.h"
#include "platform/settings.h"

using fuzzsupport::require;

namespace {

struct Request {
    std::string path;
    unsigned int mode;
    FSOUND_SAMPLE* sample;
    int distanceCalls;
};

std::vector<Request> requests;
char tokens[Vortel::SOUND_SAMPLE_COUNT + 1];

// The list is read from the working folder, as the game reads it from its own.
bool enterScratchFolder() {
    const std::string folder = fuzzsupport::scratchPath("");
    std::error_code error;
    std::filesystem::create_directory(folder + "sounds", error);
    require(!error && chdir(folder.c_str()) == 0, "cannot enter the scratch folder");
    return true;
}

void checkRow(const Vortel::SoundSampleRow& row, const Request& request, Settings& list,
              const Vortel::SoundSampleMap& samples) {
    require(request.path == "sounds/" + list[row.name].text, "a sample was asked under another file than the list names");
    require(request.mode == row.mode, "a sample was asked in another mode than its row's");
    require(request.distanceCalls == (row.minDistance > 0.0f ? 1 : 0), "a sample's distances were set for no placed sound");
    const auto stored = samples.find(row.name);
    require(stored != samples.end() && stored->second == request.sample, "a loaded sample is not stored under its name");
}

}  // namespace

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int offset, int length) {
    require(index == FSOUND_FREE && path != nullptr && offset == 0 && length == 0, "a sample was asked in a way that never loads");
    require(requests.size() <= Vortel::SOUND_SAMPLE_COUNT, "more samples were asked than the game has");
    // A path that names no file past the folder (an empty value) never loads.
    FSOUND_SAMPLE* const sample =
        std::string(path) == "sounds/" ? nullptr : reinterpret_cast<FSOUND_SAMPLE*>(&tokens[requests.size()]);
    requests.push_back(Request{path, mode, sample, 0});
    return sample;
}

bool FSOUND_Sample_SetMinMaxDistance(FSOUND_SAMPLE* sample, float min, float max) {
    require(!requests.empty() && requests.back().sample == sample, "distances were set on a sample not just loaded");
    require(min > 0.0f && min <= max, "distances were set that the sound layer refuses");
    ++requests.back().distanceCalls;
    return sample != nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool entered = enterScratchFolder();
    (void)entered;
    fuzzsupport::writeScratchFile(Vortel::SOUND_LIST_PATH, data, size);
    requests.clear();

    Vortel::SoundSampleMap samples;
    Vortel::loadIntroSample(samples);
    int rows = 0;
    Vortel::loadSoundSamples(samples, [&rows] { ++rows; });
    require(rows == Vortel::SOUND_SAMPLE_COUNT, "the loader did not step through every row");
    require(requests.size() == Vortel::SOUND_SAMPLE_COUNT + 1, "another count of samples was asked than the game has");
    require(samples.size() == requests.size(), "another count of samples was stored than asked");

    Settings list;
    list.load(Vortel::SOUND_LIST_PATH, false);
    checkRow(Vortel::INTRO_SAMPLE, requests.front(), list, samples);
    for (std::size_t i = 0; i < Vortel::SOUND_SAMPLE_TABLE.size(); ++i) {
        checkRow(Vortel::SOUND_SAMPLE_TABLE[i], requests[i + 1], list, samples);
    }
    return 0;
}
