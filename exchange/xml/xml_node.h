#pragma once
// TXmlNode: one node of an XML tree, as read from a request or built for a reply. A node owns
// the nodes below it; trees are dropped without recursion, so any depth is safe to free.

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Node kinds (`nType`).
inline constexpr int kXmlElement = 0;
inline constexpr int kXmlComment = 1;
inline constexpr int kXmlProcessingInstruction = 2;
inline constexpr int kXmlDirective = 3;
inline constexpr int kXmlText = 4;
inline constexpr int kXmlCData = 5;
inline constexpr int kXmlDocument = 6;

// Attributes by name. std::string compares bytes as unsigned char, so the map keeps names in
// ascending unsigned byte order, case-sensitively; assigning a present name keeps its place.
using XmlAttributes = std::map<std::string, std::string>;

class TXmlNode {
 public:
  explicit TXmlNode(int type, std::optional<std::string> name = std::nullopt,
                    std::optional<std::string> data = std::nullopt);
  ~TXmlNode();
  TXmlNode(const TXmlNode&) = delete;
  TXmlNode& operator=(const TXmlNode&) = delete;

  // Nodes come and go by the hundred with every request: they are kept on a free list of their
  // own instead of going back and forth to the general heap.
  static void* operator new(size_t size);
  static void operator delete(void* node, size_t size);

  // A new unattached element. `label` has no effect: reply code passes a tag of its own there
  // (such as "GETINFO"); the element is written under `name`.
  static std::unique_ptr<TXmlNode> New(std::string_view label, std::string name,
                                       XmlAttributes attributes = {},
                                       std::optional<std::string> text = std::nullopt);

  // Appends `child` as the last child; the node it was given, now owned here.
  TXmlNode* AddBelow(std::unique_ptr<TXmlNode> child);
  // Inserts `child` right after `after` (a child of this node), or first when `after` is null.
  TXmlNode* InsertBelow(std::unique_ptr<TXmlNode> child, TXmlNode* after);

  void SetAttribute(const std::string& name, std::string value);

  // The element's text, or the content of any other kind; none when it has none.
  const std::optional<std::string>& CData() const { return cData; }

  // The node and everything below it as text, in the reply byte format.
  std::string ToString() const;

  // True when the node has a name and `searched` begins with that whole name, byte for byte.
  // So "password" matches an element named "pass" but not one named "passwords".
  bool MatchesName(std::string_view searched) const;

  // The links, for reading; a tree changes only through AddBelow and InsertBelow.
  const TXmlNode* oParent() const { return parent_; }
  const TXmlNode* oChild() const { return first_child_.get(); }
  const TXmlNode* oNext() const { return next_.get(); }
  const TXmlNode* oPrev() const { return prev_; }
  TXmlNode* LastChild() { return last_child_; }

  int nType;
  std::optional<std::string> cName;
  XmlAttributes aAttributes;
  std::optional<std::string> cData;

 private:
  // Siblings own the sibling after them; the last child is kept so appending is O(1).
  TXmlNode* parent_ = nullptr;
  std::unique_ptr<TXmlNode> first_child_;
  std::unique_ptr<TXmlNode> next_;
  TXmlNode* prev_ = nullptr;
  TXmlNode* last_child_ = nullptr;
};
