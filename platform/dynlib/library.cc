#include "platform/dynlib/library.h"

#include <dlfcn.h>

#include <filesystem>
#include <utility>

#include "platform/progdir/program_dir.h"

namespace dynlib {
namespace {

std::string& DirectoryOverride() {
  static std::string directory;
  return directory;
}

}  // namespace

void SetModuleDirectory(std::string directory) { DirectoryOverride() = std::move(directory); }

std::string ModuleDirectory() {
  const std::string& directory = DirectoryOverride();
  return directory.empty() ? progdir::ProgramDirectory() : directory;
}

Library Library::Open(std::string_view name) {
  std::string path =
      (std::filesystem::path(ModuleDirectory()) / ("lib" + std::string(name) + ".so")).string();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const char* error = handle ? nullptr : ::dlerror();
  return Library(handle, std::move(path), error ? error : "");
}

Library::Library(Library&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

Library::~Library() { Unload(); }

void Library::Unload() {
  if (handle_) ::dlclose(std::exchange(handle_, nullptr));
}

void* Library::Symbol(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

}  // namespace dynlib
