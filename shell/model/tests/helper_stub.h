// What the calculation libraries that leave a helper process running share:
// the entry starts the helper, tells the helper's process group with the
// begin message (wparam), and then either returns at once, sending the end
// message just before, or, when "Parameters.dat" says "wait", runs until it
// is stopped. The helper would outlive the run by half a minute.
#pragma once

#include <unistd.h>

#include <fstream>
#include <string>

#include "platform/window_messages.h"

namespace {

constexpr unsigned kHelperSeconds = 30;

void Send(std::uint32_t message, std::uintptr_t wparam) {
  if (const platform::WindowHandle window = platform::FindWindowByClass("TWMain")) {
    platform::SendWindowMessage(window, platform::kWmUser + message, wparam, 0);
  }
}

// `startHelper` gives the helper's process group.
int RunBesideHelper(pid_t (*startHelper)()) {
  Send(0, static_cast<std::uintptr_t>(startHelper()));
  std::string command;
  std::ifstream("Parameters.dat") >> command;
  if (command == "wait") {
    for (;;) pause();
  }
  Send(2, 0);
  return 1;
}

}  // namespace
