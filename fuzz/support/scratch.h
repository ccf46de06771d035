#ifndef QUELLARIS_FUZZ_SUPPORT_SCRATCH_H
#define QUELLARIS_FUZZ_SUPPORT_SCRATCH_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// Readers that take only a path are fed through files in a folder of this process's own
// (under $TMPDIR, else /tmp), so the fuzzer's parallel jobs never share a file. The folder is
// made on first use and removed when the process ends normally.
//
// Returns the path of name in that folder after writing the bytes to it. Aborts when the
// file cannot be written: an input that never reached the reader proves nothing.
std::string writeScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string scratchPath(const std::string& name);

// A fault of the reader that no sanitizer sees (a broken round trip, a result outside its
// contract): says what and stops the process, so the fuzzer keeps the input as a crash.
[[noreturn]] void fail(const std::string& what);
inline void require(bool holds, const char* what) {
    if (!holds) {
        fail(what);
    }
}

}  // namespace fuzzsupport

#endif
