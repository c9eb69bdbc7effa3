// Structural verification of one tree, read from the file itself rather than the cache.

#include <cstdio>
#include <unordered_set>

#include "platform/xbase/cdx_btree.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

constexpr size_t kMaxProblems = 100;

std::string Describe(std::string_view key, uint32_t recno) {
  std::string out = "\"";
  for (unsigned char c : key) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"/" + std::to_string(recno);
}

std::string PageName(uint32_t offset) { return "page " + std::to_string(offset); }

std::string LinkName(uint32_t link) { return link == kNoPage ? "none" : std::to_string(link); }

class TreeChecker {
 public:
  TreeChecker(CdxPageStore& store, uint32_t root, int key_length, char fill)
      : store_(store), root_(root), key_length_(key_length), fill_(fill) {}

  std::vector<std::string> Run() {
    Visit(root_, 0, nullptr, "the tag header");
    CheckSiblingLinks();
    return std::move(problems_);
  }

 private:
  struct Links {
    uint32_t offset, left, right;
  };

  void Problem(std::string what) {
    if (problems_.size() < kMaxProblems) problems_.push_back(std::move(what));
  }

  void Visit(uint32_t offset, size_t depth, const KeyEntry* parent_entry, const std::string& from) {
    if (depth >= CdxTree::kMaxDepth) {
      Problem("the tree is deeper than " + std::to_string(CdxTree::kMaxDepth) + " levels");
      return;
    }
    if (!seen_.insert(offset).second) {
      Problem(PageName(offset) + " is linked more than once (again from " + from + ")");
      return;
    }
    CdxPage page;
    try {
      store_.CheckPageOffset(offset, from);
      page = store_.ReadUncached(offset, key_length_, fill_);
    } catch (const Error& e) {
      if (e.kind() != ErrorKind::kCorrupt) throw;
      Problem(e.what());
      return;
    }
    if (page.root != (depth == 0)) Problem(PageName(offset) + ": root flag is wrong");
    if (levels_.size() <= depth) levels_.resize(depth + 1);
    levels_[depth].push_back({offset, page.left, page.right});
    if (depth > 0 && page.empty()) Problem(PageName(offset) + " is empty");
    for (size_t i = 1; i < page.size(); ++i) {
      if (CompareEntry(page.key(i - 1), page.recnos[i - 1], page.key(i), page.recnos[i]) >= 0) {
        Problem(PageName(offset) + ": entry " + std::to_string(i) + " " +
                Describe(page.key(i), page.recnos[i]) + " is out of order");
      }
    }
    if (parent_entry != nullptr && !page.empty() && page.entry(page.size() - 1) != *parent_entry) {
      Problem("the parent entry of " + PageName(offset) + " is " +
              Describe(parent_entry->key, parent_entry->recno) + " but its last entry is " +
              Describe(page.key(page.size() - 1), page.recnos.back()));
    }
    if (page.leaf) {
      CheckLeaf(page, depth);
      return;
    }
    for (size_t i = 0; i < page.size(); ++i) {
      const KeyEntry entry = page.entry(i);
      Visit(page.children[i], depth + 1, &entry,
            "entry " + std::to_string(i) + " of " + PageName(offset));
    }
  }

  void CheckLeaf(const CdxPage& page, size_t depth) {
    if (!leaf_depth_) leaf_depth_ = depth;
    if (*leaf_depth_ != depth) Problem(PageName(page.offset) + ": leaves at different depths");
    if (page.stored_free != page.free_by_entries) {
      Problem(PageName(page.offset) + ": free-bytes field is " + std::to_string(page.stored_free) +
              ", the entries leave " + std::to_string(page.free_by_entries));
    }
    const LeafLayout& l = page.stored_layout;
    const auto mask_of = [](unsigned bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; };
    if (l.recno_mask != mask_of(l.recno_bits) || l.dup_mask != mask_of(l.dup_bits) ||
        l.trail_mask != mask_of(l.trail_bits)) {
      Problem(PageName(page.offset) + ": masks disagree with the bit widths");
    }
    if (page.empty()) return;
    if (last_leaf_entry_ && CompareEntry(last_leaf_entry_->key, last_leaf_entry_->recno,
                                         page.key(0), page.recnos[0]) >= 0) {
      Problem(PageName(page.offset) + " starts at or before the end of the leaf before it");
    }
    last_leaf_entry_ = page.entry(page.size() - 1);
  }

  // Each level, left to right, must be a chain of sibling links with open ends.
  void CheckSiblingLinks() {
    for (const std::vector<Links>& level : levels_) {
      for (size_t i = 0; i < level.size(); ++i) {
        const uint32_t want_left = i == 0 ? kNoPage : level[i - 1].offset;
        const uint32_t want_right = i + 1 == level.size() ? kNoPage : level[i + 1].offset;
        if (level[i].left != want_left || level[i].right != want_right) {
          Problem(PageName(level[i].offset) + ": sibling links are " + LinkName(level[i].left) +
                  "/" + LinkName(level[i].right) + ", expected " + LinkName(want_left) + "/" +
                  LinkName(want_right));
        }
      }
    }
  }

  CdxPageStore& store_;
  uint32_t root_;
  int key_length_;
  char fill_;
  std::vector<std::string> problems_;
  std::vector<std::vector<Links>> levels_;
  std::unordered_set<uint32_t> seen_;
  std::optional<size_t> leaf_depth_;
  std::optional<KeyEntry> last_leaf_entry_;
};

}  // namespace

std::vector<std::string> CdxTree::Check() {
  return TreeChecker(store_, root_, key_length_, fill_).Run();
}

}  // namespace xbase
