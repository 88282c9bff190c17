#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/exceptions.h"

namespace platform {
namespace {

// Closes a descriptor once, however the scope ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  // Closes now and says whether the kernel reported no error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A name beside `path` that no other writer in this or another process uses;
// created with O_EXCL, so the process's umask applies as to any new file.
int CreateTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string ReadWholeFile(const std::string& path, const std::string& open_error) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    throw EFOpenError(open_error);
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EFOpenError(open_error);
    }
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

void WriteWholeFileFrom(const std::string& path, const std::function<bool(int fd)>& write,
                        const std::string& create_error) {
  std::string temporary;
  Descriptor file(CreateTemporary(path, temporary));
  if (file.Get() < 0) throw EFCreateError(create_error);
  struct stat previous {};
  const bool replaces = ::stat(path.c_str(), &previous) == 0;
  bool complete = false;
  try {
    complete = write(file.Get());
  } catch (...) {
    file.Close();
    ::unlink(temporary.c_str());
    throw;
  }
  complete = complete && (!replaces || ::fchmod(file.Get(), previous.st_mode & 07777) == 0) &&
             ::fsync(file.Get()) == 0;
  if (!file.Close() || !complete || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    throw EFCreateError(create_error);
  }
}

void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& create_error) {
  WriteWholeFileFrom(
      path, [bytes](int fd) { return WriteAll(fd, bytes); }, create_error);
}

}  // namespace platform
