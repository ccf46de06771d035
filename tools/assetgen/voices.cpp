// The spoken words: espeak-ng speaks each phrase and sox shapes it (trimmed, compressed, a short
// slap echo, mono 22,050 Hz). sox runs in its repeatable mode, so the same words give the same
// bytes every time. The result is rewritten with our own canonical WAV header.
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/assetgen/generators.h"
#include "tools/assetgen/wavwriter.h"

namespace assetgen {

namespace {

struct Phrase {
    const char* name;
    const char* words;
};

const Phrase kPhrases[] = {
    {"good", "Good"},
    {"verygood", "Very good"},
    {"excellent", "Excellent"},
    {"superior", "Superior"},
    {"getready", "Get ready"},
    {"gameover", "Game over"},
    {"chaserentered", "Chaser entered"},
    {"chaserdestroyed", "Chaser destroyed"},
    {"chasercutoff", "Chaser cut off"},
    {"2combo", "Two combo"},
    {"3combo", "Three combo"},
    {"4combo", "Four combo"},
    {"5combo", "Five combo"},
    {"6combo", "Six combo"},
    {"7combo", "Seven combo"},
    {"8combo", "Eight combo"},
    {"9combo", "Nine combo"},
    {"10combo", "Ten combo"},
    {"score", "Score"},
    {"ammo", "Ammo"},
    {"emp", "E. M. P."},
    {"shields", "Shields"},
    {"warning_low_shields", "Warning, low shields!"},
};

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("voice tool failed (install espeak-ng and sox): " + command);
}

std::vector<std::int16_t> readRaw(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return samples;
}

}  // namespace

void writeVoices(const Output& out)
{
    const std::filesystem::path work =
        std::filesystem::temp_directory_path() / ("quellaris-voices-" + std::to_string(::getpid()));
    std::filesystem::create_directories(work);
    try {
        for (const Phrase& p : kPhrases) {
            const std::string spoken = (work / (std::string(p.name) + ".wav")).string();
            const std::string shaped = (work / (std::string(p.name) + ".raw")).string();
            run("espeak-ng -v en-us+edward -s 130 -w '" + spoken + "' '" + p.words + "'");
            run("sox -R '" + spoken + "' -r 22050 -c 1 -b 16 -e signed-integer -L -t raw '" + shaped +
                "' silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse"
                " compand 0.01,0.2 -60,-60,-30,-12,0,-6 -5 echo 0.8 0.6 45 0.2 highpass 100"
                " pad 0.15 0.15 norm -1 fade t 0.005 reverse fade t 0.04 reverse");
            writeWav(out.path("sounds/voice/" + std::string(p.name) + ".wav"), 22050, 1, readRaw(shaped));
        }
    } catch (...) {
        std::filesystem::remove_all(work);
        throw;
    }
    std::filesystem::remove_all(work);
}

}  // namespace assetgen
