#include "platform/soundsystem.h"

#include <algorithm>

#include "platform/sounddevice.h"
#include "platform/soundsample.h"
#include "platform/soundvoice.h"

namespace {

// Metres per second in air; the distance factor turns it into world units.
constexpr float SPEED_OF_SOUND = 343.3f;
constexpr int FULL_VOLUME = 255;

// The game's world uses the same right-handed axes as the graphics, with the camera looking
// along its forward vector and its up vector up, and so does the sound device: a sound on the
// view's right (forward x up) is heard on the right. Every vector crosses over here.
// A null vector stays null.
const ALfloat* toDevice(const float* game, ALfloat* device) {
    if (!game) {
        return nullptr;
    }
    device[0] = game[0];
    device[1] = game[1];
    device[2] = game[2];
    return device;
}

}  // namespace

std::unique_ptr<SoundSystem> SoundSystem::open(int mixRate, int voices) {
    if (voices < 1 || voices > SoundChannelTable::MAX_VOICES) {
        return nullptr;
    }
    std::unique_ptr<SoundDevice> device = SoundDevice::open(mixRate);
    if (!device) {
        return nullptr;
    }
    std::vector<std::unique_ptr<SoundVoice>> made;
    while (static_cast<int>(made.size()) < voices) {
        std::unique_ptr<SoundVoice> voice = SoundVoice::create();
        if (!voice) {
            return nullptr;
        }
        made.push_back(std::move(voice));
    }
    return std::unique_ptr<SoundSystem>(new SoundSystem(std::move(device), std::move(made)));
}

SoundSystem::SoundSystem(std::unique_ptr<SoundDevice> device, std::vector<std::unique_ptr<SoundVoice>> voices)
    : device_(std::move(device)),
      voices_(std::move(voices)),
      channels_(static_cast<int>(voices_.size())),
      nextVoice_(0),
      rolloff_(1.0f),
      masterVolume_(FULL_VOLUME) {}

SoundSystem::~SoundSystem() {}

SoundSample* SoundSystem::addSample(const SoundPcm& pcm, bool loops, bool positional) {
    std::unique_ptr<SoundSample> sample = SoundSample::create(pcm, loops, positional);
    if (!sample) {
        return nullptr;
    }
    samples_.push_back(std::move(sample));
    return samples_.back().get();
}

bool SoundSystem::setMinMaxDistance(SoundSample* sample, float min, float max) {
    return owns(sample) && sample->setMinMaxDistance(min, max);
}

int SoundSystem::play(SoundSample* sample) {
    if (!owns(sample)) {
        return -1;
    }
    const int v = freeVoice();
    if (v < 0) {
        return -1;
    }
    voices_[v]->start(*sample, rolloff_);
    return channels_.claim(v);
}

bool SoundSystem::stop(int channel) {
    const int v = channels_.voiceOf(channel);
    if (v < 0) {
        return false;
    }
    voices_[v]->stop();
    channels_.retire(v);
    return true;
}

void SoundSystem::stopAll() {
    for (const std::unique_ptr<SoundVoice>& voice : voices_) {
        voice->stop();
    }
    channels_.retireAll();
}

bool SoundSystem::setVolume(int channel, int volume) {
    SoundVoice* v = voice(channel);
    if (!v) {
        return false;
    }
    v->setVolume(volume);
    return true;
}

bool SoundSystem::setPaused(int channel, bool paused) {
    SoundVoice* v = voice(channel);
    if (!v) {
        return false;
    }
    v->setPaused(paused);
    return true;
}

bool SoundSystem::setFrequency(int channel, int hz) {
    SoundVoice* v = voice(channel);
    return v && v->setFrequency(hz);
}

bool SoundSystem::place(int channel, const float* position, const float* velocity) {
    SoundVoice* v = voice(channel);
    ALfloat p[3];
    ALfloat vel[3];
    return v && v->place(toDevice(position, p), toDevice(velocity, vel));
}

void SoundSystem::setListener(const float* position, const float* velocity, const float forward[3],
                              const float up[3]) {
    ALfloat p[3];
    ALfloat vel[3];
    ALfloat f[3];
    ALfloat u[3];
    device_->setListener(toDevice(position, p), toDevice(velocity, vel), toDevice(forward, f), toDevice(up, u));
}

void SoundSystem::setMasterVolume(int volume) {
    masterVolume_ = std::clamp(volume, 0, FULL_VOLUME);
    device_->setGain(soundGain(masterVolume_));
}

void SoundSystem::setDistanceFactor(float unitsPerMetre) {
    device_->setSpeedOfSound(SPEED_OF_SOUND * unitsPerMetre);
}

void SoundSystem::setRolloffFactor(float rolloff) {
    if (rolloff < 0.0f) {
        return;
    }
    rolloff_ = rolloff;
    for (const std::unique_ptr<SoundVoice>& voice : voices_) {
        voice->setRolloff(rolloff);
    }
}

void SoundSystem::setDopplerFactor(float factor) {
    device_->setDopplerFactor(factor);
}

bool SoundSystem::isPlaying(int channel) const {
    const SoundVoice* v = voice(channel);
    return v && v->playing();
}

bool SoundSystem::isPaused(int channel) const {
    const SoundVoice* v = voice(channel);
    return v && v->paused();
}

int SoundSystem::volume(int channel) const {
    const SoundVoice* v = voice(channel);
    return v ? v->volume() : 0;
}

int SoundSystem::masterVolume() const {
    return masterVolume_;
}

int SoundSystem::voicesInUse() const {
    return static_cast<int>(std::count_if(voices_.begin(), voices_.end(),
                                          [](const std::unique_ptr<SoundVoice>& v) { return v->busy(); }));
}

// Pointers are compared, never followed, so a pointer from before a close is safely refused.
bool SoundSystem::owns(const SoundSample* sample) const {
    return sample && std::any_of(samples_.begin(), samples_.end(),
                                 [sample](const std::unique_ptr<SoundSample>& s) { return s.get() == sample; });
}

SoundVoice* SoundSystem::voice(int channel) const {
    const int v = channels_.voiceOf(channel);
    return v < 0 ? nullptr : voices_[v].get();
}

// Voices are handed out in turn, so a sound just stopped is not the first to be replaced.
int SoundSystem::freeVoice() {
    const int count = static_cast<int>(voices_.size());
    for (int i = 0; i < count; ++i) {
        const int v = (nextVoice_ + i) % count;
        if (!voices_[v]->busy()) {
            nextVoice_ = (v + 1) % count;
            return v;
        }
    }
    return -1;
}
