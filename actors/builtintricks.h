#ifndef QUELLARIS_ACTORS_BUILTINTRICKS_H
#define QUELLARIS_ACTORS_BUILTINTRICKS_H

namespace Vortel {

class TrickLibrary;

// Adds the game's 37 tricks, in the order of the game's own table, to the library.
// There is no trick file: these are all the tricks the game knows.
void addBuiltInTricks(TrickLibrary& library);

}  // namespace Vortel

#endif
