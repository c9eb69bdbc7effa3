#pragma once
// Reading a whole file for the window library (bitmaps).

#include <optional>
#include <string>

namespace win {

// nullopt when the file cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace win
