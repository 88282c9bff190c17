// Whole files in one piece: read at once, or written so that the previous
// file is replaced only by a complete new one. Every file the system saves
// goes through here, so a failed save never leaves a cut file behind; every
// file it reads from outside opens here, so that a pipe, a device or a file
// of absurd size never holds the program up.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "platform/export.h"

namespace platform {

// Opens a file for reading without waiting on what the name stands for (a
// pipe without a writer opens at once) and keeps it only when it is a
// regular file. EFOpenError with `open_error` when it cannot be opened, and
// with `open_error` followed by the reason, naming the file, when it is a
// folder, a pipe or a device. The caller closes the stream.
WB_EXPORT std::FILE* OpenRegularFile(const std::string& path, const std::string& open_error);

// The whole content of a regular file, opened as OpenRegularFile opens it. A
// file longer than `max_bytes`, the most its format can hold, is refused from
// its size before anything is read: EReadError with `open_error` followed by
// the reason. EFOpenError with `open_error` when it cannot be read.
WB_EXPORT std::string ReadWholeFile(const std::string& path, const std::string& open_error,
                                    std::uint64_t max_bytes);

// A regular file read front to back a field at a time, so that its reader
// can refuse a field that cannot be (a length longer than what is left, a
// count no file holds) before it reads the bytes that field announces. The
// file is opened as OpenRegularFile opens it and read as long as it was when
// it was opened; a file longer than `max_bytes`, the most its format can hold,
// is refused from its size before anything is read (EReadError with
// `open_error` followed by the reason), and a read error is an EFOpenError
// with `open_error`. Bytes already in memory are read the same way.
class WB_EXPORT SequentialReader {
 public:
  SequentialReader(const std::string& path, const std::string& open_error, std::uint64_t max_bytes);
  explicit SequentialReader(std::string_view bytes);
  ~SequentialReader();
  SequentialReader(const SequentialReader&) = delete;
  SequentialReader& operator=(const SequentialReader&) = delete;

  // How many bytes are left to read.
  std::uint64_t Remaining() const { return remaining_; }
  // Copies the next `count` bytes into `into`; false, taking nothing, when
  // fewer are left.
  bool Read(void* into, std::size_t count);

 private:
  std::FILE* file_ = nullptr;
  std::string_view bytes_;
  std::uint64_t remaining_ = 0;
  std::string open_error_;
};

// A save of a whole file under way. The new content goes into a temporary
// file beside the file it replaces, created afresh (never through a link or a
// file already under its name), locked for as long as the save writes it and
// noted as a temporary file, and it takes the file's place only when the save
// is finished. A symbolic link stays: the file it points to is the one
// replaced, its temporary file beside it. What the path names must be a
// regular file that the user may write, or nothing yet: a folder, a pipe, a
// device and a file the user may not write are refused as any failed save is.
class WB_EXPORT WholeFileSave {
 public:
  // Starts the save of `path`, first removing the temporaries that earlier
  // saves of the same file left when they were killed half-way. Throws
  // EFCreateError with `create_error` (followed by the reason, naming the
  // file, for a file the user may not write) when the save cannot start.
  WholeFileSave(const std::string& path, std::string create_error);
  // A save not finished leaves the previous file as it was and no temporary.
  ~WholeFileSave();
  WholeFileSave(const WholeFileSave&) = delete;
  WholeFileSave& operator=(const WholeFileSave&) = delete;

  // The temporary file, open for writing.
  int Descriptor() const { return fd_; }
  // Appends `bytes` to the temporary file; false when they could not all be
  // written, which Finish then refuses.
  bool Write(std::string_view bytes);

  // Gives the new file the old one's permissions, flushes it to disk and
  // renames it over the old one. On any failure, a failed Write included,
  // the temporary file is removed, the previous file stays as it was, and
  // EFCreateError with `create_error` is thrown.
  void Finish();

 private:
  void Abandon() noexcept;

  std::string target_;
  std::string create_error_;
  std::string temporary_;
  int fd_ = -1;
  bool write_failed_ = false;
  bool replaces_ = false;
  unsigned permissions_ = 0;
};

// Saves `bytes` as the whole content of `path` (WholeFileSave).
WB_EXPORT void WriteWholeFile(const std::string& path, std::string_view bytes,
                              const std::string& create_error);

// The same with the content written by `write` to the temporary file's
// descriptor, for content too large to be built in memory first. `write`
// returns false when it failed; an exception from it goes on to the caller,
// after the temporary file was removed.
WB_EXPORT void WriteWholeFileFrom(const std::string& path, const std::function<bool(int fd)>& write,
                                  const std::string& create_error);

}  // namespace platform
