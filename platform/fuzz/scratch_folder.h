// The temporary folder of a fuzz harness whose reader takes a path: made once
// under TMPDIR, removed when the harness ends, the inputs written into it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fuzz {

inline const std::filesystem::path& ScratchFolder() {
  // Never destroyed, so that the removal at exit still has it.
  static const std::filesystem::path* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "wb-fuzz.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    const auto* made = new std::filesystem::path(pattern);
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return made;
  }();
  return *folder;
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
