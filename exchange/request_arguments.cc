#include "exchange/request_arguments.h"

ArgumentText TakeArgumentText(TXmlIteratorScan& scan, std::string_view name) {
  const TXmlNode* element = scan.Find(name);
  if (!element) return {{}, "No " + std::string(name)};
  if (HasNoText(*element)) return {{}, "Bad " + std::string(name) + ": Empty"};
  return {*element->CData(), {}};
}

ArgumentText FindArgumentText(const TXmlNode& top, std::string_view name) {
  TXmlIteratorScan scan(top);
  return TakeArgumentText(scan, name);
}
