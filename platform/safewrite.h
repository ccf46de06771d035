#ifndef QUELLARIS_PLATFORM_SAFEWRITE_H
#define QUELLARIS_PLATFORM_SAFEWRITE_H

#include <string>

#include "platform/boundedfile.h"

// How every file the game writes reaches the disk: never in place. The bytes go to a
// temporary of the save's own beside the file (its name + "." + process and save numbers +
// ".tmp", made new, never a file or link already there), every write is checked, the temporary
// is flushed, synced and closed, it is renamed over the file and the folder is synced, so the
// rename itself survives a power cut. On any failure before the rename the result is false, the
// temporary is gone and the old file is exactly as it was, so a full disk or a crash cannot
// cost the player what was saved before. Two games saving the same file at once never touch
// each other's temporaries: each rename moves a whole file, and the last save wins. Should the
// folder not sync after the rename, the new file is in place and the result is true all the
// same, but reason says that the file may not survive a power cut.
//
// The new file keeps the permissions of the one it replaces (a new file gets the usual ones),
// and, where the game may give them (run as root), its owner and group; where it may not give
// the owner, it still keeps the group when the player belongs to it. A temporary that is to
// keep permissions is made readable by the game alone, and given its owner and then its mode
// before a byte is written, so no one who may not read the file can open it meanwhile.
//
// A symbolic link at path is followed only to a regular file, which is then the file written
// (the link stays). A link to anything else (a device, a folder) or one that leads nowhere
// fails the save, as does a path that is itself no regular file: nothing is replaced.
//
// reason, when given, says why in a few words on failure ("No space left on device", "cannot
// write in the folder data: Read-only file system"). On success it is emptied, or says what
// may still cost the save: a folder that did not sync.
bool safeWrite(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// How keepCopy() ended.
enum class KeepOutcome {
    Kept,     // the copy is whole on the disk
    Changed,  // the file is no longer the one looked at (or gone): nothing is copied
    Failed,   // nothing is kept; reason says why
};

// Keeps a copy of the regular file at from, as long as it is still the file found there
// before (see FileIdentity), under a new name: to, or where anything stands at to already, the
// first free of to + ".2", to + ".3" and so on. Nothing there is ever replaced, so every copy
// kept before stays, also when two games keep at once. The copy is written as safely as a
// save, read piece by piece (it costs no memory whatever the size of the file), and has the
// file's permissions, and its owner and group as a save keeps them. keptAs names the copy when
// Kept; reason is as for safeWrite.
KeepOutcome keepCopy(const std::string& from, const FileIdentity& found, const std::string& to, std::string& keptAs,
                     std::string* reason = nullptr);

// Removes the temporaries that saves of path left when they were killed before their rename:
// regular files of the names saves give them (and the single name "path.tmp" of older
// versions) that no save holds. A save holds its temporary locked while it lives, so one that
// another game is still writing is left alone, as is anything there that is no regular file.
void removeLeftTemporaries(const std::string& path);

#endif
