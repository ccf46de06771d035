#ifndef QUELLARIS_GAME_SCOREFILE_H
#define QUELLARIS_GAME_SCOREFILE_H

#include <cstdint>
#include <iosfwd>

// The fields of the high-score file, the same on every machine: integers as little-endian
// 32-bit values written byte by byte, reals as the little-endian bits of an IEEE single.
namespace Vortel {
namespace scorefile {

void writeUint32(std::ostream& out, std::uint32_t value);
void writeFloat(std::ostream& out, float value);

// False, value untouched, when the stream ends or fails first.
bool readUint32(std::istream& in, std::uint32_t& value);
bool readFloat(std::istream& in, float& value);

// Bytes between the read position and the end of the stream, so that a length read from a
// damaged file can be checked before anything is allocated for it. Without a position to
// measure from (an unseekable stream) it gives the largest file the game accepts.
std::uint64_t bytesLeft(std::istream& in);

// Larger score files are damaged: the game never writes one anywhere near this size.
constexpr std::uint64_t kMaxFileSize = 1024 * 1024;

}  // namespace scorefile
}  // namespace Vortel

#endif
