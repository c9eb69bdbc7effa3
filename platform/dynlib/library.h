#pragma once
// The one door to the system's dynamic loader: loadable components are looked for by bare name
// ("csc32" -> libcsc32.so) in the module directory, which is the executable's own directory
// unless a test points it elsewhere.

#include <string>
#include <string_view>

namespace dynlib {

// The directory of the running executable ("." when it cannot be found).
std::string ExecutableDirectory();

// Sets the directory in which Library::Open looks for modules (process-wide).
void SetModuleDirectory(std::string directory);
// The directory set above, or the executable's directory when none was set.
std::string ModuleDirectory();

class Library {
 public:
  // Loads lib<name>.so from the module directory. Never throws: when loading fails the result
  // is not loaded() and error() tells why.
  static Library Open(std::string_view name);

  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library();  // unloads

  bool loaded() const { return handle_ != nullptr; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

  // The address of the exported symbol `name`, or nullptr when it is missing or nothing is
  // loaded. Looked up afresh on every call.
  void* Symbol(const char* name) const;

 private:
  Library(void* handle, std::string path, std::string error)
      : handle_(handle), path_(std::move(path)), error_(std::move(error)) {}
  void Unload();

  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace dynlib
