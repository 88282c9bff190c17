// The temporary files that whole-file saves write beside their target. A
// temporary's name tells its target and the process that writes it, so that
// what a save killed half-way left behind can be told from a save under way
// and removed by the next save of the same target.
#pragma once

#include <string>

namespace platform {

// Creates a new file beside `target` for writing and stores its name in
// `temporary`; its descriptor, or -1 when it cannot be made.
int CreateSaveTemporary(const std::string& target, std::string& temporary);

// Removes the temporaries of `target` whose writing process no longer runs.
// Nothing else goes: not the temporaries of other targets or of saves under
// way, nor anything that merely looks like a temporary without being a
// regular file.
void RemoveAbandonedTemporaries(const std::string& target);

}  // namespace platform
