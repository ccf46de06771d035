#ifndef QUELLARIS_PLATFORM_SAFEWRITE_H
#define QUELLARIS_PLATFORM_SAFEWRITE_H

#include <string>

// How every file the game writes reaches the disk: never in place. The bytes go to a
// temporary of the save's own beside the file (its name + "." + process and save numbers +
// ".tmp", made new, never a file or link already there), every write is checked, the temporary
// is flushed, synced and closed, it is renamed over the file and the folder is synced, so the
// rename itself survives a power cut. On any failure before the rename the result is false, the
// temporary is gone and the old file is exactly as it was, so a full disk or a crash cannot
// cost the player what was saved before. Two games saving the same file at once never touch
// each other's temporaries: each rename moves a whole file, and the last save wins. Should the
// folder not sync after the rename, the result is false too, the new file in place.
//
// The new file keeps the permissions of the one it replaces (a new file gets the usual ones),
// and, where the game may give them (run as root), its owner and group.
//
// A symbolic link at path is followed only to a regular file, which is then the file written
// (the link stays). A link to anything else (a device, a folder) or one that leads nowhere
// fails the save, as does a path that is itself no regular file: nothing is replaced.
//
// On failure reason, when given, says why in a few words ("No space left on device").
bool safeWrite(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// The same for a copy of the file at from, read piece by piece: to is replaced by a whole
// copy or not at all. Only a regular file at from is copied (see boundedfile.h), and the copy
// has its permissions, and its owner and group where the game may give them.
bool safeCopy(const std::string& from, const std::string& to, std::string* reason = nullptr);

// Removes the temporaries that saves of path left when they were killed before their rename:
// regular files of the names saves give them (and the single name "path.tmp" of older
// versions) that no save holds. A save holds its temporary locked while it lives, so one that
// another game is still writing is left alone, as is anything there that is no regular file.
void removeLeftTemporaries(const std::string& path);

#endif
