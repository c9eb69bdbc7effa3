#pragma once
// The UI edge: bytes in the program's 8-bit character set (Windows-1252) to display text and
// back. Characters that the set lacks become '?'.

#include <QString>
#include <string>
#include <string_view>

namespace win {

QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);
// For resource files kept in UTF-8.
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace win
