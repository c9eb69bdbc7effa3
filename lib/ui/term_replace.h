#pragma once
// Term replacement of control texts (the frame fills XTRADUCT).

#include <string>
#include <vector>

#include "lib/settings/settings.h"
#include "lib/ui/globals.h"

namespace ui {

// The first entry that applies replaces the first occurrence of its word: anywhere when
// `whole` is 1 or the text is exactly the word; else the word followed by, or preceded by,
// a blank. Matching ignores case.
std::string ReplaceTerms(const std::string& text, const std::vector<settings::TermPair>& terms);

}  // namespace ui
