#include "platform/soundpcm.h"

#include <algorithm>
#include <cstring>

#include "platform/boundedfile.h"
#include "platform/wavfile.h"

namespace {

bool isPlayable(const WavFormat& f) {
    return f.formatTag == WavFormat::PCM && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.blockAlign == f.channels * f.bitsPerSample / 8 &&
           f.samplesPerSec > 0;
}

std::int16_t sample16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void store16(std::uint8_t* p, int value) {
    const std::int16_t v = static_cast<std::int16_t>(value);
    std::memcpy(p, &v, sizeof v);
}

// Converts whole frames from the file's little-endian layout, averaging the two channels of a
// stereo frame when mono is asked, into out.
void convert(const WavFormat& f, const std::uint8_t* in, std::size_t frames, bool mixDown, std::uint8_t* out) {
    const std::size_t inSample = f.bitsPerSample / 8;
    for (std::size_t i = 0; i < frames; ++i, in += f.blockAlign) {
        if (inSample == 1) {
            if (mixDown) {
                *out++ = static_cast<std::uint8_t>((in[0] + in[1]) / 2);
            } else {
                std::memcpy(out, in, f.blockAlign);
                out += f.blockAlign;
            }
        } else if (mixDown) {
            store16(out, (sample16(in) + sample16(in + 2)) / 2);
            out += 2;
        } else {
            for (int c = 0; c < f.channels; ++c, out += 2) {
                store16(out, sample16(in + 2 * c));
            }
        }
    }
}

// Opens the file, positioned at its first sample, when it holds sound the device can play;
// else false with why.
bool openPlayable(WavFile& wav, const std::string& path, std::string& why) {
    if (!wav.open(path)) {
        why = wav.problem();
        return false;
    }
    if (!isPlayable(wav.format())) {
        why = "not PCM sound of 8 or 16 bits in one or two channels";
        return false;
    }
    // A trailing part-frame is dropped: the device takes whole frames only.
    if (!wav.rewind() || wav.dataSize() / wav.format().blockAlign == 0) {
        why = "no sound in it";
        return false;
    }
    return true;
}

}  // namespace

std::size_t SoundPcm::frames() const {
    const std::size_t frameSize = static_cast<std::size_t>(channels) * static_cast<std::size_t>(bits / 8);
    return frameSize ? bytes.size() / frameSize : 0;
}

bool loadSoundPcm(const std::string& path, bool mono, SoundPcm& pcm) {
    WavFile wav;
    std::string why;
    if (!openPlayable(wav, path, why)) {
        return false;
    }
    const WavFormat& f = wav.format();
    const std::size_t frames = wav.dataSize() / f.blockAlign;
    const bool mixDown = mono && f.channels == 2;
    const int channels = mixDown ? 1 : f.channels;
    const std::size_t outFrame = static_cast<std::size_t>(channels) * (f.bitsPerSample / 8);
    std::vector<std::uint8_t> converted(frames * outFrame);
    // Read and converted a block at a time, so the file's samples are never held whole
    // beside the converted ones.
    const std::size_t blockFrames = 16384;
    std::vector<std::uint8_t> block(blockFrames * f.blockAlign);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(blockFrames, frames - done);
        std::size_t actual = 0;
        if (!wav.read(block.data(), n * f.blockAlign, actual) || actual != n * f.blockAlign) {
            return false;
        }
        convert(f, block.data(), n, mixDown, converted.data() + done * outFrame);
        done += n;
    }
    pcm.channels = channels;
    pcm.bits = f.bitsPerSample;
    pcm.rate = f.samplesPerSec;
    pcm.bytes.swap(converted);
    return true;
}

std::string soundFileRefusal(const std::string& path) {
    // A name the list leaves empty leads to the sound folder itself: no file, as a missing one.
    ReadFailure failure;
    if (!openRegularFile(path, &failure)) {
        return failure.missing || failure.folder ? std::string() : failure.reason;
    }
    WavFile wav;
    std::string why;
    openPlayable(wav, path, why);
    return why;
}
