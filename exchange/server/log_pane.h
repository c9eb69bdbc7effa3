#pragma once
// The server window's two log panes: the newest entry on top, the oldest text cut off.

#include <cstddef>
#include <string>
#include <string_view>

// A pane never holds more than this many characters.
inline constexpr size_t kPaneLimit = 10000;

// The pane's text after adding `entry` to `previous`: the entry, CR LF, then the previous
// text, cut to its first kPaneLimit characters. NUL bytes show as blanks, since an edit
// control's text would end at the first of them and hide everything older.
std::string PaneWithEntry(std::string_view entry, std::string_view previous);
