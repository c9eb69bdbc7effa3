#pragma once
// TXmlIteratorScan: searches the subtree of one node in document order (a node, its children
// in order, then its next sibling), resuming where the last search stopped. Names match as in
// TXmlNode::MatchesName. The iterator owns nothing; the tree must outlive it.

#include <string>
#include <string_view>

#include "exchange/xml/xml_node.h"

class TXmlIteratorScan {
 public:
  explicit TXmlIteratorScan(const TXmlNode& top);

  // Records `name` as the searched name and returns the current node when it matches, else
  // Next(). On a document node, the search starts at its first top-level node.
  const TXmlNode* Find(std::string_view name);

  // The next node after the current one, inside the top node's subtree, that matches the
  // searched name; it becomes the current node. Null (current node unchanged) when there is
  // none. The subtree of the current node is searched before its later siblings.
  const TXmlNode* Next();

 private:
  // The walk has left the top node's subtree once it reaches a node no deeper than the top.
  int top_level_;  // the depth of the top node: how many ancestors it has
  const TXmlNode* current_;
  int current_level_;
  std::string searched_;
};
