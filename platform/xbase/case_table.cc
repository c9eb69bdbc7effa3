#include "platform/xbase/case_table.h"

#include <array>

namespace xbase {
namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper;
  std::array<unsigned char, 256> lower;
};

constexpr CaseTables MakeTables() {
  CaseTables t{};
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<unsigned char>(i);
    t.lower[i] = static_cast<unsigned char>(i);
  }
  for (int c = 'a'; c <= 'z'; ++c) {
    t.upper[c] = static_cast<unsigned char>(c - 'a' + 'A');
    t.lower[c - 'a' + 'A'] = static_cast<unsigned char>(c);
  }
  constexpr unsigned char kPairs[][2] = {{0x84, 0x8E}, {0x94, 0x99}, {0x81, 0x9A}};
  for (const auto& pair : kPairs) {
    t.upper[pair[0]] = pair[1];
    t.lower[pair[1]] = pair[0];
  }
  return t;
}

constexpr CaseTables kTables = MakeTables();

}  // namespace

unsigned char UpperByte(unsigned char c) { return kTables.upper[c]; }
unsigned char LowerByte(unsigned char c) { return kTables.lower[c]; }

void UpperCaseInPlace(std::string& text) {
  for (char& c : text) c = static_cast<char>(kTables.upper[static_cast<unsigned char>(c)]);
}

void LowerCaseInPlace(std::string& text) {
  for (char& c : text) c = static_cast<char>(kTables.lower[static_cast<unsigned char>(c)]);
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  UpperCaseInPlace(result);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  LowerCaseInPlace(result);
  return result;
}

}  // namespace xbase
