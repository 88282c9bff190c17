// The program folder: where the program file lives, with the method libraries
// in its Libraries/ folder and the run host beside the program. Tests point it
// at a staged folder of their own.
#pragma once

#include <string>

#include "platform/export.h"

namespace platform {

// The folder of this process's program file (from /proc/self/exe), or the one
// set by SetProgramFolder; always ends in "/".
WB_EXPORT std::string ProgramFolder();

// Makes ProgramFolder return the given folder; an empty text restores the
// program file's own folder.
WB_EXPORT void SetProgramFolder(const std::string& folder);

}  // namespace platform
