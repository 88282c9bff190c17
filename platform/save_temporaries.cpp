#include "platform/save_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

namespace platform {
namespace {

// A temporary's name is the target's own name, a dot, the writing process's
// id, a hyphen, a number counted in that process, and ".tmp": it shows what
// it was, and the process tells a leftover from a save under way. A name so
// long that it would not leave room for the rest is cut, and its temporaries
// end in ".cut.tmp" instead: they may belong to any target whose name starts
// the same, so they never pass for the temporaries of a name kept whole.
constexpr std::size_t kKeptNameBytes = 200;
constexpr std::string_view kEnding = ".tmp";
constexpr std::string_view kCutEnding = ".cut.tmp";

// A decimal number as std::to_string writes it: digits only, without a
// leading zero.
std::optional<unsigned long long> Decimal(std::string_view text) {
  if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
  unsigned long long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The writing process of `entry` when it is a temporary of a target named
// `name`, kept whole; 0 when it is not one.
pid_t TemporaryWriter(std::string_view entry, std::string_view name) {
  if (entry.size() <= name.size() + 1 + kEnding.size() || entry.substr(0, name.size()) != name ||
      entry[name.size()] != '.' || entry.substr(entry.size() - kEnding.size()) != kEnding) {
    return 0;
  }
  const std::string_view middle =
      entry.substr(name.size() + 1, entry.size() - name.size() - 1 - kEnding.size());
  const std::size_t hyphen = middle.find('-');
  if (hyphen == std::string_view::npos) return 0;
  const auto pid = Decimal(middle.substr(0, hyphen));
  const auto count = Decimal(middle.substr(hyphen + 1));
  if (!pid || !count || *pid == 0 ||
      *pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max()) ||
      *count > std::numeric_limits<unsigned>::max()) {
    return 0;
  }
  return static_cast<pid_t>(*pid);
}

// A process that exists but is not ours to signal still runs.
bool Runs(pid_t pid) { return ::kill(pid, 0) == 0 || errno != ESRCH; }

}  // namespace

// Created with O_EXCL, so the process's umask applies as to any new file.
int CreateSaveTemporary(const std::string& target, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const std::size_t name_start = target.rfind('/') + 1;  // 0 without a folder
  std::size_t name_end = std::min(target.size(), name_start + kKeptNameBytes);
  // Cut between characters, not inside one.
  while (name_end > name_start && name_end < target.size() &&
         (static_cast<unsigned char>(target[name_end]) & 0xC0) == 0x80) {
    --name_end;
  }
  const std::string stem = target.substr(0, name_end);
  const std::string_view ending = name_end == target.size() ? kEnding : kCutEnding;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary =
        stem + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + std::string(ending);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void RemoveAbandonedTemporaries(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = target.substr(folder.size());
  if (name.empty() || name.size() > kKeptNameBytes) return;
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const pid_t writer = TemporaryWriter(entry->d_name, name);
    if (writer == 0 || Runs(writer)) continue;
    const std::string path = folder + entry->d_name;
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(listing);
}

}  // namespace platform
