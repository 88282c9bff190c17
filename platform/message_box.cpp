#include "platform/message_box.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {

std::mutex handler_mutex;
MessageBoxHandler installed;

}  // namespace

void ShowErrorBox(const std::string& text) {
  MessageBoxHandler handler;
  {
    std::lock_guard lock(handler_mutex);
    handler = installed;
  }
  if (handler) {
    handler(text);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(handler_mutex);
  std::swap(installed, handler);
  return handler;
}

}  // namespace platform
