#include "platform/soundsample.h"

#include "platform/soundpcm.h"

namespace {

ALenum alFormat(const SoundPcm& pcm) {
    if (pcm.channels == 1) {
        return pcm.bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    }
    return pcm.bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

std::unique_ptr<SoundSample> SoundSample::create(const SoundPcm& pcm, bool loops, bool positional) {
    if (pcm.frames() == 0) {
        return nullptr;
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) {
        return nullptr;
    }
    alBufferData(buffer, alFormat(pcm), pcm.bytes.data(), static_cast<ALsizei>(pcm.bytes.size()),
                 static_cast<ALsizei>(pcm.rate));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    return std::unique_ptr<SoundSample>(new SoundSample(buffer, pcm.rate, loops, positional));
}

SoundSample::SoundSample(ALuint buffer, std::uint32_t rate, bool loops, bool positional)
    : buffer_(buffer),
      rate_(rate),
      loops_(loops),
      positional_(positional),
      minDistance_(DEFAULT_MIN_DISTANCE),
      maxDistance_(DEFAULT_MAX_DISTANCE) {}

SoundSample::~SoundSample() {
    alDeleteBuffers(1, &buffer_);
}

ALuint SoundSample::buffer() const {
    return buffer_;
}

std::uint32_t SoundSample::rate() const {
    return rate_;
}

bool SoundSample::loops() const {
    return loops_;
}

bool SoundSample::positional() const {
    return positional_;
}

float SoundSample::minDistance() const {
    return minDistance_;
}

float SoundSample::maxDistance() const {
    return maxDistance_;
}

bool SoundSample::setMinMaxDistance(float min, float max) {
    if (!(min > 0.0f && min <= max)) {
        return false;
    }
    minDistance_ = min;
    maxDistance_ = max;
    return true;
}
