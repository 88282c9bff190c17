// Test helper: how many bytes this process has read so far, through read
// calls of every kind (/proc/self/io's rchar), so that a test can tell how far
// a reader went into a file without timing it.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

inline std::uint64_t BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}
