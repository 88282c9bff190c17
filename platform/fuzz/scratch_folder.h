// The temporary folder of a fuzz harness whose reader takes a path: made once
// under TMPDIR, removed when the harness ends, the inputs written into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/tests/temporary_folder.h"

namespace fuzz {

inline const std::filesystem::path& ScratchFolder() {
  static const TemporaryFolder folder;
  return folder.Path();
}

// The bytes as the file `name` of the scratch folder; its full path.
inline std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (ScratchFolder() / name).string();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!file.flush()) std::abort();
  return path;
}

// The whole content of a file the harness saved, byte for byte.
inline std::string ReadScratchFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace fuzz
