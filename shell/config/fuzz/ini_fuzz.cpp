// The method registry (System.INI) as the main window reads it: refused with
// an exception of the family, or read into entries that keep the profile
// rules: every listed entry has a key and a value, no comment line counts,
// and each method has its name and its own section.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/exceptions.h"
#include "platform/fuzz/scratch_folder.h"
#include "shell/config/ini_file.h"
#include "shell/config/method_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = QString::fromStdString(fuzz::WriteScratchFile("System.INI", data, size));
  try {
    for (const QString& line : IniFile(path).ReadSectionValues("Methods")) {
      const qsizetype equals = line.indexOf('=');
      if (equals < 0 || equals + 1 == line.size() || line.startsWith(';') || line.startsWith('#'))
        std::abort();
    }
    const MethodList methods = ReadMethodList(path);
    if (methods.names.size() != methods.keys.size()) std::abort();
    for (const QString& key : methods.keys) ReadMethodEntry(path, key);
  } catch (const Exception&) {
  }
  return 0;
}
