#ifndef QUELLARIS_ACTORS_TRICKLIBRARY_H
#define QUELLARIS_ACTORS_TRICKLIBRARY_H

#include <list>
#include <string>

#include "actors/trick.h"

namespace Vortel {

// Every trick the game knows, kept sorted by step count (shorter first, ties in the order
// added). The matcher relies on that order: among equally long matches the earlier trick
// wins, and a trick that another begins with comes before it. Tricks never move once
// added, so the pointers the look-ups return stay valid as long as the library.
class TrickLibrary {
public:
    std::list<Trick>& tricks() { return _tricks; }
    const std::list<Trick>& tricks() const { return _tricks; }

    void addTrick(const Trick& trick);

    Trick* trickByName(const std::string& name, const std::string& subname);
    // The form in which the menus show a variant: name, one blank, subname.
    Trick* trickByNameSpaceSubname(const std::string& text);

    std::list<std::string> trickNames() const;
    // The returned list is replaced by the next call.
    std::list<Trick>& allTricksByName(const std::string& name);

private:
    std::list<Trick> _tricks;
    std::list<Trick> _variants;
};

}  // namespace Vortel

#endif
