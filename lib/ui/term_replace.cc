#include "lib/ui/term_replace.h"

#include <algorithm>

#include "lib/settings/settings.h"

namespace ui {
namespace {

// Upper case in the 8-bit character set: a-z and the accented letters 0xE0..0xFE.
char Upper(char c) {
  auto byte = static_cast<unsigned char>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 32);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 32);
  return c;
}

size_t Find(const std::string& haystack, const std::string& needle) {
  auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                        [](char a, char b) { return Upper(a) == Upper(b); });
  return it == haystack.end() ? std::string::npos : static_cast<size_t>(it - haystack.begin());
}

}  // namespace

std::string ReplaceTerms(const std::string& text, const std::vector<settings::TermPair>& terms) {
  for (const settings::TermPair& term : terms) {
    if (term.word.empty()) continue;
    size_t at = Find(text, term.word);
    if (at == std::string::npos) continue;
    std::string result = text;
    if (term.whole == 1 || text.size() == term.word.size()) {
      return result.replace(at, term.word.size(), term.replacement);
    }
    if (term.whole != 0) continue;
    if (size_t before = Find(text, term.word + " "); before != std::string::npos) {
      return result.replace(before, term.word.size(), term.replacement);
    }
    if (size_t after = Find(text, " " + term.word); after != std::string::npos) {
      return result.replace(after + 1, term.word.size(), term.replacement);
    }
  }
  return text;
}

}  // namespace ui
