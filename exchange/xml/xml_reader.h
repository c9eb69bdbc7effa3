#pragma once
// The reader behind TXmlDocument::New (whose header states the rules).

#include <string_view>

#include "exchange/xml/xml_node.h"

// Appends the top-level nodes read from `text` below `root`. Reads without recursion.
void ReadXml(std::string_view text, TXmlNode& root);
