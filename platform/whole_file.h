// Whole files in one piece: read at once, or written so that the previous
// file is replaced only by a complete new one. Every file the system saves
// goes through here, so a failed save never leaves a cut file behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/export.h"

namespace platform {

// The whole content of a regular file; EFOpenError with `open_error` when it
// cannot be opened or read.
WB_EXPORT std::string ReadWholeFile(const std::string& path, const std::string& open_error);

// Writes a temporary file in the same folder, flushes it to disk and renames
// it over `path`, keeping the old file's permissions. On any failure the
// temporary file is removed, the previous file stays as it was, and
// EFCreateError with `create_error` is thrown.
WB_EXPORT void WriteWholeFile(const std::string& path, std::string_view bytes,
                              const std::string& create_error);

// The same with the content written by `write` to the temporary file's
// descriptor, for content too large to be built in memory first. `write`
// returns false when it failed; an exception from it goes on to the caller,
// after the temporary file was removed.
WB_EXPORT void WriteWholeFileFrom(const std::string& path, const std::function<bool(int fd)>& write,
                                  const std::string& create_error);

}  // namespace platform
