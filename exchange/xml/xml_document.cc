#include "exchange/xml/xml_document.h"

#include "exchange/xml/xml_iterator.h"
#include "exchange/xml/xml_reader.h"

TXmlDocument::TXmlDocument() : root_(std::make_unique<TXmlNode>(kXmlDocument)) {}

TXmlDocument TXmlDocument::New(std::string_view text) {
  TXmlDocument document;
  ReadXml(text, *document.root_);
  return document;
}

const TXmlNode* TXmlDocument::FindFirst(std::string_view name) const {
  return TXmlIteratorScan(*root_).Find(name);
}
