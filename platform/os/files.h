#pragma once
// The frame's few needs of the file system: finding a file beside the program whatever the case
// of its name, reading a file's first bytes or reading it in pieces, and making, listing and
// removing the files of the local temporary folder. Paths use the platform's separator.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// `folder`/`name` when it exists as a regular file, else the first entry of `folder` whose
// name matches without regard to case; nullopt when there is none.
std::optional<std::string> FindFile(const std::string& folder, const std::string& name);

// Up to `count` bytes from the start of the file; nullopt when it cannot be opened.
std::optional<std::string> ReadPrefix(const std::string& path, size_t count);

// Hands the file to `piece` in pieces of `piece_size` bytes, in order. False when the file cannot
// be opened or read.
bool ReadInPieces(const std::string& path, size_t piece_size,
                  const std::function<void(std::string_view)>& piece);

// Creates (or truncates) an empty file and closes it; false when that fails.
bool CreateEmptyFile(const std::string& path);
// Creates one directory (its parent must exist); false when it cannot be made or already exists.
bool MakeDirectory(const std::string& path);
// True for an existing directory whose entries can be listed.
bool IsReadableDirectory(const std::string& path);
// Names of the regular files in `folder` (not of subfolders); empty when it cannot be read.
std::vector<std::string> ListFiles(const std::string& folder);
// Removes a file; false when it was not there or could not be removed.
bool RemoveFile(const std::string& path);

}  // namespace os
