// Files a process makes for a moment only, such as one written under a name
// of its own before it takes its final name. A process that may be ended at
// any moment (the run host, which the shell kills when a run is aborted)
// hands their names to the process that ends it, which removes what is left
// of them; without a handler nothing happens.
#pragma once

#include <functional>
#include <string>

#include "platform/export.h"

namespace platform {

// Called with the path and whether it is about to be made (true) or is gone.
// A handler that throws is not heard: noting never fails the file's writing.
using TemporaryFileHandler = std::function<void(const std::string& path, bool made)>;

// Before the file is made.
WB_EXPORT void NoteTemporaryFile(const std::string& path) noexcept;

// Once it is gone: renamed to its final name, or removed.
WB_EXPORT void ForgetTemporaryFile(const std::string& path) noexcept;

// Installs the handler and returns the one it replaces; an empty handler
// notes nothing.
WB_EXPORT TemporaryFileHandler SetTemporaryFileHandler(TemporaryFileHandler handler);

}  // namespace platform
