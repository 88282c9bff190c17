// The error box of a library: an error icon and a single OK button. The
// process that shows boxes (the shell, or the run host forwarding to it)
// installs a handler; without one the text goes to the standard error stream.
// The call returns once the box has been closed.
#pragma once

#include <functional>
#include <string>

#include "platform/export.h"

namespace platform {

using MessageBoxHandler = std::function<void(const std::string& text)>;

WB_EXPORT void ShowErrorBox(const std::string& text);

// Installs the handler and returns the one it replaces; an empty handler
// restores the standard error stream.
WB_EXPORT MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
