#include "platform/progdir/program_dir.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace progdir {
namespace {

std::string& DirectoryOverride() {
  static std::string directory;
  return directory;
}

}  // namespace

std::string ProgramDirectory() {
  if (!DirectoryOverride().empty()) return DirectoryOverride();
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : executable.parent_path().string();
}

void SetProgramDirectory(std::string directory) { DirectoryOverride() = std::move(directory); }

}  // namespace progdir
