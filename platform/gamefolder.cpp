#include "platform/gamefolder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What build/run holds beside the program and what the game reads from at start.
const std::array<const char*, 4> GAME_FOLDERS = {"data", "mesh", "sounds", "textures"};

std::vector<std::string> allGameFolders() {
    return std::vector<std::string>(GAME_FOLDERS.begin(), GAME_FOLDERS.end());
}

// The game's folders that `base` lacks; an empty `base` is the working directory, looked into
// by relative paths, so that a working directory whose own path cannot be had still counts.
std::vector<std::string> lackedIn(const fs::path& base) {
    std::vector<std::string> missing;
    for (const char* folder : GAME_FOLDERS) {
        std::error_code ignored;
        if (!fs::is_directory(base / folder, ignored)) {
            missing.emplace_back(folder);
        }
    }
    return missing;
}

// "data", "data or mesh", "data, mesh or sounds".
std::string listed(const std::vector<std::string>& names, const char* conjunction) {
    std::string text;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (index > 0) {
            text += index + 1 == names.size() ? std::string(" ") + conjunction + " " : ", ";
        }
        text += names[index];
    }
    return text;
}

// A folder the game looked into, as the player is told of it.
struct Place {
    fs::path folder;
    std::error_code unknown;  // why the folder's path cannot be had
    std::error_code entered;  // why the game could not make it its working directory
    std::vector<std::string> missing;
};

// The error box does not wrap its text, and a line wider than the screen is cut at its edges; a
// folder's path can take most of a line, so each stands on a line of its own, what the game
// found there on the next.
// ",\n    /home/me,\nwhich has no mesh folder"; ", which cannot be found (No such file or directory)".
std::string described(const Place& place) {
    if (place.unknown) {
        return ", which cannot be found (" + place.unknown.message() + ")";
    }
    const std::string start = ",\n    " + place.folder.string() + ",\n";
    if (place.entered) {
        return start + "which the game cannot make its working folder (" + place.entered.message() + ")";
    }
    if (place.missing.size() == GAME_FOLDERS.size()) {
        return start + "which has none of them";
    }
    return start + "which has no " + listed(place.missing, "or") + " folder";
}

bool samePlace(const Place& start, const Place& own) {
    std::error_code ignored;
    return !start.unknown && !own.unknown && fs::equivalent(start.folder, own.folder, ignored);
}

std::string notFoundNote(const Place& start, const Place& own) {
    const std::string note =
        "The game cannot find its files: it looks for its " + listed(allGameFolders(), "and") + " folders\n";
    if (samePlace(start, own)) {
        return note + "in the folder it was started in and its own folder" + described(start) + ".";
    }
    return note + "in the folder it was started in" + described(start) + ", and in its own folder" +
           described(own) + ".";
}

}  // namespace

std::string settleGameFolder() {
    Place start;
    start.missing = lackedIn(fs::path());
    if (start.missing.empty()) {
        return "";
    }
    start.folder = fs::current_path(start.unknown);

    Place own;
    // The program file itself, whatever link or folder it was started by.
    own.folder = fs::read_symlink("/proc/self/exe", own.unknown).parent_path();
    own.missing = own.unknown ? allGameFolders() : lackedIn(own.folder);
    if (own.missing.empty()) {
        fs::current_path(own.folder, own.entered);
        if (!own.entered) {
            return "";
        }
    }

    const std::string note = notFoundNote(start, own);
    std::fprintf(stderr, "%s\n", note.c_str());
    std::fflush(stderr);
    return note;
}
