// OLE2 compound files through libgsf: the container of Excel workbooks.
#pragma once

#include <QByteArrayView>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/export.h"

namespace workbook {

// Builds a compound file holding one stream, whose bytes are handed over
// piece by piece, so that a large stream is never held whole. Exported for
// the tests and the fuzz harness, which wrap streams of their own in a file.
class WB_EXPORT CompoundFileWriter {
 public:
  // Into the open file `fd`, which stays open.
  CompoundFileWriter(const char* stream_name, int fd);
  ~CompoundFileWriter();
  CompoundFileWriter(const CompoundFileWriter&) = delete;
  CompoundFileWriter& operator=(const CompoundFileWriter&) = delete;

  void Write(QByteArrayView bytes);
  // Completes the file; false when it could not be built or written.
  bool Finish();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  bool written_ = true;
};

// Hands `read` the workbook stream of a compound file: "Workbook" (Excel
// 97-2003) when it has one, else "Book" (Excel 5.0/95); names are matched
// without regard to case, as OLE2 compares them. A stream that lies in one
// piece in the file is handed over where it lies, without a copy. Throws
// EReadError when the bytes are no compound file or hold neither stream.
void ReadWorkbookStream(std::string_view file, const std::function<void(QByteArrayView)>& read);

}  // namespace workbook
