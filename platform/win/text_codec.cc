#include "platform/win/text_codec.h"

#include <array>

namespace win {
namespace {

// 0x80..0x9F differ from Latin-1; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) {
    char16_t mapped = kHighControls[byte - 0x80];
    return mapped ? mapped : byte;
  }
  return byte;
}

char ToByte(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == unit) return static_cast<char>(0x80 + i);
  }
  if (unit >= 0x80 && unit < 0xA0) return static_cast<char>(unit);
  return '?';
}

}  // namespace

QString FromAnsi(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char byte : bytes) text.append(QChar(ToUnicode(byte)));
  return text;
}

std::string ToAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) bytes.push_back(ToByte(c.unicode()));
  return bytes;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  return ToAnsi(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace win
