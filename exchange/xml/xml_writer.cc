// TXmlNode::ToString: the reply byte format. Each node ends its own line with CR LF; an
// element with neither children nor text is written "<name .../>", one with only a text on
// one line with its end tag, one with children as its start tag, its children and its text
// followed by its end tag. No declaration and no indentation are added.

#include <string>
#include <string_view>

#include "exchange/xml/xml_node.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

const char* EntityFor(char c) {
  switch (c) {
    case '"':
      return "&quot;";
    case '&':
      return "&amp;";
    case '\'':
      return "&apos;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return nullptr;
  }
}

// Texts and attribute values end at their first zero byte; names are written unescaped.
// Runs of bytes that need no escape are copied whole.
void AppendEscaped(std::string_view text, std::string& out) {
  text = text.substr(0, text.find('\0'));
  size_t run = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    if (const char* entity = EntityFor(text[at])) {
      out.append(text.substr(run, at - run));
      out += entity;
      run = at + 1;
    }
  }
  out.append(text.substr(run));
}

bool IsEmptyElement(const TXmlNode& node) { return !node.oChild() && !node.cData; }

std::string_view NameOf(const TXmlNode& node) {
  return node.cName ? std::string_view(*node.cName) : std::string_view();
}

std::string_view DataOf(const TXmlNode& node) {
  return node.cData ? std::string_view(*node.cData) : std::string_view();
}

// Everything of a node that comes before its children.
void AppendOpening(const TXmlNode& node, std::string& out) {
  switch (node.nType) {
    case kXmlElement:
      out += '<';
      out += NameOf(node);
      for (const auto& [name, value] : node.aAttributes) {
        out += ' ';
        out += name;
        out += "=\"";
        AppendEscaped(value, out);
        out += '"';
      }
      if (IsEmptyElement(node)) {
        out += "/>";
        out += kLineEnd;
      } else {
        out += '>';
        if (node.oChild()) out += kLineEnd;
      }
      return;
    case kXmlText:
      AppendEscaped(DataOf(node), out);
      out += kLineEnd;
      return;
    case kXmlComment:
      out += "<!--";
      out += DataOf(node);
      out += "-->";
      out += kLineEnd;
      return;
    case kXmlCData:
      out += "<![CDATA[";
      out += DataOf(node);
      out += "]]>";
      out += kLineEnd;
      return;
    case kXmlProcessingInstruction:
    case kXmlDirective:
      out += node.nType == kXmlDirective ? "<!" : "<?";
      out += NameOf(node);
      if (!DataOf(node).empty()) {
        if (node.cName) out += ' ';
        out += DataOf(node);
      }
      out += node.nType == kXmlDirective ? ">" : "?>";
      out += kLineEnd;
      return;
    default:  // the document: only its children are written
      return;
  }
}

// Everything of a node that comes after its children.
void AppendClosing(const TXmlNode& node, std::string& out) {
  if (node.nType != kXmlElement || IsEmptyElement(node)) return;
  if (node.cData) AppendEscaped(*node.cData, out);
  out += "</";
  out += NameOf(node);
  out += '>';
  out += kLineEnd;
}

}  // namespace

std::string TXmlNode::ToString() const {
  std::string out;
  // Depth-first walk by the links, so any depth is written without recursion.
  const TXmlNode* node = this;
  while (true) {
    AppendOpening(*node, out);
    if (node->oChild()) {
      node = node->oChild();
      continue;
    }
    while (true) {
      AppendClosing(*node, out);
      if (node == this) return out;
      if (node->oNext()) {
        node = node->oNext();
        break;
      }
      node = node->oParent();
    }
  }
}
