#include "exchange/server/log_pane.h"

#include <algorithm>

std::string PaneWithEntry(std::string_view entry, std::string_view previous) {
  std::string text(entry.substr(0, kPaneLimit));
  text += "\r\n";
  text += previous;
  if (text.size() > kPaneLimit) text.resize(kPaneLimit);
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}
