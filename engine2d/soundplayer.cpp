#include "engine2d/soundplayer.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "engine2d/wavread.h"

namespace Stelkor {

namespace {

// The sample layout the device takes, or 0 when it takes none of this file's.
ALenum alFormat(const WavFormat& f) {
    if (f.formatTag != WavFormat::PCM) {
        return 0;
    }
    if (f.channels == 1) {
        return f.bitsPerSample == 8 ? AL_FORMAT_MONO8 : (f.bitsPerSample == 16 ? AL_FORMAT_MONO16 : 0);
    }
    if (f.channels == 2) {
        return f.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : (f.bitsPerSample == 16 ? AL_FORMAT_STEREO16 : 0);
    }
    return 0;
}

// Hundredths of a decibel of attenuation as a linear gain.
float gainOf(std::int32_t volume) {
    if (volume <= SoundPlayer::VOLUME_SILENT) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

std::runtime_error loadError(const char* message, const std::string& file) {
    return std::runtime_error(message + file + "'");
}

// Makes the player's context current for one call and then the one that was current before:
// another part of the game may have made its own device's context current meanwhile, and
// must find it so again.
class ContextScope {
public:
    explicit ContextScope(ALCcontext* context) : _previous(alcGetCurrentContext()), _switched(context != _previous) {
        if (_switched) {
            alcMakeContextCurrent(context);
        }
    }
    ~ContextScope() {
        if (_switched) {
            alcMakeContextCurrent(_previous);
        }
    }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

private:
    ALCcontext* const _previous;
    const bool _switched;
};

}  // namespace

SoundPlayer::SoundPlayer() : _device(nullptr), _context(nullptr), _soundContext(alcGetCurrentContext()) {
    if (_soundContext) {
        return;
    }
    _device = alcOpenDevice(nullptr);
    if (_device) {
        _context = alcCreateContext(_device, nullptr);
    }
    if (!_context || !alcMakeContextCurrent(_context)) {
        if (_context) {
            alcDestroyContext(_context);
        }
        if (_device) {
            alcCloseDevice(_device);
        }
        throw std::runtime_error("cannot create DirectSound object");
    }
    // Left current, as the only one in the process, for whatever joins it later.
    _soundContext = _context;
}

SoundPlayer::~SoundPlayer() {
    {
        const ContextScope scope(_soundContext);
        for (const auto& entry : _sounds) {
            alSourceStop(entry.second.source);
            alDeleteSources(1, &entry.second.source);
            alDeleteBuffers(1, &entry.second.buffer);
        }
    }
    if (_context) {
        if (alcGetCurrentContext() == _context) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(_context);
        alcCloseDevice(_device);
    }
}

void SoundPlayer::load(const std::string& file, const std::string& name) {
    std::unique_ptr<WavFile> wav;
    std::unique_ptr<WaveFormatRecord> record;
    if (WaveOpenFile(file, wav, record) != S_OK) {
        throw loadError("cannot open wav file '", file);
    }
    if (WaveStartDataRead(*wav) != S_OK) {
        throw loadError("cannot start wav read of file '", file);
    }
    const WavFormat& wavFormat = record->format;
    const ALenum format = alFormat(wavFormat);
    // A data chunk cut short can end inside a sample frame; the device takes whole frames only.
    const std::uint32_t frameBytes = wavFormat.channels * (wavFormat.bitsPerSample / 8u);
    const std::uint32_t size = format == 0 ? 0 : wav->dataSize() - wav->dataSize() % frameBytes;
    if (format == 0 || size == 0) {
        throw loadError("cannot create sound buffer for '", file);
    }
    std::vector<unsigned char> bytes(size);
    unsigned int actual = 0;
    if (WaveReadFile(*wav, size, bytes.data(), &actual) != S_OK || actual != size) {
        throw loadError("failed reading wave data from '", file);
    }
    if (_sounds.count(name)) {
        return;
    }

    const ContextScope scope(_soundContext);
    alGetError();
    Sound sound{0, 0, VOLUME_FULL};
    alGenBuffers(1, &sound.buffer);
    if (alGetError() != AL_NO_ERROR) {
        throw loadError("cannot create sound buffer for '", file);
    }
    alBufferData(sound.buffer, format, bytes.data(), static_cast<ALsizei>(size),
                 static_cast<ALsizei>(std::min<std::uint32_t>(wavFormat.samplesPerSec, INT32_MAX)));
    // Each error is read once: a failed upload must not be mistaken for a good source.
    bool made = alGetError() == AL_NO_ERROR;
    if (made) {
        alGenSources(1, &sound.source);
        made = alGetError() == AL_NO_ERROR;
    }
    if (!made) {
        alDeleteBuffers(1, &sound.buffer);
        throw loadError("cannot create sound buffer for '", file);
    }
    alSourcei(sound.source, AL_BUFFER, static_cast<ALint>(sound.buffer));
    alSourcei(sound.source, AL_SOURCE_RELATIVE, AL_TRUE);
    _sounds.emplace(name, sound);
}

void SoundPlayer::play(const std::string& name, bool loop) {
    const auto it = _sounds.find(name);
    if (it == _sounds.end()) {
        return;
    }
    const ContextScope scope(_soundContext);
    const ALuint source = it->second.source;
    alSourceRewind(source);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
}

void SoundPlayer::volume(const std::string& name, std::int32_t volume) {
    const auto it = _sounds.find(name);
    if (it == _sounds.end() || volume < VOLUME_SILENT || volume > VOLUME_FULL) {
        return;
    }
    it->second.volume = volume;
    const ContextScope scope(_soundContext);
    alSourcef(it->second.source, AL_GAIN, gainOf(volume));
}

std::int32_t SoundPlayer::volume(const std::string& name) const {
    const auto it = _sounds.find(name);
    return it == _sounds.end() ? VOLUME_SILENT : it->second.volume;
}

}  // namespace Stelkor
