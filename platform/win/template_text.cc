#include "platform/win/template_text.h"

#include <QString>
#include <charconv>
#include <optional>
#include <vector>

#include "platform/win/text_codec.h"

namespace win {
namespace {

const std::map<std::string, uint32_t>& StyleNames() {
  static const std::map<std::string, uint32_t> names = {
      {"WS_POPUP", WS_POPUP},
      {"WS_CHILD", WS_CHILD},
      {"WS_VISIBLE", WS_VISIBLE},
      {"WS_DISABLED", WS_DISABLED},
      {"WS_CLIPSIBLINGS", WS_CLIPSIBLINGS},
      {"WS_CLIPCHILDREN", WS_CLIPCHILDREN},
      {"WS_CAPTION", WS_CAPTION},
      {"WS_BORDER", WS_BORDER},
      {"WS_VSCROLL", WS_VSCROLL},
      {"WS_HSCROLL", WS_HSCROLL},
      {"WS_SYSMENU", WS_SYSMENU},
      {"WS_THICKFRAME", WS_THICKFRAME},
      {"WS_MINIMIZEBOX", WS_MINIMIZEBOX},
      {"WS_TABSTOP", WS_TABSTOP},
      {"DS_SETFONT", DS_SETFONT},
      {"DS_MODALFRAME", DS_MODALFRAME},
      {"ES_CENTER", ES_CENTER},
      {"ES_RIGHT", ES_RIGHT},
      {"ES_MULTILINE", ES_MULTILINE},
      {"ES_UPPERCASE", ES_UPPERCASE},
      {"ES_PASSWORD", ES_PASSWORD},
      {"ES_AUTOVSCROLL", ES_AUTOVSCROLL},
      {"ES_AUTOHSCROLL", ES_AUTOHSCROLL},
      {"ES_READONLY", ES_READONLY},
      {"ES_WANTRETURN", ES_WANTRETURN},
      {"BS_PUSHBUTTON", BS_PUSHBUTTON},
      {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
      {"BS_CHECKBOX", BS_CHECKBOX},
      {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
      {"BS_OWNERDRAW", BS_OWNERDRAW},
      {"BS_MULTILINE", BS_MULTILINE},
      {"LBS_NOTIFY", LBS_NOTIFY},
      {"LBS_OWNERDRAWVARIABLE", LBS_OWNERDRAWVARIABLE},
      {"LBS_USETABSTOPS", LBS_USETABSTOPS},
      {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
  };
  return names;
}

// Splits one line into words and quoted texts; nullopt on an unterminated quote.
std::optional<std::vector<std::string>> Tokens(std::string_view line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '"') {
      std::string text = "\"";  // a leading quote marks the token as a text
      for (++i;; ++i) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            text += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        text += line[i];
      }
      tokens.push_back(text);
    } else {
      size_t end = line.find_first_of(" \t\r", i);
      if (end == std::string_view::npos) end = line.size();
      tokens.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return tokens;
}

std::optional<int64_t> Number(const std::string& token) {
  int64_t value = 0;
  std::string_view digits = token;
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.remove_prefix(1);
  int base = 10;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
  }
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

bool IsText(const std::string& token) { return !token.empty() && token[0] == '"'; }
std::string TextOf(const std::string& token) { return Utf8ToAnsi(token.substr(1)); }

class Parser {
 public:
  TemplateSet Run(std::string_view text) {
    size_t start = 0;
    while (start <= text.size() && result_.error.empty()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      ++line_number_;
      Line(text.substr(start, end - start));
      start = end + 1;
    }
    if (result_.error.empty() && current_) Fail("DIALOG " + current_name_ + " lacks END");
    if (!result_.error.empty()) result_.dialogs.clear();
    return std::move(result_);
  }

 private:
  void Fail(const std::string& why) {
    if (result_.error.empty()) result_.error = "line " + std::to_string(line_number_) + ": " + why;
  }

  bool Ints(const std::vector<std::string>& t, size_t from, std::initializer_list<int*> out) {
    if (t.size() < from + out.size()) return false;
    size_t i = from;
    for (int* target : out) {
      auto n = Number(t[i++]);
      if (!n) return false;
      *target = static_cast<int>(*n);
    }
    return true;
  }

  bool Style(const std::vector<std::string>& t, size_t from, uint32_t* style) {
    uint32_t value = 0;
    for (size_t i = from; i < t.size(); ++i) {
      if (auto n = Number(t[i])) {
        value |= static_cast<uint32_t>(*n);
      } else if (auto it = StyleNames().find(t[i]); it != StyleNames().end()) {
        value |= it->second;
      } else {
        Fail("unknown style " + t[i]);
        return false;
      }
    }
    *style = value;
    return true;
  }

  void Line(std::string_view raw) {
    auto tokens = Tokens(raw);
    if (!tokens) return Fail("unterminated text");
    const std::vector<std::string>& t = *tokens;
    if (t.empty() || t[0].starts_with("#")) return;
    const std::string& key = t[0];
    if (key == "DIALOG") {
      if (current_) return Fail("DIALOG inside DIALOG " + current_name_);
      if (t.size() != 2) return Fail("DIALOG needs one name");
      current_name_ = QString::fromStdString(t[1]).toUpper().toStdString();
      current_ = DialogTemplate{};
      return;
    }
    if (!current_) return Fail(key + " outside a DIALOG");
    DialogTemplate& d = *current_;
    if (key == "END") {
      result_.dialogs[current_name_] = std::move(d);
      current_.reset();
    } else if (key == "POSITION") {
      if (!Ints(t, 1, {&d.x, &d.y})) Fail("POSITION needs x y");
    } else if (key == "SIZE") {
      if (!Ints(t, 1, {&d.cx, &d.cy})) Fail("SIZE needs width height");
    } else if (key == "STYLE") {
      Style(t, 1, &d.style);
    } else if (key == "CAPTION") {
      if (t.size() != 2 || !IsText(t[1])) return Fail("CAPTION needs one text");
      d.title = TextOf(t[1]);
    } else if (key == "FONT") {
      if (t.size() != 3 || !Number(t[1]) || !IsText(t[2])) return Fail("FONT needs size \"name\"");
      d.font_size = static_cast<int>(*Number(t[1]));
      d.font_name = TextOf(t[2]);
    } else if (key == "CONTROL") {
      DialogItemTemplate item;
      if (t.size() < 8 || !Number(t[1]) || IsText(t[2]) || !IsText(t[3])) {
        return Fail("CONTROL needs id class \"text\" x y width height [styles]");
      }
      item.id = static_cast<int>(*Number(t[1]));
      item.class_name = t[2];
      item.text = TextOf(t[3]);
      if (!Ints(t, 4, {&item.x, &item.y, &item.cx, &item.cy})) {
        return Fail("CONTROL position and size must be numbers");
      }
      if (Style(t, 8, &item.style)) d.items.push_back(std::move(item));
    } else {
      Fail("unknown keyword " + key);
    }
  }

  TemplateSet result_;
  std::optional<DialogTemplate> current_;
  std::string current_name_;
  int line_number_ = 0;
};

}  // namespace

TemplateSet ParseDialogTemplates(std::string_view utf8_text) { return Parser().Run(utf8_text); }

}  // namespace win
