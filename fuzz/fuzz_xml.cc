// Reads arbitrary bytes as a request text, searches it the way request handling does, writes
// the tree back and reads that again. Nothing may crash, and the tree's links must agree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/xml/correct_xml.h"
#include "exchange/xml/xml_document.h"
#include "exchange/xml/xml_iterator.h"

namespace {

// Every child points back to its parent and its siblings point at each other.
void CheckLinks(const TXmlNode& root) {
  for (const TXmlNode* node = &root; node;) {
    for (const TXmlNode* child = node->oChild(); child; child = child->oNext()) {
      if (child->oParent() != node) std::abort();
      if (child->oNext() && child->oNext()->oPrev() != child) std::abort();
    }
    if (node->oChild()) {
      node = node->oChild();
      continue;
    }
    while (node && node != &root && !node->oNext()) node = node->oParent();
    node = (node && node != &root) ? node->oNext() : nullptr;
  }
}

void Search(const TXmlDocument& document) {
  for (const char* name : {"ZIRUVUZ", "ACTIONS"}) {
    const TXmlNode* found = document.FindFirst(name);
    if (!found) continue;
    TXmlIteratorScan scan(*found);
    for (const TXmlNode* node = scan.Find("login"); node; node = scan.Next()) {
      TXmlIteratorScan inner(*node);
      inner.Find("username");
      inner.Find("password");
    }
  }
  TXmlIteratorScan everything(document.Root());
  for (const TXmlNode* node = everything.Find("a"); node; node = everything.Next()) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TXmlDocument document = TXmlDocument::New(text);
  CheckLinks(document.Root());
  Search(document);
  const std::string written = document.Root().ToString();
  CORRECT_XML(written);
  const TXmlDocument reread = TXmlDocument::New(written);
  CheckLinks(reread.Root());
  return 0;
}
