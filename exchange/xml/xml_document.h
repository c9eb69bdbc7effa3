#pragma once
// TXmlDocument: the tree read from one request text. Reading never fails: a malformed text
// yields a tree with fewer nodes. The rules, in short:
// - bytes are kept as they are (no transcoding; an XML declaration has no effect);
// - white space between nodes is skipped; any other text runs to the next "<", loses its
//   trailing white space and has the five predefined entities decoded (other "&name;" stay as
//   written, an "&" without ";" before the next "<" is an error); so an HTTP-style header
//   before the envelope becomes one nameless text node;
// - an element whose end tag was read and which has exactly one text child takes that text as
//   its own and loses the text child;
// - any number of top-level nodes may follow one another;
// - on an error reading stops and the top-level node being read is dropped with all of its
//   content; the end of the text inside open elements keeps them as they are, unfolded.

#include <memory>
#include <string_view>

#include "exchange/xml/xml_node.h"

class TXmlDocument {
 public:
  // Reads `text` into a new document.
  static TXmlDocument New(std::string_view text);

  // The first element in the whole document, in document order, whose name `name` begins
  // with (see TXmlNode::MatchesName); null when there is none.
  const TXmlNode* FindFirst(std::string_view name) const;

  // The node of kind document whose children are the top-level nodes, in text order.
  const TXmlNode& Root() const { return *root_; }

 private:
  TXmlDocument();

  std::unique_ptr<TXmlNode> root_;
};
