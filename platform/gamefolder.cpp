#include "platform/gamefolder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

// What build/run holds beside the program and what the game reads from at start.
const std::array<const char*, 4> GAME_FOLDERS = {"data", "mesh", "sounds", "textures"};

std::vector<std::string> missingGameFolders() {
    std::vector<std::string> missing;
    for (const char* folder : GAME_FOLDERS) {
        std::error_code ignored;
        if (!std::filesystem::is_directory(folder, ignored)) {
            missing.emplace_back(folder);
        }
    }
    return missing;
}

// "data", "data or mesh", "data, mesh or sounds".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (index > 0) {
            text += index + 1 == names.size() ? " or " : ", ";
        }
        text += names[index];
    }
    return text;
}

// The line for the working directory that lacks those folders. A folder removed while the
// player's shell stood in it has no path left, only the reason.
std::string missingFoldersLine(const std::vector<std::string>& missing) {
    const std::string start = "The game reads its files from the folder it is started in, ";
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        return start + "and that folder cannot be found (" + error.message() + ")";
    }
    return start + folder.string() + ", which has no " + listed(missing) + " folder";
}

}  // namespace

void tellMissingGameFolders() {
    const std::vector<std::string> missing = missingGameFolders();
    if (missing.empty()) {
        return;
    }
    std::fprintf(stderr, "%s\n", missingFoldersLine(missing).c_str());
    std::fflush(stderr);
}
