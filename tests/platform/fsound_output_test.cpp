#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/fsound.h"
#include "platform/soundsetup.h"
#include "platform/wavfile.h"
#include "tests/platform/wavfile_maker.h"

extern char** environ;

// What the library plays, heard through the sound output's wave-file writer. The output reads
// its configuration once per process, so each test runs itself again in a fresh process that
// sets the configuration up before its first sound call.

namespace {

const char* const CHILD_MARK = "QUELLARIS_SOUND_TEST_CHILD";

// In the fresh process: true, go on with the test. In the test runner: runs the current test in
// a fresh process with the extra environment, expects it to pass, and answers false.
bool inFreshProcess(const std::vector<std::string>& environment = {}) {
    if (std::getenv(CHILD_MARK)) {
        return true;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::string self = "/proc/self/exe";
    std::vector<char*> argv = {self.data(), filter.data(), nullptr};

    std::vector<std::string> entries = environment;
    entries.push_back(std::string(CHILD_MARK) + "=1");
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (const std::string& own : environment) {
            overridden |= own.compare(0, key.size(), key) == 0;
        }
        if (!overridden) {
            entries.push_back(entry);
        }
    }
    std::vector<char*> envp;
    for (std::string& entry : entries) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    pid_t pid = 0;
    int status = 0;
    EXPECT_EQ(posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the test failed in its own process";
    return false;
}

// Stereo frames of one recording.
struct Recording {
    std::vector<std::int16_t> samples;

    double rms(int channel) const {
        double sum = 0.0;
        for (std::size_t i = channel; i < samples.size(); i += 2) {
            sum += double(samples[i]) * samples[i];
        }
        return samples.empty() ? 0.0 : std::sqrt(sum / (samples.size() / 2));
    }
    double rms() const { return std::hypot(rms(0), rms(1)); }

    // Frequency of the left channel over its audible stretch, from its zero crossings. The
    // output is dithered, so the sign only counts once the signal is clearly away from zero.
    double frequency(int rate) const {
        std::size_t first = 0;
        std::size_t last = 0;
        for (std::size_t i = 0; i < samples.size(); i += 2) {
            if (std::abs(samples[i]) > 500) {
                first = last ? first : i;
                last = i;
            }
        }
        int crossings = 0;
        bool positive = samples.empty() || samples[first] > 0;
        for (std::size_t i = first; i <= last && i < samples.size(); i += 2) {
            if (std::abs(samples[i]) > 100 && (samples[i] > 0) != positive) {
                positive = !positive;
                ++crossings;
            }
        }
        return last > first ? crossings / 2.0 / ((last - first) / 2.0 / rate) : 0.0;
    }
};

// Sends the library's output to a 16-bit stereo wave file in a temporary folder.
class WaveOutput {
public:
    static constexpr int RATE = 44100;

    WaveOutput() {
        wavmaker::Bytes config;
        const std::string text = "[general]\ndrivers = wave\nfrequency = 44100\nchannels = stereo\n"
                                 "sample-type = int16\nhrtf = false\n[wave]\nfile = " +
                                 output() + "\n";
        wavmaker::writeFile(dir_.file("alsoft.conf"), wavmaker::Bytes(text.begin(), text.end()));
        ::setenv("ALSOFT_CONF", dir_.file("alsoft.conf").c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }

    // A sample file for the recordings.
    std::string sample(const std::string& name, const wavmaker::Bytes& bytes) const {
        wavmaker::writeFile(dir_.file(name), bytes);
        return dir_.file(name);
    }

    // Opens the library as the game does, lets play() start its sounds, listens for a while and
    // closes the library, which finishes the file.
    Recording record(const std::function<void()>& play) const {
        setupFmodSound();
        play();
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
        FSOUND_Close();

        Recording recording;
        WavFile wav;
        wavmaker::Bytes bytes;
        EXPECT_TRUE(wav.open(output()) && wav.readAll(bytes));
        EXPECT_EQ(wav.format().channels, 2);
        EXPECT_EQ(wav.format().bitsPerSample, 16);
        EXPECT_EQ(wav.format().samplesPerSec, std::uint32_t(RATE));
        recording.samples.resize(bytes.size() / 2);
        std::memcpy(recording.samples.data(), bytes.data(), recording.samples.size() * 2);
        return recording;
    }

private:
    std::string output() const { return dir_.file("out.wav"); }

    wavmaker::TempDir dir_;
};

constexpr unsigned int PLAIN = FSOUND_16BITS | FSOUND_STEREO | FSOUND_SIGNED;
constexpr unsigned int POSITIONAL = FSOUND_HW3D | FSOUND_FORCEMONO | FSOUND_NORMAL;

}  // namespace

TEST(FSoundOutput, VolumesScaleTheTone) {
    if (!inFreshProcess()) {
        return;
    }
    WaveOutput out;
    const std::string tone = out.sample("tone.wav", wavmaker::toneWav(44100, 0.2, 440.0, 0.5));
    auto playAt = [&](int volume, int master) {
        return out.record([&] {
            FSOUND_SetSFXMasterVolume(master);
            const int channel = FSOUND_PlaySound(FSOUND_FREE, FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 0, 0));
            EXPECT_TRUE(FSOUND_SetVolume(channel, volume));
        });
    };
    const double loud = playAt(255, 255).rms();
    const double quiet = playAt(64, 255).rms();
    const double mastered = playAt(255, 64).rms();
    EXPECT_GT(loud, 1000.0);
    EXPECT_GT(quiet, 50.0);
    EXPECT_LT(quiet, loud / 2.5);
    EXPECT_LT(mastered, loud / 2.5);
}

TEST(FSoundOutput, FrequencyIsThePlaybackRate) {
    if (!inFreshProcess()) {
        return;
    }
    WaveOutput out;
    const std::string tone = out.sample("tone.wav", wavmaker::toneWav(22050, 0.2, 441.0, 0.5));
    const Recording doubled = out.record([&] {
        const int channel = FSOUND_PlaySound(FSOUND_FREE, FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), PLAIN, 0, 0));
        EXPECT_TRUE(FSOUND_SetFrequency(channel, 44100));
    });
    EXPECT_NEAR(doubled.frequency(WaveOutput::RATE), 882.0, 30.0);
}

