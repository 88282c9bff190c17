// Conversion between UTF-8 (every text in memory) and code page 1251 (every
// text in the system's files). A character that code page 1251 cannot hold is
// an error, never a silent substitute.
#pragma once

#include <string>
#include <string_view>

#include "platform/export.h"

namespace platform {

// Throws EConvertError for invalid UTF-8 or a character outside code page 1251.
WB_EXPORT std::string Utf8ToCp1251(std::string_view utf8);

// Throws EConvertError for the one byte (0x98) that code page 1251 leaves undefined.
WB_EXPORT std::string Cp1251ToUtf8(std::string_view cp1251);

// True when every character of the UTF-8 text has a code page 1251 byte.
WB_EXPORT bool FitsCp1251(std::string_view utf8) noexcept;

}  // namespace platform
