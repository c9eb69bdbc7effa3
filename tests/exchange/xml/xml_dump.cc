#include "tests/exchange/xml/xml_dump.h"

std::string Dump(const TXmlNode& node) {
  std::string out;
  switch (node.nType) {
    case kXmlComment:
      out += "#comment";
      break;
    case kXmlCData:
      out += "#cdata";
      break;
    case kXmlProcessingInstruction:
      out += "?";
      break;
    case kXmlDirective:
      out += "!";
      break;
    default:
      break;
  }
  if (node.cName) out += *node.cName;
  if (!node.aAttributes.empty()) {
    out += '[';
    for (const auto& [name, value] : node.aAttributes) {
      if (out.back() != '[') out += ' ';
      out += name + "=" + value;
    }
    out += ']';
  }
  if (node.cData) out += (node.nType == kXmlElement ? "=\"" : "\"") + *node.cData + "\"";
  if (node.oChild()) {
    out += '{';
    for (const TXmlNode* child = node.oChild(); child; child = child->oNext()) {
      if (child != node.oChild()) out += ' ';
      out += Dump(*child);
    }
    out += '}';
  }
  return out;
}

std::string Dump(const TXmlDocument& document) {
  std::string out;
  for (const TXmlNode* node = document.Root().oChild(); node; node = node->oNext()) {
    if (!out.empty()) out += " | ";
    out += Dump(*node);
  }
  return out;
}
