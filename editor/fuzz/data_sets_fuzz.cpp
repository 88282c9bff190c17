// "DataSets.dat" as the parameter editor reads it from the current directory:
// the data set's path is shown exactly when the file holds a path, and the
// shell writes that path back as the very same bytes.
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/exchange_files.h"
#include "platform/cp1251.h"
#include "platform/fuzz/scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool in_scratch_folder = chdir(fuzz::ScratchFolder().c_str()) == 0;
  if (!in_scratch_folder) std::abort();
  fuzz::WriteScratchFile(kDataSetsFile, data, size);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const EditorStart start = ReadEditorStart();
  const bool holds_path = size > 0 && size <= PATH_MAX && bytes.find('\x98') == std::string::npos;
  if (start.DataSet.isEmpty() == holds_path) std::abort();
  if (holds_path && platform::Utf8ToCp1251(start.DataSet.toStdString()) != bytes) std::abort();
  return 0;
}
