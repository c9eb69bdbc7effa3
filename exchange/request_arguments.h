#pragma once
// Reading the texts a request carries: an element that is missing and one that is present but
// empty are different faults, answered "No <name>" and "Bad <name>: Empty".

#include <string>
#include <string_view>

#include "exchange/xml/xml_iterator.h"
#include "exchange/xml/xml_node.h"

// True when an element was found but carries no text.
inline bool HasNoText(const TXmlNode& element) {
  return !element.CData() || element.CData()->empty();
}

struct ArgumentText {
  std::string text;   // the element's text when it was found with one
  std::string error;  // else the error reply text
  bool ok() const { return error.empty(); }
};

// Searches on `scan`, from where it stands, for the element `name` and takes its text.
ArgumentText TakeArgumentText(TXmlIteratorScan& scan, std::string_view name);

// Searches below `top` from its start for the element `name` and takes its text.
ArgumentText FindArgumentText(const TXmlNode& top, std::string_view name);
