// Removing a folder the program made, with everything in it, through
// descriptors: a folder swapped for a link while it goes leads nowhere else.
#pragma once

#include <string>

#include "platform/export.h"

namespace platform {

// Removes what the folder open at `folder` holds, through that descriptor:
// its files and links (a link is removed, never followed) and, with
// `subfolders`, each subfolder with all it holds, depth first, opened without
// following a link. What cannot be removed stays. Closes `folder`.
WB_EXPORT void RemoveFolderEntries(int folder, bool subfolders);

// Removes all that the folder open at `folder` holds, depth first: a link is
// removed, never followed, and a subfolder is opened without following a
// link before what it holds goes. The folder itself goes from `path` only
// while that path still names it. Takes `folder` over and closes it.
WB_EXPORT void RemoveOpenFolder(int folder, const std::string& path);

}  // namespace platform
