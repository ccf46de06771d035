#ifndef QUELLARIS_TESTS_TEMPORARIES_H
#define QUELLARIS_TESTS_TEMPORARIES_H

#include <filesystem>
#include <string>

namespace testsupport {

// Whether a save left a temporary in folder: saves give theirs names of their own, all ending
// in ".tmp", so a look for one fixed name would pass whatever was left.
inline bool holdsSaveTemporary(const std::filesystem::path& folder) {
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace testsupport

#endif
