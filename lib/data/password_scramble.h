#pragma once
// The scrambling of stored user passwords (USUARIOS.PASSWORD with its ADASIPA flag). The suite's
// other programs read and write the same form, so it must stay exactly this.

#include <string>

namespace data {

// With flag 0 the text unchanged; otherwise byte i (1-based, over the text without its trailing
// blanks) XOR i, filled with blanks to the text's length. Scrambling and unscrambling are the
// same operation.
std::string ENCRYPT_STRING(const std::string& text, int flag);
std::string DECRYPT_STRING(const std::string& text, int flag);

// Bitwise XOR of two character codes.
int C4W_XOR(int a, int b);
int C4W_XOR(const std::string& a, const std::string& b);

// Whether `plain` comes back unchanged from being scrambled and unscrambled: a password whose
// scrambled form ends in a blank loses that byte to the trimming and must stay plain.
bool SurvivesScrambling(const std::string& plain);

}  // namespace data
