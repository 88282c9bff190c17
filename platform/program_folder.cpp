#include "platform/program_folder.h"

#include <unistd.h>

#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex folder_mutex;
std::string chosen_folder;

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "./";
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string path(buffer.data(), static_cast<std::size_t>(length));
      return path.substr(0, path.rfind('/') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ProgramFolder() {
  {
    std::lock_guard lock(folder_mutex);
    if (!chosen_folder.empty()) return chosen_folder;
  }
  static const std::string own_folder = ExecutableFolder();
  return own_folder;
}

void SetProgramFolder(const std::string& folder) {
  std::lock_guard lock(folder_mutex);
  chosen_folder = folder.empty() ? std::string() : WithSeparator(folder);
}

}  // namespace platform
