// Windows found by class name and synchronous messages to them, as the method
// libraries use them to report progress. A receiver registers a class name
// with a dispatch function; a send calls that function and returns its result.
// The receiver decides on which thread the message is handled: a GUI receiver
// hands it to its GUI thread and blocks the sender until it is done.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/export.h"

namespace platform {

constexpr std::uint32_t kWmUser = 0x400;

struct WindowEntry;
using WindowHandle = WindowEntry*;

using WindowDispatch =
    std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam)>;

// Registers a window of the given class; the newest registration of a class
// is the one FindWindowByClass returns.
WB_EXPORT WindowHandle RegisterWindow(const std::string& class_name, WindowDispatch dispatch);

// Removes the window; sends to its handle afterwards are dropped and answer 0.
// Waits until no send is inside its dispatch function.
WB_EXPORT void UnregisterWindow(WindowHandle window);

// The window of that class, or null when none is registered.
WB_EXPORT WindowHandle FindWindowByClass(const std::string& class_name);

// Calls the window's dispatch and returns its result; 0 for a window that is
// no longer registered.
WB_EXPORT std::intptr_t SendWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                                          std::intptr_t lparam);

}  // namespace platform
