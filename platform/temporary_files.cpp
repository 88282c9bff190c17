#include "platform/temporary_files.h"

#include <mutex>

namespace platform {
namespace {

std::mutex handler_mutex;
TemporaryFileHandler installed;

// The note only helps to clean up after a run that was ended: it never
// fails the file's own writing.
void Tell(const std::string& path, bool made) noexcept {
  try {
    TemporaryFileHandler handler;
    {
      std::lock_guard lock(handler_mutex);
      handler = installed;
    }
    if (handler) handler(path, made);
  } catch (...) {
  }
}

}  // namespace

void NoteTemporaryFile(const std::string& path) noexcept { Tell(path, true); }

void ForgetTemporaryFile(const std::string& path) noexcept { Tell(path, false); }

TemporaryFileHandler SetTemporaryFileHandler(TemporaryFileHandler handler) {
  std::lock_guard lock(handler_mutex);
  std::swap(installed, handler);
  return handler;
}

}  // namespace platform
