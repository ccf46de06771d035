#include "actors/tricklibrary.h"

#include <algorithm>

namespace Vortel {

void TrickLibrary::addTrick(const Trick& trick) {
    _tricks.push_back(trick);
    // list::sort is a stable merge sort that relinks nodes, so no trick moves in memory.
    _tricks.sort();
}

Trick* TrickLibrary::trickByName(const std::string& name, const std::string& subname) {
    for (Trick& trick : _tricks) {
        if (trick.name() == name && trick.subname() == subname) {
            return &trick;
        }
    }
    return nullptr;
}

Trick* TrickLibrary::trickByNameSpaceSubname(const std::string& text) {
    for (Trick& trick : _tricks) {
        const std::string& name = trick.name();
        const std::string& subname = trick.subname();
        if (text.size() == name.size() + 1 + subname.size() &&
            text.compare(0, name.size(), name) == 0 && text[name.size()] == ' ' &&
            text.compare(name.size() + 1, std::string::npos, subname) == 0) {
            return &trick;
        }
    }
    return nullptr;
}

std::list<std::string> TrickLibrary::trickNames() const {
    std::list<std::string> names;
    for (const Trick& trick : _tricks) {
        if (std::find(names.begin(), names.end(), trick.name()) == names.end()) {
            names.push_back(trick.name());
        }
    }
    return names;
}

std::list<Trick>& TrickLibrary::allTricksByName(const std::string& name) {
    _variants.clear();
    for (const Trick& trick : _tricks) {
        if (trick.name() == name) {
            _variants.push_back(trick);
        }
    }
    return _variants;
}

}  // namespace Vortel
