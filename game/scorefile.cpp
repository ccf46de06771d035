#include "game/scorefile.h"

#include <cstring>
#include <istream>
#include <ostream>

namespace Vortel {
namespace scorefile {

void writeUint32(std::ostream& out, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    out.write(bytes, sizeof bytes);
}

void writeFloat(std::ostream& out, float value) {
    static_assert(sizeof(float) == sizeof(std::uint32_t), "the file holds IEEE singles");
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writeUint32(out, bits);
}

bool readUint32(std::istream& in, std::uint32_t& value) {
    unsigned char bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        return false;
    }
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

bool readFloat(std::istream& in, float& value) {
    std::uint32_t bits = 0;
    if (!readUint32(in, bits)) {
        return false;
    }
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

std::uint64_t bytesLeft(std::istream& in) {
    if (!in) {
        return 0;
    }
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1)) {
        return kMaxFileSize;
    }
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.seekg(here);
    if (end == std::istream::pos_type(-1) || !in || end < here) {
        in.clear();
        in.seekg(here);
        return kMaxFileSize;
    }
    return static_cast<std::uint64_t>(end - here);
}

}  // namespace scorefile
}  // namespace Vortel
