// How a message names a file, a field or a value it speaks of: in the
// system's own quotation marks, «so».
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline std::string Quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

}  // namespace platform
