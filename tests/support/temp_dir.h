#pragma once
// A fresh folder under the system's temporary directory, removed with the object.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace testing_support {

class TempDir {
 public:
  // A name the system makes unique: a folder left behind by a test process that was killed
  // (or ended itself on purpose) can never be handed to a later one.
  TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "zv_XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create " + name);
    path_ = name;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
