#include "platform/dynlib/library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace dynlib {
namespace {

std::string& DirectoryOverride() {
  static std::string directory;
  return directory;
}

}  // namespace

std::string ExecutableDirectory() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : executable.parent_path().string();
}

void SetModuleDirectory(std::string directory) { DirectoryOverride() = std::move(directory); }

std::string ModuleDirectory() {
  const std::string& directory = DirectoryOverride();
  return directory.empty() ? ExecutableDirectory() : directory;
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
