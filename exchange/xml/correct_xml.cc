#include "exchange/xml/correct_xml.h"

#include <array>
#include <utility>

namespace {

// The replacement of every byte, applied in one pass (each byte is replaced at most once, so
// the result is the same as replacing one kind of byte after the other).
constexpr std::array<unsigned char, 256> MakeReplacements() {
  std::array<unsigned char, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    const bool printable = (byte >= 32 && byte <= 126) || byte == '\r' || byte == '\n';
    table[byte] = printable ? static_cast<unsigned char>(byte) : ' ';
  }
  constexpr std::pair<unsigned char, char> kFolded[] = {
      {0x26, ' '}, {0xE1, 'a'},  {0xE9, 'e'}, {0xED, 'i'}, {0xF3, 'o'}, {0xFA, 'u'},
      {0xF1, 'n'}, {0xC1, 'A'},  {0xC9, 'E'}, {0xCD, 'I'}, {0xD3, 'O'}, {0xDA, 'U'},
      {0xD1, 'N'}, {0xB4, '\''}, {0xDD, ' '}, {0x60, ' '},
  };
  for (const auto& [from, to] : kFolded) table[from] = static_cast<unsigned char>(to);
  return table;
}

constexpr std::array<unsigned char, 256> kReplacements = MakeReplacements();

}  // namespace

std::string CORRECT_XML(std::string text) {
  for (char& c : text) c = static_cast<char>(kReplacements[static_cast<unsigned char>(c)]);
  return text;
}
