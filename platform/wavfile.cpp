#include "platform/wavfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <sys/stat.h>

#include "platform/boundedfile.h"

namespace {

constexpr std::size_t CHUNK_HEADER_SIZE = 8;
constexpr std::size_t RIFF_HEADER_SIZE = 12;
constexpr std::size_t FORMAT_SIZE = 16;

const char* const CANNOT_READ = "cannot be read";

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isId(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

}  // namespace

void WavFile::Closer::operator()(std::FILE* f) const {
    std::fclose(f);
}

WavFile::WavFile() : hasData_(false), dataOffset_(0), dataSize_(0), dataLeft_(0) {}

WavFile::~WavFile() {}

bool WavFile::open(const std::string& path, bool keepCutData) {
    close();
    problem_.clear();
    // Only a regular file, and its size as opened: a named pipe put in its place would hold
    // the game for ever, and a folder opens but cannot be read.
    ReadFailure failure;
    FileHandle opened = openRegularFile(path, &failure);
    if (!opened) {
        return refuse(failure.reason);
    }
    struct stat status = {};
    if (fstat(fileno(opened.get()), &status) != 0) {
        return refuse(std::strerror(errno));
    }
    file_.reset(opened.release());
    if (!readHeader(static_cast<std::uint64_t>(status.st_size), keepCutData) || (hasData_ && !rewind())) {
        refuse(CANNOT_READ);
        close();
        return false;
    }
    return true;
}

const std::string& WavFile::problem() const {
    return problem_;
}

bool WavFile::refuse(const std::string& why) {
    if (problem_.empty()) {
        problem_ = why;
    }
    return false;
}

void WavFile::close() {
    file_.reset();
    format_ = WavFormat();
    hasData_ = false;
    dataOffset_ = 0;
    dataSize_ = 0;
    dataLeft_ = 0;
}

bool WavFile::isOpen() const {
    return file_ != nullptr;
}

const WavFormat& WavFile::format() const {
    return format_;
}

bool WavFile::hasData() const {
    return hasData_;
}

std::uint32_t WavFile::dataSize() const {
    return dataSize_;
}

std::uint32_t WavFile::dataLeft() const {
    return dataLeft_;
}

bool WavFile::rewind() {
    if (!file_ || !hasData_ || !seek(dataOffset_)) {
        return false;
    }
    dataLeft_ = dataSize_;
    return true;
}

bool WavFile::read(void* dest, std::size_t size, std::size_t& actual) {
    actual = 0;
    if (!file_) {
        return false;
    }
    const std::size_t n = std::min<std::size_t>(size, dataLeft_);
    if (!readBytes(dest, n)) {
        return false;
    }
    dataLeft_ -= static_cast<std::uint32_t>(n);
    actual = n;
    return true;
}

bool WavFile::readAll(std::vector<std::uint8_t>& bytes) {
    if (!rewind()) {
        return false;
    }
    bytes.resize(dataSize_);
    std::size_t actual = 0;
    return read(bytes.data(), bytes.size(), actual) && actual == bytes.size();
}

// Walks the chunks inside the RIFF chunk, which ends where its size says or where the file
// does, whichever comes first. Chunk bodies are padded to even lengths.
bool WavFile::readHeader(std::uint64_t fileSize, bool keepCutData) {
    std::uint8_t riff[RIFF_HEADER_SIZE];
    if (fileSize < RIFF_HEADER_SIZE || !readBytes(riff, sizeof riff) || !isId(riff, "RIFF") ||
        !isId(riff + 8, "WAVE")) {
        return refuse("not a RIFF/WAVE file");
    }
    const std::uint64_t end = std::min<std::uint64_t>(fileSize, CHUNK_HEADER_SIZE + std::uint64_t(le32(riff + 4)));
    bool hasFormat = false;
    std::uint64_t pos = RIFF_HEADER_SIZE;
    while (pos + CHUNK_HEADER_SIZE <= end) {
        std::uint8_t header[CHUNK_HEADER_SIZE];
        if (!seek(pos) || !readBytes(header, sizeof header)) {
            return refuse(CANNOT_READ);
        }
        const std::uint32_t size = le32(header + 4);
        const std::uint64_t body = pos + CHUNK_HEADER_SIZE;
        const bool isFormat = isId(header, "fmt ") && !hasFormat;
        const bool isData = isId(header, "data") && !hasData_;
        if (body + size > end) {
            if (isData && keepCutData && end - body <= MAX_DATA_BYTES) {
                hasData_ = true;
                dataOffset_ = body;
                dataSize_ = static_cast<std::uint32_t>(end - body);
                break;
            }
            // The chunks we need must be whole; anything cut off after them is left alone.
            if (isFormat || isData) {
                return refuse(isFormat ? "its format record is cut short" : "its sound data is cut short");
            }
            break;
        }
        if (isFormat) {
            if (!readFormat(size)) {
                return refuse("its format record is damaged");
            }
            hasFormat = true;
        } else if (isData) {
            if (size > MAX_DATA_BYTES) {
                return refuse("more than " + sizeText(MAX_DATA_BYTES) + " of sound data");
            }
            hasData_ = true;
            dataOffset_ = body;
            dataSize_ = size;
        }
        pos = body + size + (size & 1u);
    }
    return hasFormat || refuse("no format record");
}

// The file is positioned at the start of a "fmt " chunk body of chunkSize bytes.
bool WavFile::readFormat(std::uint32_t chunkSize) {
    std::uint8_t fields[FORMAT_SIZE];
    if (chunkSize < FORMAT_SIZE || !readBytes(fields, sizeof fields)) {
        return false;
    }
    format_.formatTag = le16(fields);
    format_.channels = le16(fields + 2);
    format_.samplesPerSec = le32(fields + 4);
    format_.avgBytesPerSec = le32(fields + 8);
    format_.blockAlign = le16(fields + 12);
    format_.bitsPerSample = le16(fields + 14);
    if (format_.formatTag == WavFormat::PCM) {
        return true;
    }
    std::uint8_t count[2];
    if (chunkSize < FORMAT_SIZE + sizeof count || !readBytes(count, sizeof count)) {
        return false;
    }
    const std::uint16_t extraSize = le16(count);
    if (FORMAT_SIZE + sizeof count + extraSize > chunkSize) {
        return false;
    }
    format_.extra.resize(extraSize);
    return readBytes(format_.extra.data(), extraSize);
}

bool WavFile::seek(std::uint64_t offset) {
    return offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max()) &&
           std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) == 0;
}

bool WavFile::readBytes(void* dest, std::size_t size) {
    return size == 0 || std::fread(dest, 1, size, file_.get()) == size;
}
