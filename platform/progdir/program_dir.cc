#include "platform/progdir/program_dir.h"

#include <pwd.h>
#include <unistd.h>

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

std::string UserName() {
  if (const struct passwd* entry = ::getpwuid(::geteuid())) return entry->pw_name;
  return "";
}

std::string ComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

}  // namespace progdir
