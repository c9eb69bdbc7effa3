#include "exchange/request_arguments.h"

#include "exchange/xml/xml_iterator.h"

ArgumentText FindArgumentText(const TXmlNode& top, std::string_view name) {
  TXmlIteratorScan scan(top);
  const TXmlNode* element = scan.Find(name);
  if (!element) return {{}, "No " + std::string(name)};
  if (HasNoText(*element)) return {{}, "Bad " + std::string(name) + ": Empty"};
  return {*element->CData(), {}};
}
