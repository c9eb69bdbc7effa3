#pragma once
// Profile strings: named values in sections of the program's settings file, an INI-style
// text beside the executable named "ziruvuz.ini":
//
//   [Fenster]
//   TARVISEN32_X=30
//
// Section and key names match without regard to case. Lines the reader does not understand
// are kept as they are when the file is written again.

#include <string>
#include <string_view>

namespace win {

// The settings file: "ziruvuz.ini" in the program directory.
std::string ProfilePath();

// The value, or `fallback` when the file, the section or the key is missing.
std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback);
// The value as a whole number, or `fallback` when it is missing or not a number.
int GetProfileInt(std::string_view section, std::string_view key, int fallback);
// Sets the value, making the file and the section when needed. False, and the file left as it
// was, when a name or the value cannot be written in the file's form (a line break, a "=" or
// a bracket in a name, an empty name) or when the file cannot be written.
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value);

}  // namespace win
