#include "platform/fsound.h"

#include <mutex>

#include "platform/soundpcm.h"
#include "platform/soundsystem.h"

namespace {

// The library is open between FSOUND_Init and FSOUND_Close. The lock makes the loader thread's
// loads and the main thread's playing take turns.
std::mutex libraryLock;
std::unique_ptr<SoundSystem> library;

}  // namespace

bool FSOUND_Init(int mixRate, int maxChannels, unsigned int) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        return false;
    }
    library = SoundSystem::open(mixRate, maxChannels);
    return library != nullptr;
}

void FSOUND_Close() {
    const std::lock_guard<std::mutex> lock(libraryLock);
    library.reset();
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int offset, int length) {
    if (index != FSOUND_FREE || !path || offset != 0 || length != 0) {
        return nullptr;
    }
    const bool positional = (mode & FSOUND_HW3D) != 0;
    // The file is read outside the lock, so a long load does not hold up the playing thread.
    SoundPcm pcm;
    if (!loadSoundPcm(path, positional || (mode & FSOUND_FORCEMONO) != 0, pcm)) {
        return nullptr;
    }
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library ? library->addSample(pcm, (mode & FSOUND_LOOP_NORMAL) != 0, positional) : nullptr;
}

bool FSOUND_Sample_SetMinMaxDistance(FSOUND_SAMPLE* sample, float min, float max) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->setMinMaxDistance(sample, min, max);
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && channel == FSOUND_FREE ? library->play(sample) : -1;
}

bool FSOUND_StopSound(int channel) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (!library) {
        return false;
    }
    if (channel == FSOUND_ALL) {
        library->stopAll();
        return true;
    }
    return library->stop(channel);
}

bool FSOUND_SetVolume(int channel, int volume) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->setVolume(channel, volume);
}

bool FSOUND_SetPaused(int channel, bool paused) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->setPaused(channel, paused);
}

bool FSOUND_SetFrequency(int channel, int frequency) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->setFrequency(channel, frequency);
}

void FSOUND_SetSFXMasterVolume(int volume) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        library->setMasterVolume(volume);
    }
}

bool FSOUND_3D_SetAttributes(int channel, const float* position, const float* velocity) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->place(channel, position, velocity);
}

void FSOUND_3D_Listener_SetAttributes(const float* position, const float* velocity, float fx, float fy, float fz,
                                      float tx, float ty, float tz) {
    const float forward[3] = {fx, fy, fz};
    const float up[3] = {tx, ty, tz};
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        library->setListener(position, velocity, forward, up);
    }
}

void FSOUND_3D_SetDistanceFactor(float scale) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        library->setDistanceFactor(scale);
    }
}

void FSOUND_3D_SetRolloffFactor(float scale) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        library->setRolloffFactor(scale);
    }
}

void FSOUND_3D_SetDopplerFactor(float scale) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (library) {
        library->setDopplerFactor(scale);
    }
}

bool FSOUND_IsPlaying(int channel) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->isPlaying(channel);
}

bool FSOUND_GetPaused(int channel) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library && library->isPaused(channel);
}

int FSOUND_GetVolume(int channel) {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library ? library->volume(channel) : 0;
}

int FSOUND_GetSFXMasterVolume() {
    const std::lock_guard<std::mutex> lock(libraryLock);
    return library ? library->masterVolume() : -1;
}

void FSOUND_Update() {}
