// Bulk loading of a tree from entries already in order: leaves packed full, bottom-up.

#include <algorithm>
#include <unordered_set>

#include "platform/xbase/cdx_btree.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

// Index of the first entry of each leaf when the leaves are packed as full as they go.
std::vector<size_t> PackLeaves(const std::vector<KeyEntry>& sorted, int key_length, char fill) {
  std::vector<size_t> starts;
  size_t used = 0, count = 0;
  uint32_t max_recno = 0;
  for (size_t i = 0; i < sorted.size(); ++i) {
    const int trail = TrailCount(sorted[i].key, fill);
    size_t stored = static_cast<size_t>(key_length - trail);
    if (count > 0) stored -= static_cast<size_t>(DupCount(sorted[i - 1].key, sorted[i].key, trail));
    uint32_t recno_bound = std::max(max_recno, sorted[i].recno);
    const size_t bpe = ChooseLeafLayout(key_length, recno_bound).bytes_per_entry;
    if (count == 0 || (count + 1) * bpe + used + stored > kLeafSpace) {
      starts.push_back(i);
      used = count = 0;
      stored = static_cast<size_t>(key_length - trail);
      recno_bound = sorted[i].recno;
    }
    used += stored;
    ++count;
    max_recno = recno_bound;
  }
  return starts;
}

// A page of the level being built, by its greatest entry (a view into the sorted input).
struct BuiltPage {
  std::string_view key;
  uint32_t recno;
  uint32_t offset;
};

void LinkSiblings(CdxPage* left, CdxPage& right) {
  if (left == nullptr) return;
  left->right = right.offset;
  right.left = left->offset;
}

}  // namespace

std::vector<uint32_t> CdxTree::CollectNonRootPages() {
  std::vector<uint32_t> found;
  std::unordered_set<uint32_t> seen{root_};
  std::vector<uint32_t> level{root_};
  for (size_t depth = 0; !level.empty(); ++depth) {
    CheckDepth(depth);
    std::vector<uint32_t> below;
    for (uint32_t offset : level) {
      const CdxPage& page = Page(offset);
      if (page.leaf) continue;
      for (uint32_t child : page.children) {
        if (!seen.insert(child).second) {
          Corrupt("page " + std::to_string(child) + " is linked more than once");
        }
        below.push_back(child);
      }
    }
    found.insert(found.end(), below.begin(), below.end());
    level = std::move(below);
  }
  return found;
}

void CdxTree::Build(const std::vector<KeyEntry>& sorted) {
  store_.CheckPageOffset(root_, "the tag's root");
  std::vector<uint32_t> old_pages;
  try {
    old_pages = CollectNonRootPages();
  } catch (const Error& e) {
    // Rebuilding is how a damaged tag is repaired; its pages are left unused rather than
    // freed, as they may belong to other tags.
    if (e.kind() != ErrorKind::kCorrupt) throw;
    old_pages.clear();
  }
  for (uint32_t offset : old_pages) store_.Free(offset);

  const std::vector<size_t> starts = PackLeaves(sorted, key_length_, fill_);
  CdxPage& root = store_.Reset(root_, key_length_, fill_, true);
  root.root = true;
  if (starts.size() <= 1) {
    for (const KeyEntry& e : sorted) root.Insert(root.size(), e.key, e.recno);
    return;
  }
  std::vector<BuiltPage> level;
  CdxPage* previous = nullptr;
  for (size_t p = 0; p < starts.size(); ++p) {
    const size_t end = p + 1 < starts.size() ? starts[p + 1] : sorted.size();
    CdxPage& page = store_.Allocate(key_length_, fill_, true);
    page.keys.reserve((end - starts[p]) * key_length_);
    for (size_t i = starts[p]; i < end; ++i)
      page.Insert(page.size(), sorted[i].key, sorted[i].recno);
    LinkSiblings(previous, page);
    previous = &page;
    level.push_back({sorted[end - 1].key, sorted[end - 1].recno, page.offset});
  }
  const size_t capacity = (kCdxPageSize - 12) / (static_cast<size_t>(key_length_) + 8);
  while (level.size() > capacity) {
    std::vector<BuiltPage> upper;
    previous = nullptr;
    for (size_t first = 0; first < level.size(); first += capacity) {
      const size_t end = std::min(first + capacity, level.size());
      CdxPage& page = store_.Allocate(key_length_, fill_, false);
      for (size_t i = first; i < end; ++i) {
        page.Insert(page.size(), level[i].key, level[i].recno, level[i].offset);
      }
      LinkSiblings(previous, page);
      previous = &page;
      upper.push_back({level[end - 1].key, level[end - 1].recno, page.offset});
    }
    level = std::move(upper);
  }
  root.leaf = false;
  for (const BuiltPage& child : level)
    root.Insert(root.size(), child.key, child.recno, child.offset);
}

}  // namespace xbase
