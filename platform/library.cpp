#include "platform/library.h"

#include <dlfcn.h>

#include <utility>

#include "platform/program_folder.h"

namespace platform {

std::string LibraryPath(const std::string& name) { return ProgramFolder() + "Libraries/" + name; }

Library::~Library() { Free(); }

Library::Library(Library&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Free();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

Library Library::Load(const std::string& name) {
  Library library;
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return library;
  library.handle_ = dlopen(LibraryPath(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  return library;
}

void* Library::Entry(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void Library::Free() noexcept {
  if (handle_) dlclose(std::exchange(handle_, nullptr));
}

}  // namespace platform
