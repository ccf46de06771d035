#ifndef QUELLARIS_PLATFORM_GAMEFOLDER_H
#define QUELLARIS_PLATFORM_GAMEFOLDER_H

// The game reads every file by a path relative to the folder it is started in. Started from
// elsewhere (build/run/quellaris from the source tree, a launcher's own folder), its first
// missing file would name only that file; the player is told first where the game looked.

// Where any of the game's own folders (data, mesh, sounds, textures) is missing from the
// working directory, writes one line to standard error saying that the game reads its files
// from the folder it is started in, which folder that is, and which of them it lacks. Says
// nothing where all are there (links to folders count).
void tellMissingGameFolders();

#endif
