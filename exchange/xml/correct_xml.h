#pragma once
// CORRECT_XML: turns a reply text into plain printable ASCII of the same length for peers
// that cannot take accented letters or entities: accented vowels and ñ lose their accent,
// "&", "`" and "Ý" become blanks, the acute accent an apostrophe, and every other byte below
// 32 or above 126, except CR and LF, a blank.

#include <string>

// Filters in place: hand over the text (std::move) to spare a copy of a large reply.
std::string CORRECT_XML(std::string text);
