// The temporary files that whole-file saves write beside their target. A
// temporary's name tells its target; the lock that its save holds on it for as
// long as it writes tells a leftover of a killed save from a save under way,
// in this process, another one, another PID namespace or on another machine
// sharing the folder.
#pragma once

#include <string>

namespace platform {

// Creates a new file beside `target` for writing, never through a link or a
// file already under its name, locked for as long as its descriptor stays
// open, and stores its name in `temporary`; its descriptor, or -1 when it
// cannot be made. The name is noted (NoteTemporaryFile) before the file is
// made; when -1 comes back it has been forgotten again.
int CreateSaveTemporary(const std::string& target, std::string& temporary);

// Removes the temporaries of `target` that no save holds locked. Nothing else
// goes: not the temporaries of other targets or of saves under way, nor
// anything that merely looks like a temporary without being a regular file.
void RemoveAbandonedTemporaries(const std::string& target);

}  // namespace platform
