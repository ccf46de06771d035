#include "engine2d/wavread.h"

namespace Stelkor {

std::int32_t WaveOpenFile(const std::string& path, std::unique_ptr<WavFile>& file,
                          std::unique_ptr<WaveFormatRecord>& format) {
    file.reset();
    format.reset();
    std::unique_ptr<WavFile> opened(new WavFile);
    if (!opened->open(path, true)) {
        return E_FAIL;
    }
    format.reset(new WaveFormatRecord{opened->format()});
    file = std::move(opened);
    return S_OK;
}

std::int32_t WaveStartDataRead(WavFile& file) {
    return file.rewind() ? S_OK : E_FAIL;
}

std::int32_t WaveReadFile(WavFile& file, unsigned int size, unsigned char* dest, unsigned int* actual) {
    *actual = 0;
    std::size_t copied = 0;
    if (!file.read(dest, size, copied)) {
        return E_FAIL;
    }
    *actual = static_cast<unsigned int>(copied);
    return S_OK;
}

std::int32_t CWaveSoundRead::Open(const std::string& path) {
    const std::int32_t result = WaveOpenFile(path, _file, _format);
    return result == S_OK ? Reset() : result;
}

std::int32_t CWaveSoundRead::Reset() {
    return _file ? WaveStartDataRead(*_file) : E_FAIL;
}

std::int32_t CWaveSoundRead::Read(unsigned int size, unsigned char* dest, unsigned int* actual) {
    if (!_file) {
        *actual = 0;
        return E_FAIL;
    }
    return WaveReadFile(*_file, size, dest, actual);
}

// The format record stays readable until the next Open or the reader's end.
std::int32_t CWaveSoundRead::Close() {
    _file.reset();
    return S_OK;
}

}  // namespace Stelkor
