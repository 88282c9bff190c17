// Test helper: a stream of the test's own making in a compound file at a
// path, as another program would have written it.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <QByteArrayView>
#include <string>

#include "workbook/compound_file.h"

namespace workbook {

// The stream is the file's only one, named `stream_name`; false when the
// file could not be written.
inline bool WriteCompoundFile(const std::string& path, const char* stream_name, QByteArrayView stream) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = false;
  {
    CompoundFileWriter file(stream_name, fd);
    file.Write(stream);
    written = file.Finish();
  }
  return ::close(fd) == 0 && written;
}

}  // namespace workbook