// The listener stands at (10, 10, 10) looking along +x with +z up, so its right is -y.
TEST(FSoundOutput, PlacedSoundsFadeWithDistanceAndComeFromTheirSide) {
    if (!inFreshProcess()) {
        return;
    }
    WaveOutput out;
    const std::string tone = out.sample("tone.wav", wavmaker::toneWav(44100, 0.2, 440.0, 0.5));
    auto playFrom = [&](float x, float y, float z) {
        return out.record([&] {
            const float listener[3] = {10.0f, 10.0f, 10.0f};
            const float still[3] = {0.0f, 0.0f, 0.0f};
            FSOUND_3D_Listener_SetAttributes(listener, still, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
            FSOUND_SAMPLE* bang = FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), POSITIONAL, 0, 0);
            FSOUND_Sample_SetMinMaxDistance(bang, 2.0f, 1.0e9f);
            const float at[3] = {x, y, z};
            const int channel = FSOUND_PlaySound(FSOUND_FREE, bang);
            EXPECT_TRUE(FSOUND_SetVolume(channel, 255));
            EXPECT_TRUE(FSOUND_3D_SetAttributes(channel, at, nullptr));
        });
    };
    const Recording near = playFrom(11.0f, 10.0f, 10.0f);
    const Recording far = playFrom(300.0f, 10.0f, 10.0f);
    EXPECT_GT(near.rms(), 1000.0);
    EXPECT_LT(far.rms(), near.rms() / 4.0);

    const Recording right = playFrom(10.0f, 4.0f, 10.0f);
    const Recording left = playFrom(10.0f, 16.0f, 10.0f);
    EXPECT_GT(right.rms(1), 2.0 * right.rms(0));
    EXPECT_GT(left.rms(0), 2.0 * left.rms(1));
}

TEST(FSoundOutput, SetupStopsTheGameWhenNoOutputOpens) {
    if (!inFreshProcess({"ALSOFT_DRIVERS=no-such-output"})) {
        return;
    }
    try {
        setupFmodSound();
        FAIL() << "the sound set-up went on without an output";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot initialize fsound");
    }
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
}
