// The sample list sounds/sound.conf, read by the loader's sound step: whatever the list holds,
// every logical sound of the game must be asked of the sound layer once, in its own mode, as
// the file the list names under "sounds/", and stored under its name. The sound layer's two
// loading calls are stood in for here: they record what was asked and hand back a token
// sample, so the list is fuzzed without a sound device or a sample file.
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

// The list is read from the working folder, as the game reads it from its own. The fuzzer
// keeps its files relative to the folder it started in, so each input goes back there.
class InScratchFolder {
public:
    InScratchFolder() : _previous(std::filesystem::current_path()) {
        const std::string folder = fuzzsupport::scratchPath("");
        std::error_code error;
        std::filesystem::create_directory(folder + "sounds", error);
        std::filesystem::current_path(folder, error);
        require(!error, "cannot enter the scratch folder");
    }
    ~InScratchFolder() { std::filesystem::current_path(_previous); }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    std::filesystem::path _previous;
};

// The next request is the row's, unless its value names no file: then none is.
void checkRow(const Vortel::SoundSampleRow& row, std::size_t& next, Settings& list,
              const Vortel::SoundSampleMap& samples) {
    const auto stored = samples.find(row.name);
    require(stored != samples.end(), "a sound is not stored under its name");
    const std::string path = "sounds/" + list[row.name].text;
    if (path.find('\0') != std::string::npos) {
        require(stored->second == nullptr, "a value that names no file gave a sample");
        return;
    }
    require(next < requests.size(), "a sound was never asked of the sound layer");
    const Request& request = requests[next++];
    require(request.path == path, "a sample was asked under another file than the list names");
    require(request.mode == row.mode, "a sample was asked in another mode than its row's");
    const bool placed = request.sample != nullptr && row.minDistance > 0.0f;
    require(request.distanceCalls == (placed ? 1 : 0), "a sample's distances were set for no placed sound");
    require(stored->second == request.sample, "a loaded sample is not stored under its name");
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
    // As the sound layer does, a sample that did not load takes nothing.
    if (sample == nullptr) {
        return false;
    }
    require(!requests.empty() && requests.back().sample == sample, "distances were set on a sample not just loaded");
    require(min > 0.0f && min <= max, "distances were set that the sound layer refuses");
    ++requests.back().distanceCalls;
    return sample != nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const InScratchFolder inScratch;
    fuzzsupport::writeScratchFile(Vortel::SOUND_LIST_PATH, data, size);
    requests.clear();

    Vortel::SoundSampleMap samples;
    Vortel::loadIntroSample(samples);
    int rows = 0;
    Vortel::loadSoundSamples(samples, [&rows] { ++rows; });
    require(rows == Vortel::SOUND_SAMPLE_COUNT, "the loader did not step through every row");
    require(samples.size() == Vortel::SOUND_SAMPLE_COUNT + 1, "another count of sounds was stored than the game has");

    Settings list;
    list.load(Vortel::SOUND_LIST_PATH, false);
    std::size_t next = 0;
    checkRow(Vortel::INTRO_SAMPLE, next, list, samples);
    for (const Vortel::SoundSampleRow& row : Vortel::SOUND_SAMPLE_TABLE) {
        checkRow(row, next, list, samples);
    }
    require(next == requests.size(), "more samples were asked than the game has sounds");
    return 0;
}
