#include "exchange/xml/xml_iterator.h"

namespace {

int DepthOf(const TXmlNode& node) {
  int depth = 0;
  for (const TXmlNode* up = node.oParent(); up; up = up->oParent()) ++depth;
  return depth;
}

}  // namespace

TXmlIteratorScan::TXmlIteratorScan(const TXmlNode& top)
    : top_level_(DepthOf(top)), current_(&top), current_level_(top_level_) {}

const TXmlNode* TXmlIteratorScan::Find(std::string_view name) {
  searched_ = name;
  if (current_->nType == kXmlDocument) {
    if (!current_->oChild()) return nullptr;
    current_ = current_->oChild();
    ++current_level_;
  }
  if (current_->MatchesName(searched_)) return current_;
  return Next();
}

const TXmlNode* TXmlIteratorScan::Next() {
  const TXmlNode* node = current_;
  int level = current_level_;
  while (true) {
    if (node->oChild()) {
      node = node->oChild();
      ++level;
    } else {
      // Climb to the nearest ancestor with a next sibling; stop once the walk would leave the
      // top node's subtree.
      while (!node->oNext()) {
        node = node->oParent();
        --level;
        if (!node || level <= top_level_) return nullptr;
      }
      node = node->oNext();
    }
    if (level <= top_level_) return nullptr;
    if (node->MatchesName(searched_)) {
      current_ = node;
      current_level_ = level;
      return node;
    }
  }
}
