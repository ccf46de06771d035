#include "platform/soundvoice.h"

#include <algorithm>

#include "platform/soundsample.h"

std::unique_ptr<SoundVoice> SoundVoice::create() {
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        return nullptr;
    }
    return std::unique_ptr<SoundVoice>(new SoundVoice(source));
}

namespace {

constexpr int FULL_VOLUME = 255;

}  // namespace

float soundGain(int volume) {
    return static_cast<float>(std::clamp(volume, 0, FULL_VOLUME)) / static_cast<float>(FULL_VOLUME);
}

SoundVoice::SoundVoice(ALuint source) : source_(source), sample_(nullptr), volume_(FULL_VOLUME) {}

SoundVoice::~SoundVoice() {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
}

ALint SoundVoice::state() const {
    ALint s = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &s);
    return s;
}

bool SoundVoice::busy() const {
    const ALint s = state();
    return s == AL_PLAYING || s == AL_PAUSED;
}

bool SoundVoice::playing() const {
    return state() == AL_PLAYING;
}

bool SoundVoice::paused() const {
    return state() == AL_PAUSED;
}

bool SoundVoice::positional() const {
    return sample_ && sample_->positional();
}

void SoundVoice::start(const SoundSample& sample, float rolloff) {
    static const ALfloat origin[3] = {0.0f, 0.0f, 0.0f};
    alSourceStop(source_);
    sample_ = &sample;
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(sample.buffer()));
    alSourcei(source_, AL_LOOPING, sample.loops() ? AL_TRUE : AL_FALSE);
    setVolume(FULL_VOLUME);
    alSourcef(source_, AL_PITCH, 1.0f);
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcefv(source_, AL_POSITION, origin);
    alSourcefv(source_, AL_VELOCITY, origin);
    alSourcef(source_, AL_REFERENCE_DISTANCE, sample.minDistance());
    alSourcef(source_, AL_MAX_DISTANCE, sample.maxDistance());
    // Only placed sounds fade with distance or shift with motion.
    alSourcef(source_, AL_ROLLOFF_FACTOR, sample.positional() ? rolloff : 0.0f);
    alSourcef(source_, AL_DOPPLER_FACTOR, sample.positional() ? 1.0f : 0.0f);
    alSourcePlay(source_);
}

void SoundVoice::stop() {
    alSourceStop(source_);
}

void SoundVoice::setPaused(bool paused) {
    const ALint s = state();
    if (paused && s == AL_PLAYING) {
        alSourcePause(source_);
    } else if (!paused && s == AL_PAUSED) {
        alSourcePlay(source_);
    }
}

void SoundVoice::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, FULL_VOLUME);
    alSourcef(source_, AL_GAIN, soundGain(volume_));
}

int SoundVoice::volume() const {
    return volume_;
}

bool SoundVoice::setFrequency(int hz) {
    if (!sample_ || hz <= 0) {
        return false;
    }
    alSourcef(source_, AL_PITCH, static_cast<float>(hz) / static_cast<float>(sample_->rate()));
    return true;
}

bool SoundVoice::place(const ALfloat* position, const ALfloat* velocity) {
    if (!positional()) {
        return false;
    }
    if (position) {
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_FALSE);
        alSourcefv(source_, AL_POSITION, position);
    }
    if (velocity) {
        alSourcefv(source_, AL_VELOCITY, velocity);
    }
    return true;
}

void SoundVoice::setRolloff(float rolloff) {
    if (positional()) {
        alSourcef(source_, AL_ROLLOFF_FACTOR, rolloff);
    }
}
