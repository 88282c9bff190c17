#include "platform/save_temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

#include "platform/temporary_files.h"

namespace platform {
namespace {

// A temporary's name is the target's own name, a dot, the writing process's
// id, a hyphen, a number counted in that process, and ".tmp": it shows what
// it was, and is unique among the saves of one machine. A name so long that
// it would not leave room for the rest is cut, and its temporaries end in
// ".cut.tmp" instead: they may belong to any target whose name starts the
// same, so they never pass for the temporaries of a name kept whole.
constexpr std::size_t kKeptNameBytes = 200;
constexpr std::string_view kEnding = ".tmp";
constexpr std::string_view kCutEnding = ".cut.tmp";

struct Naming {
  std::string folder;  // with its closing slash; empty for the current folder
  std::string stem;    // the target's name, cut when too long
  std::string_view ending;
};

Naming NamingOf(const std::string& target) {
  const std::size_t name_start = target.rfind('/') + 1;  // 0 without a folder
  std::size_t name_end = std::min(target.size(), name_start + kKeptNameBytes);
  // Cut between characters, not inside one.
  while (name_end > name_start && name_end < target.size() &&
         (static_cast<unsigned char>(target[name_end]) & 0xC0) == 0x80) {
    --name_end;
  }
  return {target.substr(0, name_start), target.substr(name_start, name_end - name_start),
          name_end == target.size() ? kEnding : kCutEnding};
}

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

// Whether `entry` is named as a save of the target writes its temporaries.
bool IsTemporaryOf(std::string_view entry, const Naming& naming) {
  const std::string_view stem = naming.stem;
  const std::string_view ending = naming.ending;
  if (entry.size() <= stem.size() + 1 + ending.size() || entry.substr(0, stem.size()) != stem ||
      entry[stem.size()] != '.' || entry.substr(entry.size() - ending.size()) != ending) {
    return false;
  }
  const std::string_view middle =
      entry.substr(stem.size() + 1, entry.size() - stem.size() - 1 - ending.size());
  const std::size_t hyphen = middle.find('-');
  if (hyphen == std::string_view::npos) return false;
  const auto pid = Decimal(middle.substr(0, hyphen));
  const auto count = Decimal(middle.substr(hyphen + 1));
  return pid && count && *pid != 0 &&
         *pid <= static_cast<unsigned long long>(std::numeric_limits<pid_t>::max()) &&
         *count <= std::numeric_limits<unsigned>::max();
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the file just made under `path` is locked and still under that
// name: a cleanup may have taken it for a leftover in the moment between its
// making and its lock. Where the file system has no locks, no cleanup can
// lock it either, and it is kept unlocked.
bool LockedInPlace(int fd, const std::string& path) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EINTR)) return false;
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named);
}

// Removes `name` when it is a regular file that no one holds locked. The
// lock is taken without waiting and kept until the name is gone, so no save
// can start writing it meanwhile.
void RemoveUnlessLocked(int folder, const char* name) {
  const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened {};
  struct stat named {};
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(opened, named)) {
    ::unlinkat(folder, name, 0);
  }
  ::close(fd);
}

}  // namespace

// Created with O_EXCL, so the process's umask applies as to any new file.
int CreateSaveTemporary(const std::string& target, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const Naming naming = NamingOf(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = naming.folder + naming.stem + "." + std::to_string(::getpid()) + "-" +
                std::to_string(counter++) + std::string(naming.ending);
    NoteTemporaryFile(temporary);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    const int error = errno;
    if (fd >= 0 && LockedInPlace(fd, temporary)) return fd;
    if (fd >= 0) ::close(fd);
    ForgetTemporaryFile(temporary);
    if (fd < 0 && error != EEXIST) return -1;
  }
  return -1;
}

void RemoveAbandonedTemporaries(const std::string& target) {
  const Naming naming = NamingOf(target);
  if (naming.stem.empty()) return;
  DIR* listing = ::opendir(naming.folder.empty() ? "." : naming.folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    if (IsTemporaryOf(entry->d_name, naming)) RemoveUnlessLocked(::dirfd(listing), entry->d_name);
  }
  ::closedir(listing);
}

}  // namespace platform
