#include "exchange/xml/xml_reader.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsNameChar(char c) {
  return IsLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
}

// Skipped between nodes and inside tags.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Removed from the end of a text.
bool IsTrailingSpace(char c) { return IsBlank(c) || c == '\v' || c == '\f'; }

char PredefinedEntity(std::string_view name) {
  if (name == "amp") return '&';
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "quot") return '"';
  if (name == "apos") return '\'';
  return '\0';
}

// Replaces the five predefined entities; any other "&name;" stays as written. An "&" with no
// ";" after it is an error in a text (none), and stays as written in an attribute value.
std::optional<std::string> DecodeEntities(std::string_view raw, bool dangling_is_error) {
  std::string out;
  out.reserve(raw.size());
  size_t at = 0;
  while (true) {
    const size_t amp = raw.find('&', at);
    if (amp == std::string_view::npos) break;
    const size_t semicolon = raw.find(';', amp + 1);
    if (semicolon == std::string_view::npos) {
      if (dangling_is_error) return std::nullopt;
      break;
    }
    out.append(raw.substr(at, amp - at));
    if (const char decoded = PredefinedEntity(raw.substr(amp + 1, semicolon - amp - 1))) {
      out.push_back(decoded);
    } else {
      out.append(raw.substr(amp, semicolon + 1 - amp));
    }
    at = semicolon + 1;
  }
  out.append(raw.substr(at));
  return out;
}

// An element whose end tag has not been read yet. Its first text stays out of the tree until
// it is known whether it folds into the element's own text, which is the usual case: most
// elements hold one text, and none of them then costs a node.
struct OpenElement {
  explicit OpenElement(TXmlNode* open) : element(open) {}

  TXmlNode* element;
  size_t texts = 0;  // text children read so far
  std::string first_text;
  TXmlNode* first_text_after = nullptr;  // the child the first text follows; null: none
};

// Reads nodes one after the other into the document root or the innermost open element. The
// open elements are kept on a stack of their own, so nesting costs no call depth.
class Reader {
 public:
  Reader(std::string_view text, TXmlNode& root) : text_(text), root_(root) {}

  void Run() {
    while (true) {
      SkipBlanks();
      if (pos_ >= text_.size()) break;
      if (!ReadNode()) {
        // The top-level element being read goes with everything inside it.
        top_.reset();
        return;
      }
      if (open_.empty() && top_) root_.AddBelow(std::move(top_));
    }
    // The text ended inside open elements: they stay as read, without folding.
    for (OpenElement& open : open_) {
      if (open.texts == 1) PlaceFirstText(open);
    }
    if (top_) root_.AddBelow(std::move(top_));
  }

 private:
  // Reads the node or end tag at pos_; false on an error.
  bool ReadNode() {
    if (text_[pos_] != '<') return ReadText();
    const std::string_view rest = text_.substr(pos_);
    if (rest.size() < 2) return false;
    if (IsLetter(rest[1])) return ReadElementStart();
    if (rest[1] == '/') return ReadEndTag();
    if (rest[1] == '?') return ReadMarkup("<?", "?>", kXmlProcessingInstruction);
    if (rest.starts_with("<!--")) return ReadMarkup("<!--", "-->", kXmlComment);
    if (rest.starts_with("<![CDATA[")) return ReadMarkup("<![CDATA[", "]]>", kXmlCData);
    if (rest[1] == '!' && rest.size() > 2 && IsLetter(rest[2])) {
      return ReadMarkup("<!", ">", kXmlDirective);
    }
    return false;
  }

  bool ReadText() {
    size_t end = text_.find('<', pos_);
    if (end == std::string_view::npos) end = text_.size();
    size_t kept = end;
    while (kept > pos_ && IsTrailingSpace(text_[kept - 1])) --kept;
    std::optional<std::string> decoded =
        DecodeEntities(text_.substr(pos_, kept - pos_), /*dangling_is_error=*/true);
    if (!decoded) return false;
    pos_ = end;
    if (open_.empty()) {
      root_.AddBelow(TextNode(std::move(*decoded)));
      return true;
    }
    OpenElement& open = open_.back();
    if (++open.texts == 1) {
      open.first_text = std::move(*decoded);
      open.first_text_after = open.element->LastChild();
      return true;
    }
    if (open.texts == 2) PlaceFirstText(open);
    open.element->AddBelow(TextNode(std::move(*decoded)));
    return true;
  }

