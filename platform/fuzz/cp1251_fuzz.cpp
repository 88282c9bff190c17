// Code page 1251 conversion over arbitrary bytes, read both ways: whatever is
// accepted converts back to the very same bytes, and FitsCp1251 agrees with
// the conversion it predicts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/cp1251.h"
#include "platform/exceptions.h"

namespace {

void CheckCp1251Input(std::string_view bytes) {
  std::string utf8;
  try {
    utf8 = platform::Cp1251ToUtf8(bytes);
  } catch (const EConvertError&) {
    if (bytes.find('\x98') == std::string_view::npos) std::abort();
    return;
  }
  if (platform::Utf8ToCp1251(utf8) != bytes) std::abort();
}

void CheckUtf8Input(std::string_view bytes) {
  const bool fits = platform::FitsCp1251(bytes);
  std::string cp1251;
  try {
    cp1251 = platform::Utf8ToCp1251(bytes);
  } catch (const EConvertError&) {
    if (fits) std::abort();
    return;
  }
  if (!fits || platform::Cp1251ToUtf8(cp1251) != bytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckCp1251Input(bytes);
  CheckUtf8Input(bytes);
  return 0;
}
