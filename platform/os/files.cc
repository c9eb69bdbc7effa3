#include "platform/os/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace os {
namespace {

namespace fs = std::filesystem;

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::optional<std::string> FindFile(const std::string& folder, const std::string& name) {
  std::error_code error;
  fs::path exact = fs::path(folder) / name;
  if (fs::is_regular_file(exact, error)) return exact.string();
  fs::directory_iterator entries(folder, error);
  if (error) return std::nullopt;
  for (const fs::directory_entry& entry : entries) {
    if (SameNameIgnoringCase(entry.path().filename().string(), name) &&
        entry.is_regular_file(error)) {
      return entry.path().string();
    }
  }
  return std::nullopt;
}

std::optional<std::string> ReadPrefix(const std::string& path, size_t count) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

bool ReadInPieces(const std::string& path, size_t piece_size,
                  const std::function<void(std::string_view)>& piece) {
  std::ifstream in(path, std::ios::binary);
  if (!in || piece_size == 0) return false;
  std::string buffer(piece_size, '\0');
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(piece_size));
    if (in.bad()) return false;
    if (in.gcount() > 0) piece(std::string_view(buffer.data(), static_cast<size_t>(in.gcount())));
  }
  return true;
}

bool CreateEmptyFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out);
}

bool MakeDirectory(const std::string& path) {
  std::error_code error;
  return fs::create_directory(path, error) && !error;
}

bool IsReadableDirectory(const std::string& path) {
  std::error_code error;
  if (!fs::is_directory(path, error)) return false;
  fs::directory_iterator probe(path, error);
  return !error;
}

std::vector<std::string> ListFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return names;
  for (const fs::directory_entry& entry : entries) {
    if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool RemoveFile(const std::string& path) {
  std::error_code error;
  return fs::remove(path, error) && !error;
}

}  // namespace os
