#ifndef QUELLARIS_PLATFORM_SAFEWRITE_H
#define QUELLARIS_PLATFORM_SAFEWRITE_H

#include <string>

// How every file the game writes reaches the disk: never in place. The bytes go to path +
// ".tmp", every write is checked, the file is flushed, synced and closed, and only then is it
// renamed over path. On any failure the result is false, the temporary is gone and the old
// file at path is exactly as it was, so a full disk or a crash cannot cost the player what
// was saved before. A temporary path that cannot be opened (a folder, maybe not ours) is
// left alone.
bool safeWrite(const std::string& path, const std::string& bytes);

#endif
