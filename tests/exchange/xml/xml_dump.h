#pragma once
// A one-line picture of a tree for test expectations:
//   element   name[attr=value ...]="text"{children separated by blanks}
//   text      "text"           comment  #comment"text"    CDATA  #cdata"text"
//   PI        ?name"content"   directive !name"content"
// Top-level nodes of a document are separated by " | ".

#include <string>

#include "exchange/xml/xml_document.h"

std::string Dump(const TXmlNode& node);
std::string Dump(const TXmlDocument& document);
