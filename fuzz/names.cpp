// The name-statistics file data/english_mf.txt: any text must build statistics, and the
// names made from them must keep to the lengths asked. The first byte, part of the word
// file like any other, also picks the statistics' order (the game uses 1).
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "actors/namegenerator.h"
#include "fuzz/support/scratch.h"
#include "platform/crand.h"

using fuzzsupport::require;

namespace {

// The bounds the game asks for a chaser's name.
constexpr int kShortest = 3;
constexpr int kLongest = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::writeScratchFile("words.txt", data, size);
    const int order = size > 0 ? 1 + data[0] % 5 : 1;
    try {
        const NameGenerator generator(path, order);
        // The generator seeds with the time of day; a fixed seed makes every run repeatable.
        crand::srand(1);
        // One name: statistics that cannot make a name in bounds cost a thousand walks.
        const std::string name = generator.generate(kShortest, kLongest);
        const int length = static_cast<int>(name.size());
        require(length >= kShortest && length <= kLongest, "a name broke the lengths asked for");
        generator.generate();
    } catch (const std::runtime_error&) {
        // The word file's own error.
    }
    return 0;
}
