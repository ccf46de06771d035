#ifndef QUELLARIS_PLATFORM_SAFEWRITE_H
#define QUELLARIS_PLATFORM_SAFEWRITE_H

#include <string>

// How every file the game writes reaches the disk: never in place. The bytes go to a
// temporary beside the file (its name + ".tmp"), every write is checked, the temporary is
// flushed, synced and closed, and only then is it renamed over the file. On any failure the
// result is false, a temporary it made is gone and the old file is exactly as it was, so a
// full disk or a crash cannot cost the player what was saved before. A regular file where the
// temporary goes (left by a kill) is replaced; anything else there (a folder, a link, a
// device, maybe not ours) is left alone and fails the save.
//
// The new file keeps the permissions of the one it replaces (a new file gets the usual ones).
//
// A symbolic link at path is followed only to a regular file, which is then the file written
// (the link stays). A link to anything else (a device, a folder) or one that leads nowhere
// fails the save, as does a path that is itself no regular file: nothing is replaced.
//
// On failure reason, when given, says why in a few words ("No space left on device").
bool safeWrite(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// The same for a copy of the file at from, read piece by piece: to is replaced by a whole
// copy or not at all. Only a regular file at from is copied (see boundedfile.h), and the copy
// has its permissions.
bool safeCopy(const std::string& from, const std::string& to, std::string* reason = nullptr);

// Removes the temporary that a save of path left when it was killed before its rename, if it
// is a regular file; anything else there (a folder, a link) is not ours to remove.
void removeLeftTemporary(const std::string& path);

#endif
