// Settings files: a player edits data/vasp.conf by hand and the game writes it back, so
// whatever a file holds must load in both modes, and what a save writes must read back.
// A first save may drop what the format cannot hold (an empty text vanishes on reload); from
// then on a save must read back to the very same keys and values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/support/scratch.h"
#include "platform/settings.h"

using fuzzsupport::require;

namespace {

// No file line can make this key: lines end at line breaks.
const char* const kUnreachableKey = "\n@0";

bool sameValues(const Settings& a, const Settings& b) {
    if (a.values().size() != b.values().size()) {
        return false;
    }
    auto other = b.values().begin();
    for (const auto& entry : a.values()) {
        if (entry.first != other->first || entry.second.text != other->second.text) {
            return false;
        }
        ++other;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzzsupport::writeScratchFile("input.conf", data, size);

    Settings replaced;
    replaced[kUnreachableKey] = "old";
    require(replaced.load(input, false), "a readable settings file did not load");
    require(!replaced.exists(kUnreachableKey), "loading without merge kept an old value");

    Settings merged;
    merged[kUnreachableKey] = "kept";
    require(merged.load(input, true), "a readable settings file did not merge");
    require(merged[kUnreachableKey].text == "kept", "merging lost a value the file does not name");
    merged.erase(kUnreachableKey);
    require(sameValues(merged, replaced), "merging into a store gave other values than loading");

    // A save may refuse what the format cannot hold; refusing is not a fault.
    const std::string saved = fuzzsupport::scratchPath("saved.conf");
    if (!replaced.save(saved)) {
        return 0;
    }
    Settings first;
    require(first.load(saved, false), "a saved settings file did not load");
    require(first.save(saved), "a store read from a saved file could not be saved again");
    Settings second;
    require(second.load(saved, false), "a saved settings file did not load");
    require(sameValues(first, second), "a second save did not read back to the same keys and values");
    return 0;
}
