#ifndef QUELLARIS_PLATFORM_GAMEFOLDER_H
#define QUELLARIS_PLATFORM_GAMEFOLDER_H

#include <string>

// The game reads and saves every file by a path relative to its working directory (settings,
// scores, meshes, pictures, sounds). A desktop launcher starts it without a working folder of
// its own, and build/run/quellaris is as easily typed in the source tree: the folder of its
// files is settled here, once, before anything opens a file, so that no path is ever read
// against the wrong folder.

// Makes the folder that holds the game's four folders (data, mesh, sounds and textures; links
// to folders count) the working directory: the folder the game is started in where it holds
// all four, as build/run does, else the program's own folder (the one /proc/self/exe lies in)
// where that holds all four. Where neither does, the game stays in the folder it was started
// in and the player is told, on standard error at once, in a text that names both folders and
// what each lacks; that text is returned, to stand before the error that will likely end the
// game. Returns "" where the game has a folder with all four.
std::string settleGameFolder();

#endif
