#include "platform/win/profile.h"

#include <strings.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/progdir/program_dir.h"
#include "platform/win/file.h"

namespace win {
namespace {

constexpr char kProfileName[] = "ziruvuz.ini";

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Nothing when the file exists but cannot be read; no lines when it does not exist.
std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::vector<std::string>();
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return std::nullopt;
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The name inside "[name]", when the line opens a section.
std::optional<std::string_view> SectionOf(std::string_view line) {
  std::string_view text = Trim(line);
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  return Trim(text.substr(1, text.size() - 2));
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view line) {
  if (line.starts_with(';') || line.starts_with('#')) return std::nullopt;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Entry{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

bool IsWritableName(std::string_view name) {
  return !Trim(name).empty() && name.find_first_of("=[]\r\n") == std::string_view::npos;
}

// Writes the lines beside the file first, so a failed write never leaves half a file.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) std::filesystem::remove(temporary, error);
  return !error;
}

}  // namespace

std::string ProfilePath() {
  return (std::filesystem::path(progdir::ProgramDirectory()) / kProfileName).string();
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback) {
  std::optional<std::vector<std::string>> lines = ReadLines(ProfilePath());
  bool inside = false;
  for (const std::string& line : lines ? *lines : std::vector<std::string>()) {
    if (std::optional<std::string_view> name = SectionOf(line)) {
      inside = SameName(*name, section);
    } else if (std::optional<Entry> entry = EntryOf(line); inside && entry) {
      if (SameName(entry->key, key)) return std::string(entry->value);
    }
  }
  return std::string(fallback);
}

int GetProfileInt(std::string_view section, std::string_view key, int fallback) {
  std::string text = GetProfileString(section, key, "");
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return text.empty() || error != std::errc() || end != text.data() + text.size() ? fallback
                                                                                  : value;
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsWritableName(section) || !IsWritableName(key) ||
      value.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  std::string path = ProfilePath();
  std::optional<std::vector<std::string>> read = ReadLines(path);
  if (!read) return false;  // unreadable: never replace what cannot be kept
  std::vector<std::string>& lines = *read;
  std::string entry = std::string(Trim(key)) + "=" + std::string(Trim(value));

  auto section_line = lines.end();
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    std::optional<std::string_view> name = SectionOf(*it);
    if (name && SameName(*name, Trim(section))) {
      section_line = it;
      break;
    }
  }
  if (section_line == lines.end()) {
    lines.push_back("[" + std::string(Trim(section)) + "]");
    lines.push_back(entry);
    return WriteLines(path, lines);
  }
  auto insert_at = section_line + 1;  // after the section's last entry
  for (auto it = section_line + 1; it != lines.end() && !SectionOf(*it); ++it) {
    std::optional<Entry> found = EntryOf(*it);
    if (found && SameName(found->key, Trim(key))) {
      *it = entry;
      return WriteLines(path, lines);
    }
    if (!Trim(*it).empty()) insert_at = it + 1;
  }
  lines.insert(insert_at, entry);
  return WriteLines(path, lines);
}

}  // namespace win