  bool ReadElementStart() {
    size_t at = pos_ + 1;
    auto element = std::make_unique<TXmlNode>(kXmlElement, std::string(ReadName(at)));
    while (true) {
      at = SkipBlanksFrom(at);
      if (at >= text_.size()) return false;
      if (text_[at] == '>') {
        pos_ = at + 1;
        Open(std::move(element));
        return true;
      }
      if (text_.substr(at).starts_with("/>")) {
        pos_ = at + 2;
        Attach(std::move(element));
        return true;
      }
      if (!IsLetter(text_[at])) return false;
      std::string name(ReadName(at));
      at = SkipBlanksFrom(at);
      if (at >= text_.size() || text_[at] != '=') return false;
      at = SkipBlanksFrom(at + 1);
      if (at >= text_.size() || (text_[at] != '"' && text_[at] != '\'')) return false;
      const size_t close = text_.find(text_[at], at + 1);
      if (close == std::string_view::npos) return false;
      element->aAttributes[std::move(name)] =
          *DecodeEntities(text_.substr(at + 1, close - at - 1), /*dangling_is_error=*/false);
      at = close + 1;
    }
  }

  // "</" must be followed by the innermost open element's name and ">", nothing in between.
  bool ReadEndTag() {
    if (open_.empty()) return false;
    OpenElement& open = open_.back();
    const std::string& name = *open.element->cName;
    const std::string_view after = text_.substr(pos_ + 2);
    if (!after.starts_with(name) || after.size() == name.size() || after[name.size()] != '>') {
      return false;
    }
    pos_ += 2 + name.size() + 1;
    // Exactly one text child becomes the element's own text.
    if (open.texts == 1) open.element->cData = std::move(open.first_text);
    open_.pop_back();
    return true;
  }

  // A processing instruction, comment, CDATA section or directive: everything up to `close`.
  // Processing instructions and directives take a leading name; the rest is their content.
  bool ReadMarkup(std::string_view open, std::string_view close, int type) {
    const size_t start = pos_ + open.size();
    const size_t end = text_.find(close, start);
    if (end == std::string_view::npos) return false;
    std::optional<std::string> name;
    size_t content = start;
    if (type == kXmlProcessingInstruction || type == kXmlDirective) {
      // A processing instruction without a name gets none, so that no search can match it.
      if (content < end && IsLetter(text_[content])) name = std::string(ReadName(content));
      content = SkipBlanksFrom(content);  // stops at `close` at the latest
    }
    Attach(std::make_unique<TXmlNode>(type, std::move(name),
                                      std::string(text_.substr(content, end - content))));
    pos_ = end + close.size();
    return true;
  }

  static std::unique_ptr<TXmlNode> TextNode(std::string text) {
    return std::make_unique<TXmlNode>(kXmlText, std::nullopt, std::move(text));
  }

  // Puts the first text into the tree where it was read.
  static void PlaceFirstText(OpenElement& open) {
    open.element->InsertBelow(TextNode(std::move(open.first_text)), open.first_text_after);
  }

  // The name at `at` (which holds a letter); `at` moves past it.
  std::string_view ReadName(size_t& at) const {
    const size_t start = at;
    while (at < text_.size() && IsNameChar(text_[at])) ++at;
    return text_.substr(start, at - start);
  }

  size_t SkipBlanksFrom(size_t at) const {
    while (at < text_.size() && IsBlank(text_[at])) ++at;
    return at;
  }

  void SkipBlanks() { pos_ = SkipBlanksFrom(pos_); }

  // A complete node goes below the innermost open element, or to the top level.
  void Attach(std::unique_ptr<TXmlNode> node) {
    if (open_.empty()) {
      root_.AddBelow(std::move(node));
    } else {
      open_.back().element->AddBelow(std::move(node));
    }
  }

  // An element whose content follows. An open top-level element joins the document only once
  // it is complete or the text ends, so that an error can still drop it.
  void Open(std::unique_ptr<TXmlNode> element) {
    if (open_.empty()) {
      top_ = std::move(element);
      open_.emplace_back(top_.get());
    } else {
      open_.emplace_back(open_.back().element->AddBelow(std::move(element)));
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  TXmlNode& root_;
  std::unique_ptr<TXmlNode> top_;  // the open top-level element, while one is open
  std::vector<OpenElement> open_;  // outermost first
};

}  // namespace

void ReadXml(std::string_view text, TXmlNode& root) { Reader(text, root).Run(); }
