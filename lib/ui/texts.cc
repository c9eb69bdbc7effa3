#include "lib/ui/texts.h"

#include <map>

#include "platform/win/text_codec.h"
#include "resources/resources.h"

namespace ui {
namespace {

// Lines: KEY "text"; # comments. Malformed lines are skipped (the table is ours).
std::map<std::string, std::string, std::less<>> LoadTexts() {
  std::map<std::string, std::string, std::less<>> texts;
  std::string_view all = res::UiTextsText();
  while (!all.empty()) {
    size_t end = all.find('\n');
    std::string_view line = all.substr(0, end);
    all = end == std::string_view::npos ? std::string_view() : all.substr(end + 1);
    size_t space = line.find(' ');
    size_t open = line.find('"');
    size_t close = line.rfind('"');
    if (line.starts_with("#") || space == std::string_view::npos || open == close) continue;
    texts[std::string(line.substr(0, space))] =
        win::Utf8ToAnsi(line.substr(open + 1, close - open - 1));
  }
  return texts;
}

}  // namespace

std::string LibraryText(std::string_view key) {
  static const auto texts = LoadTexts();
  auto it = texts.find(key);
  return it == texts.end() ? std::string() : it->second;
}

}  // namespace ui
