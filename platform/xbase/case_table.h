#pragma once
// The suite's case table (UPPER() and LOWER() of key expressions): ASCII letters and, for the
// German code page (437/850), ä/Ä (0x84/0x8E), ö/Ö (0x94/0x99) and ü/Ü (0x81/0x9A). Every
// other byte is left as it is.

#include <string>
#include <string_view>

namespace xbase {

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// The same mapping for one byte, and in place.
unsigned char UpperByte(unsigned char c);
unsigned char LowerByte(unsigned char c);
void UpperCaseInPlace(std::string& text);
void LowerCaseInPlace(std::string& text);

}  // namespace xbase
