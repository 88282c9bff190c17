// Method libraries bound at run time: a library named in the method registry
// is loaded from the program folder's Libraries/ and its entries are looked up
// by name.
#pragma once

#include <string>

#include "platform/export.h"

namespace platform {

// The full path of the library of that name: the program folder, "Libraries/"
// and the name.
WB_EXPORT std::string LibraryPath(const std::string& name);

// One loaded library; released when the object goes or on Free.
class WB_EXPORT Library {
 public:
  Library() = default;
  ~Library();
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Loads the library by the program folder rule with every symbol bound at
  // once; the result is not loaded when the file or a library it needs is
  // missing. A name must be a plain file name: one with a folder part would
  // let a calculation file pick any library on the disk, so it never loads.
  static Library Load(const std::string& name);

  bool IsLoaded() const noexcept { return handle_ != nullptr; }

  // The address of the exported entry, or null when the library has none.
  void* Entry(const char* name) const;

  void Free() noexcept;

 private:
  void* handle_ = nullptr;
};

}  // namespace platform
