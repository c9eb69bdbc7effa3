#include "exchange/xml/xml_node.h"

#include <utility>
#include <vector>

TXmlNode::TXmlNode(int type, std::optional<std::string> name, std::optional<std::string> data)
    : nType(type), cName(std::move(name)), cData(std::move(data)) {}

// Every node below is unlinked before it is freed, so no destructor ever frees more than one
// node: the depth of the tree never reaches the call stack.
TXmlNode::~TXmlNode() {
  std::vector<std::unique_ptr<TXmlNode>> pending;
  if (first_child_) pending.push_back(std::move(first_child_));
  if (next_) pending.push_back(std::move(next_));
  while (!pending.empty()) {
    std::unique_ptr<TXmlNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->first_child_) pending.push_back(std::move(node->first_child_));
    if (node->next_) pending.push_back(std::move(node->next_));
  }
}

std::unique_ptr<TXmlNode> TXmlNode::New(std::string_view /*label*/, std::string name,
                                        XmlAttributes attributes, std::optional<std::string> text) {
  auto node = std::make_unique<TXmlNode>(kXmlElement, std::move(name), std::move(text));
  node->aAttributes = std::move(attributes);
  return node;
}

TXmlNode* TXmlNode::AddBelow(std::unique_ptr<TXmlNode> child) {
  TXmlNode* added = child.get();
  added->parent_ = this;
  added->prev_ = last_child_;
  if (last_child_) {
    last_child_->next_ = std::move(child);
  } else {
    first_child_ = std::move(child);
  }
  last_child_ = added;
  return added;
}

std::unique_ptr<TXmlNode> TXmlNode::RemoveBelow(TXmlNode* child) {
  std::unique_ptr<TXmlNode>& owner = child->prev_ ? child->prev_->next_ : first_child_;
  std::unique_ptr<TXmlNode> removed = std::move(owner);
  owner = std::move(removed->next_);
  if (owner) {
    owner->prev_ = removed->prev_;
  } else {
    last_child_ = removed->prev_;
  }
  removed->parent_ = nullptr;
  removed->prev_ = nullptr;
  return removed;
}

void TXmlNode::SetAttribute(const std::string& name, std::string value) {
  aAttributes[name] = std::move(value);
}

bool TXmlNode::MatchesName(std::string_view searched) const {
  if (!cName || nType == kXmlText || nType == kXmlComment || nType == kXmlCData ||
      nType == kXmlDocument) {
    return false;
  }
  return searched.starts_with(*cName);
}
