// Project files (*.spr) as the model reads them: refused with an exception of
// the family, or read whole and saved back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "shell/model/project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteScratchFile("input.spr", data, size);
  TProject project("");
  try {
    project.LoadFromFile(QString::fromStdString(path));
  } catch (const Exception&) {
    return 0;
  }
  const std::string saved = (fuzz::ScratchFolder() / "saved.spr").string();
  project.SaveAs(QString::fromStdString(saved));
  if (fuzz::ReadScratchFile(saved) != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
  return 0;
}
