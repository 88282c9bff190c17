// Data-set files (*.sds) as the data-set editor loads them: refused with an
// exception of the family and the sheet left as it was, or loaded into the
// sheet, whose cells and hint save back to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ferrant/ferrant.h"
#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "workbook/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = QString::fromStdString(fuzz::WriteScratchFile("input.sds", data, size));
  WorkbookSheet sheet;
  try {
    Ferrant::LoadFromFileToBook(&sheet, path);
  } catch (const Exception&) {
    if (sheet.MaxRow() != WorkbookSheet::kInitialRows || !sheet.Hint().isEmpty()) std::abort();
    return 0;
  }
  sheet.SetSelection({1, 1, sheet.MaxRow(), sheet.MaxCol()});
  const std::string saved = (fuzz::ScratchFolder() / "saved.sds").string();
  Ferrant::SaveToFileFromBook(&sheet, QString::fromStdString(saved));
  if (fuzz::ReadScratchFile(saved) != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
  return 0;
}
