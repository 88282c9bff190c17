#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/save_temporaries.h"
#include "platform/temporary_files.h"

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
  // Hands the descriptor over to the caller.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

[[noreturn]] void RefuseTooLarge(const std::string& path, const std::string& open_error,
                                 std::uint64_t max_bytes) {
  throw EReadError(open_error + " Файл " + Quoted(path) + " длиннее " + std::to_string(max_bytes) +
                   " байт: файл этого вида не бывает таким большим.");
}

// O_NONBLOCK: a pipe without a writer, or a device, would otherwise keep the
// open waiting before the file's kind can be checked. It changes nothing for
// reading a regular file.
int OpenRegular(const std::string& path, const std::string& open_error, struct stat& status) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) throw EFOpenError(open_error);
  if (!S_ISREG(status.st_mode)) {
    throw EFOpenError(open_error + " " + Quoted(path) + " — не обычный файл, а папка, канал или устройство.");
  }
  return file.Release();
}

// Reads until `count` bytes are in or the file has ended; how many came.
std::size_t ReadUpTo(int fd, char* buffer, std::size_t count, const std::string& open_error) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd, buffer + done, count - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EFOpenError(open_error);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

// A large file is read into memory that the system gives in large pages
// where it grants them: taken page by page, the memory for 80 MB cost ten
// times as long as reading the file into it.
void ReserveInLargePages(std::string& bytes, std::size_t size) {
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  bytes.reserve(size);
  if (size < 2 * kLargePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
  const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (start + size) & ~(kLargePage - 1);
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

// The file a save replaces: symbolic links are followed, as far as the
// kernel would follow them, to the file they name, existing or not.
std::string SaveTarget(const std::string& path, const std::string& create_error) {
  constexpr int kMaxLinks = 40;
  std::string target = path;
  for (int link = 0; link < kMaxLinks; ++link) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return target;
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof buffer) throw EFCreateError(create_error);
    const std::string named(buffer, static_cast<std::size_t>(length));
    // A relative link names a file from the link's own folder.
    const std::size_t slash = target.rfind('/');
    target = named.front() == '/' || slash == std::string::npos ? named : target.substr(0, slash + 1) + named;
  }
  throw EFCreateError(create_error);
}

}  // namespace

std::FILE* OpenRegularFile(const std::string& path, const std::string& open_error) {
  struct stat status {};
  Descriptor file(OpenRegular(path, open_error, status));
  std::FILE* stream = ::fdopen(file.Get(), "r");
  if (stream == nullptr) throw EFOpenError(open_error);
  file.Release();
  return stream;
}

std::string ReadWholeFile(const std::string& path, const std::string& open_error, std::uint64_t max_bytes) {
  struct stat status {};
  Descriptor file(OpenRegular(path, open_error, status));
  const auto size = static_cast<std::uint64_t>(status.st_size);
  if (size > max_bytes) RefuseTooLarge(path, open_error, max_bytes);
  std::string bytes;
  ReserveInLargePages(bytes, static_cast<std::size_t>(size));
  bytes.resize(static_cast<std::size_t>(size));
  bytes.resize(ReadUpTo(file.Get(), bytes.data(), bytes.size(), open_error));
  if (bytes.size() < size) return bytes;
  // A file that grows while it is read is held to the same limit.
  char more[65536];
  for (;;) {
    const std::size_t got = ReadUpTo(file.Get(), more, sizeof more, open_error);
    if (bytes.size() + got > max_bytes) RefuseTooLarge(path, open_error, max_bytes);
    bytes.append(more, got);
    if (got < sizeof more) return bytes;
  }
}

SequentialReader::SequentialReader(const std::string& path, const std::string& open_error,
                                   std::uint64_t max_bytes)
    : open_error_(open_error) {
  struct stat status {};
  Descriptor file(OpenRegular(path, open_error, status));
  remaining_ = static_cast<std::uint64_t>(status.st_size);
  if (remaining_ > max_bytes) RefuseTooLarge(path, open_error, max_bytes);
  file_ = ::fdopen(file.Get(), "r");
  if (file_ == nullptr) throw EFOpenError(open_error);
  file.Release();
}

SequentialReader::SequentialReader(std::string_view bytes) : bytes_(bytes), remaining_(bytes.size()) {}

SequentialReader::~SequentialReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool SequentialReader::Read(void* into, std::size_t count) {
  if (count > remaining_) return false;
  if (file_ == nullptr) {
    bytes_.copy(static_cast<char*>(into), count);
    bytes_.remove_prefix(count);
  } else if (std::fread(into, 1, count, file_) != count) {
    // A file cut while it is read is as short as one cut before.
    if (std::ferror(file_)) throw EFOpenError(open_error_);
    remaining_ = 0;
    return false;
  }
  remaining_ -= count;
  return true;
}

WholeFileSave::WholeFileSave(const std::string& path, std::string create_error)
    : target_(SaveTarget(path, create_error)), create_error_(std::move(create_error)) {
  // Only a regular file is replaced: a pipe or a device, and a link to one,
  // stays as it is, and nothing is opened that could wait.
  struct stat previous {};
  replaces_ = ::stat(target_.c_str(), &previous) == 0;
  if (replaces_ && !S_ISREG(previous.st_mode)) throw EFCreateError(create_error_);
  // The kernel's own judgement, as for a write in place: a file its owner
  // made read-only stays so, while root keeps root's rights.
  if (replaces_ && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    throw EFCreateError(create_error_ + " Файл " + Quoted(path) + " защищен от записи.");
  }
  permissions_ = previous.st_mode & 07777;
  RemoveAbandonedTemporaries(target_);
  fd_ = CreateSaveTemporary(target_, temporary_);
  if (fd_ < 0) {
    temporary_.clear();
    throw EFCreateError(create_error_);
  }
}

WholeFileSave::~WholeFileSave() { Abandon(); }

bool WholeFileSave::Write(std::string_view bytes) {
  while (!bytes.empty() && !write_failed_) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    write_failed_ = written <= 0;
    if (!write_failed_) bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return !write_failed_;
}

// Renamed while the temporary is still open and locked, so that no cleanup
// can take it for a leftover before it has its name.
void WholeFileSave::Finish() {
  const bool complete = fd_ >= 0 && !write_failed_ && (!replaces_ || ::fchmod(fd_, permissions_) == 0) &&
                        ::fsync(fd_) == 0 && ::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (!complete) {
    Abandon();
    throw EFCreateError(create_error_);
  }
  ForgetTemporaryFile(temporary_);
  temporary_.clear();
  ::close(fd_);
  fd_ = -1;
}

void WholeFileSave::Abandon() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  ForgetTemporaryFile(temporary_);
  temporary_.clear();
}

void WriteWholeFileFrom(const std::string& path, const std::function<bool(int fd)>& write,
                        const std::string& create_error) {
  WholeFileSave save(path, create_error);
  if (!write(save.Descriptor())) throw EFCreateError(create_error);
  save.Finish();
}

void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& create_error) {
  WholeFileSave save(path, create_error);
  save.Write(bytes);
  save.Finish();
}

}  // namespace platform
