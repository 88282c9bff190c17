#include "platform/folder_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace platform {

void RemoveFolderEntries(int folder, bool subfolders) {
  DIR* listing = ::fdopendir(folder);
  if (listing == nullptr) {
    ::close(folder);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const int at = ::dirfd(listing);
  for (const std::string& name : names) {
    if (::unlinkat(at, name.c_str(), 0) == 0 || errno != EISDIR || !subfolders) continue;
    const int subfolder = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (subfolder < 0) continue;
    RemoveFolderEntries(subfolder, true);
    ::unlinkat(at, name.c_str(), AT_REMOVEDIR);
  }
  ::closedir(listing);
}

void RemoveOpenFolder(int folder, const std::string& path) {
  struct stat opened {};
  const bool known = ::fstat(folder, &opened) == 0;
  RemoveFolderEntries(folder, true);
  struct stat named {};
  if (known && ::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
      named.st_ino == opened.st_ino) {
    ::rmdir(path.c_str());
  }
}

}  // namespace platform
