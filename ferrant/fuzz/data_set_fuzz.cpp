// Data-set files (*.sds) as the data-set editor loads them: refused with an
// exception of the family and the sheet left as it was, or loaded into the
// sheet, whose cells and hint save back to the very same bytes. The input's
// last four bytes are made its checksum, so that the fuzzer reaches the
// header, description and values behind it.
#include <QtEndian>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ferrant/ferrant.h"
#include "ferrant/sds_format.h"
#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "workbook/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.size() >= 4) {
    const std::uint32_t crc =
        ferrant::Crc32(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size() - 4)));
    qToLittleEndian(crc, bytes.data() + bytes.size() - 4);
  }
  const QString path = QString::fromStdString(
      fuzz::WriteScratchFile("input.sds", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
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
  if (fuzz::ReadScratchFile(saved) != bytes) std::abort();
  return 0;
}
