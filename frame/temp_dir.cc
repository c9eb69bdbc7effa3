#include "frame/temp_dir.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "lib/data/text_fields.h"
#include "platform/os/files.h"
#include "platform/xbase/case_table.h"

namespace frame {
namespace {

constexpr int kProbeAttempts = 10;

bool BeginsWithDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string NativeSeparators(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
  return path;
}

// A file name split at its last dot, both parts upper case; the extension cut to three
// characters as the suite compares them.
struct SplitName {
  std::string base;
  std::string ext;
};

SplitName Split(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {xbase::UpperCase(name), ""};
  return {xbase::UpperCase(name.substr(0, dot)), xbase::UpperCase(name.substr(dot + 1, 3))};
}

class TempFolder {
 public:
  explicit TempFolder(std::string folder) : folder_(std::move(folder)) { Refresh(); }

  void Refresh() {
    by_base_.clear();
    for (const std::string& name : os::ListFiles(folder_))
      by_base_[Split(name).base].push_back(name);
  }

  // Names whose extension is `ext`.
  std::vector<std::string> WithExtension(const std::string& ext) const {
    std::vector<std::string> found;
    for (const auto& [base, names] : by_base_) {
      for (const std::string& name : names) {
        if (Split(name).ext == ext) found.push_back(name);
      }
    }
    return found;
  }

  // Removes the files of `base` whose extension is one of `exts` (all of them when empty).
  void RemoveBase(const std::string& base, const std::set<std::string>& exts = {}) {
    auto it = by_base_.find(base);
    if (it == by_base_.end()) return;
    for (const std::string& name : it->second) {
      if (exts.empty() || exts.count(Split(name).ext)) os::RemoveFile(folder_ + name);
    }
    Refresh();
  }

  // True when every file of `base` is an index or memo file.
  bool OnlyCompanions(const std::string& base) const {
    auto it = by_base_.find(base);
    if (it == by_base_.end()) return false;
    return std::all_of(it->second.begin(), it->second.end(), [](const std::string& name) {
      std::string ext = Split(name).ext;
      return ext == "CDX" || ext == "FPT";
    });
  }

 private:
  std::string folder_;
  std::map<std::string, std::vector<std::string>> by_base_;
};

}  // namespace

ProbeSteps FileSystemProbeSteps() {
  return {[](const std::string& path) {
            return !BeginsWithDriveLetter(path) && os::CreateEmptyFile(NativeSeparators(path));
          },
          [](const std::string& path) {
            return !BeginsWithDriveLetter(path) && os::MakeDirectory(NativeSeparators(path));
          }};
}

char NextDriveLetter(char drive) {
  if (drive >= 'A' && drive <= 'H') return static_cast<char>(drive + 1);
  if (drive == 'I') return 'C';
  return drive;
}

settings::TempPath ProbeTempDirectory(int flag, const std::string& path, const ProbeSteps& steps) {
  std::string candidate = WithoutTrailingSeparator(TrimBlanks(path));
  if (candidate.empty()) return {0, TrimBlanks(path)};
  const bool has_drive = BeginsWithDriveLetter(candidate);
  char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(candidate[0])));
  const char separator = has_drive ? '\\' : '/';
  for (int attempt = 1; attempt <= kProbeAttempts; ++attempt) {
    if (steps.create_empty_file(candidate + separator + "YES")) {
      steps.make_directory(candidate + separator + "TEMP");
      return {flag, candidate};
    }
    if (steps.make_directory(candidate)) {
      steps.make_directory(candidate + separator + "TEMP");
      return {flag, candidate};
    }
    if (has_drive) {
      drive = NextDriveLetter(drive);
      candidate[0] = drive;
    }
  }
  return {0, TrimBlanks(path)};
}

void BORRAR_TEMPS() {
  const settings::Settings& globals = settings::Current();
  if (globals.XTEMPPATH.flag != 1) return;
  std::string folder = NativeSeparators(TrimBlanks(globals.XTEMPPATH.path));
  folder += folder.ends_with('/') ? "TEMP/" : "/TEMP/";
  TempFolder temp(folder);
  const std::string module_ext = xbase::UpperCase(globals.EXT_MODULO).substr(0, 3);
  for (const std::string& name : temp.WithExtension(module_ext)) {
    temp.RemoveBase(Split(name).base, {module_ext, "CDX", "FPT"});
  }
  for (const char* ext : {"CDX", "FPT"}) {
    for (const std::string& name : temp.WithExtension(ext)) {
      if (temp.OnlyCompanions(Split(name).base)) temp.RemoveBase(Split(name).base);
    }
  }
  for (const std::string& name : temp.WithExtension("HOT")) {
    temp.RemoveBase(Split(name).base, {"HOT", "CDX", "FPT"});
  }
}

}  // namespace frame
