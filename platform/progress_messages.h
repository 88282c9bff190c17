// The three window messages by which a method library's run shows its
// progress in the main window of class "TWMain": the library sends them and
// the main window handles them, so both take their numbers from here.
#pragma once

#include <cstdint>

#include "platform/window_messages.h"

namespace platform {

// wparam: the run's total number of steps; lparam: its default step.
constexpr std::uint32_t WM_PROGRESSBEGIN = kWmUser + 0;
// lparam: the increment, 0 for the default step.
constexpr std::uint32_t WM_PROGRESSSTEP = kWmUser + 1;
// Sent only when the run has completed.
constexpr std::uint32_t WM_PROGRESSEND = kWmUser + 2;

}  // namespace platform
