#include "exchange/xml/xml_node.h"

#include <new>
#include <utility>
#include <vector>

namespace {

// Freed nodes of this thread, ready for reuse, linked through their own storage. The list is
// plain data, so it stays usable however late in the thread's life a node is freed; once the
// thread has begun to end, freed nodes go back to the heap.
struct FreeNode {
  FreeNode* next;
};
constexpr size_t kMaxKeptNodes = 4096;
thread_local FreeNode* free_nodes = nullptr;
thread_local size_t kept_nodes = 0;
thread_local bool thread_ending = false;

struct ReturnKeptNodes {
  ~ReturnKeptNodes() {
    thread_ending = true;
    while (free_nodes) ::operator delete(std::exchange(free_nodes, free_nodes->next));
    kept_nodes = 0;
  }
};
thread_local ReturnKeptNodes return_kept_nodes;

}  // namespace

void* TXmlNode::operator new(size_t size) {
  if (size != sizeof(TXmlNode) || !free_nodes) return ::operator new(size);
  --kept_nodes;
  return std::exchange(free_nodes, free_nodes->next);
}

void TXmlNode::operator delete(void* node, size_t size) {
  static_cast<void>(&return_kept_nodes);  // named, so that it runs when the thread ends
  if (size != sizeof(TXmlNode) || thread_ending || kept_nodes == kMaxKeptNodes) {
    ::operator delete(node);
    return;
  }
  free_nodes = new (node) FreeNode{free_nodes};
  ++kept_nodes;
}

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
  return InsertBelow(std::move(child), last_child_);
}

TXmlNode* TXmlNode::InsertBelow(std::unique_ptr<TXmlNode> child, TXmlNode* after) {
  TXmlNode* added = child.get();
  std::unique_ptr<TXmlNode>& owner = after ? after->next_ : first_child_;
  added->parent_ = this;
  added->prev_ = after;
  added->next_ = std::move(owner);
  if (added->next_) {
    added->next_->prev_ = added;
  } else {
    last_child_ = added;
  }
  owner = std::move(child);
  return added;
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
