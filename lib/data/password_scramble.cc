#include "lib/data/password_scramble.h"

namespace data {
namespace {

std::string Scramble(const std::string& text) {
  size_t length = text.find_last_not_of(' ') + 1;  // npos + 1 == 0 for an all-blank text
  std::string result(text.size(), ' ');
  for (size_t i = 0; i < length; ++i) {
    result[i] =
        static_cast<char>(C4W_XOR(static_cast<unsigned char>(text[i]), static_cast<int>(i + 1)));
  }
  return result;
}

}  // namespace

std::string ENCRYPT_STRING(const std::string& text, int flag) {
  return flag == 0 ? text : Scramble(text);
}

std::string DECRYPT_STRING(const std::string& text, int flag) {
  return flag == 0 ? text : Scramble(text);
}

int C4W_XOR(int a, int b) { return a ^ b; }

int C4W_XOR(const std::string& a, const std::string& b) {
  auto code = [](const std::string& s) { return s.empty() ? 0 : static_cast<unsigned char>(s[0]); };
  return code(a) ^ code(b);
}

bool SurvivesScrambling(const std::string& plain) {
  return DECRYPT_STRING(ENCRYPT_STRING(plain, 1), 1) == plain;
}

}  // namespace data
