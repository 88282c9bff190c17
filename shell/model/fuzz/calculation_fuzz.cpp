// Calculation files (*.scl) as the model reads them: refused with an
// exception of the family, or read whole and saved back byte for byte, also
// when the method's libraries named in the file cannot be bound afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "platform/program_folder.h"
#include "shell/model/calculation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Libraries are sought in the scratch folder's Libraries/, which holds none.
  static const bool program_folder_set = [] {
    platform::SetProgramFolder(fuzz::ScratchFolder().string() + "/");
    return true;
  }();
  (void)program_folder_set;
  const std::string path = fuzz::WriteScratchFile("input.scl", data, size);
  const std::unique_ptr<TCalculation, void (*)(TCalculation*)> calculation(new TCalculation(""),
                                                                           &TCalculation::Free);
  try {
    calculation->LoadFromFile(QString::fromStdString(path));
  } catch (const EFOpenError&) {
    return 0;
  } catch (const EReadError&) {
    return 0;
  } catch (const Exception&) {
    // The libraries could not be bound: the file itself was read whole.
  }
  const std::string saved = (fuzz::ScratchFolder() / "saved.scl").string();
  calculation->SaveAs(QString::fromStdString(saved));
  if (fuzz::ReadScratchFile(saved) != std::string(reinterpret_cast<const char*>(data), size)) std::abort();
  return 0;
}
