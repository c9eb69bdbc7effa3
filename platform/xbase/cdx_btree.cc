#include "platform/xbase/cdx_btree.h"

#include <algorithm>

#include "platform/xbase/error.h"

namespace xbase {

void CdxTree::Corrupt(const std::string& what) const {
  throw Error(ErrorKind::kCorrupt, store_.path(),
              "index tree at page " + std::to_string(root_) + ": " + what);
}

void CdxTree::CheckDepth(size_t depth) const {
  if (depth >= kMaxDepth) Corrupt("deeper than " + std::to_string(kMaxDepth) + " levels");
}

std::optional<KeyEntry> CdxTree::EntryAt(const std::optional<Position>& pos) {
  if (!pos) return std::nullopt;
  return pos->leaf->entry(pos->index);
}

std::optional<CdxTree::Position> CdxTree::Neighbour(const CdxPage& leaf, bool rightwards) {
  uint32_t next = rightwards ? leaf.right : leaf.left;
  for (size_t hops = 0; next != kNoPage; ++hops) {
    if (hops > store_.PageLimit()) Corrupt("sibling links form a cycle");
    CdxPage& page = Page(next);
    // Only damaged trees have empty pages besides the root; pass over them.
    if (!page.empty()) return Position{&page, rightwards ? 0 : page.size() - 1};
    next = rightwards ? page.right : page.left;
  }
  return std::nullopt;
}

std::optional<CdxTree::Position> CdxTree::Locate(std::string_view key, uint32_t recno, bool after) {
  CdxPage* page = &Page(root_);
  for (size_t depth = 0; !page->leaf; ++depth) {
    CheckDepth(depth);
    const size_t i = page->Bound(key, recno, after);
    if (i == page->size()) return std::nullopt;
    page = &Page(page->children[i]);
  }
  // A sound tree has the entry in this leaf or at the start of the next one; in a damaged one,
  // walking on still returns only an entry that satisfies the bound, so scans make progress.
  for (size_t hops = 0;; ++hops) {
    const size_t i = page->Bound(key, recno, after);
    if (i < page->size()) return Position{page, i};
    if (page->right == kNoPage) return std::nullopt;
    if (hops > store_.PageLimit()) Corrupt("sibling links form a cycle");
    page = &Page(page->right);
  }
}

std::optional<CdxTree::Position> CdxTree::Edge(bool last) {
  CdxPage* page = &Page(root_);
  for (size_t depth = 0; !page->leaf; ++depth) {
    CheckDepth(depth);
    if (page->empty()) return std::nullopt;
    page = &Page(last ? page->children.back() : page->children.front());
  }
  if (!page->empty()) return Position{page, last ? page->size() - 1 : 0};
  return Neighbour(*page, !last);
}

std::optional<KeyEntry> CdxTree::First() { return EntryAt(Edge(false)); }
std::optional<KeyEntry> CdxTree::Last() { return EntryAt(Edge(true)); }

std::optional<KeyEntry> CdxTree::Seek(std::string_view key, uint32_t recno, bool after) {
  return EntryAt(Locate(key, recno, after));
}

std::optional<KeyEntry> CdxTree::Prev(const KeyEntry& from) {
  const std::optional<Position> at = Locate(from.key, from.recno, false);
  std::optional<Position> pos = at ? StepBack(*at) : Edge(true);
  // In a damaged tree the entries before may not be smaller: pass over them, so that backward
  // scans make progress too.
  size_t hops = 0;
  while (pos && CompareEntry(pos->leaf->key(pos->index), pos->leaf->recnos[pos->index], from.key,
                             from.recno) >= 0) {
    const CdxPage* leaf = pos->leaf;
    pos = StepBack(*pos);
    if (pos && pos->leaf != leaf && ++hops > store_.PageLimit()) {
      Corrupt("sibling links form a cycle");
    }
  }
  return EntryAt(pos);
}

std::vector<KeyEntry> CdxTree::RunAfter(const KeyEntry& from, std::string_view prefix, size_t max) {
  std::vector<KeyEntry> run;
  std::optional<Position> pos = Locate(from.key, from.recno, true);
  while (pos && run.size() < max) {
    const std::string_view key = pos->leaf->key(pos->index);
    const uint32_t recno = pos->leaf->recnos[pos->index];
    if (!key.starts_with(prefix)) break;
    if (!run.empty() && CompareEntry(run.back().key, run.back().recno, key, recno) >= 0) break;
    run.push_back({std::string(key), recno});
    if (pos->index + 1 < pos->leaf->size()) {
      ++pos->index;
    } else {
      pos = Neighbour(*pos->leaf, true);
    }
  }
  return run;
}

std::optional<CdxTree::Position> CdxTree::StepBack(const Position& pos) {
  if (pos.index > 0) return Position{pos.leaf, pos.index - 1};
  return Neighbour(*pos.leaf, false);
}

void CdxTree::ForEach(const std::function<void(const KeyEntry&)>& fn) {
  const std::optional<Position> start = Edge(false);
  if (!start) return;
  const CdxPage* leaf = start->leaf;
  for (size_t hops = 0;; ++hops) {
    // Copied first: `fn` may use the index and so replace cached pages.
    std::vector<KeyEntry> entries;
    entries.reserve(leaf->size());
    for (size_t i = 0; i < leaf->size(); ++i) entries.push_back(leaf->entry(i));
    const uint32_t next = leaf->right;
    for (const KeyEntry& e : entries) fn(e);
    if (next == kNoPage) return;
    if (hops > store_.PageLimit()) Corrupt("sibling links form a cycle");
    leaf = &Page(next);
  }
}

std::vector<CdxTree::Step> CdxTree::DescendForUpdate(std::string_view key, uint32_t recno) {
  std::vector<Step> path;
  CdxPage* page = &Page(root_);
  while (true) {
    for (const Step& s : path) {
      if (s.page == page) Corrupt("page " + std::to_string(page->offset) + " is its own ancestor");
    }
    const size_t i = page->Bound(key, recno, false);
    if (page->leaf) {
      path.push_back({page, i});
      return path;
    }
    CheckDepth(path.size());
    if (page->empty()) Corrupt("interior page " + std::to_string(page->offset) + " is empty");
    // Past the greatest entry: the key goes to the last child, whose parent entries then grow.
    path.push_back({page, std::min(i, page->size() - 1)});
    page = &Page(page->children[path.back().index]);
  }
}

void CdxTree::Insert(const KeyEntry& e) {
  std::vector<Step> path = DescendForUpdate(e.key, e.recno);
  CdxPage& leaf = *path.back().page;
  const size_t at = path.back().index;
  if (at < leaf.size() && CompareEntry(leaf.key(at), leaf.recnos[at], e.key, e.recno) == 0) return;
  leaf.Insert(at, e.key, e.recno);
  Repair(path, at);
}

bool CdxTree::Remove(const KeyEntry& e) {
  std::vector<Step> path = DescendForUpdate(e.key, e.recno);
  CdxPage& leaf = *path.back().page;
  const size_t at = path.back().index;
  if (at >= leaf.size() || CompareEntry(leaf.key(at), leaf.recnos[at], e.key, e.recno) != 0) {
    return false;
  }
  leaf.Erase(at);
  Repair(path, kNothingInserted);
  return true;
}

// Walks up from the changed leaf: splits pages that no longer fit, unlinks and frees pages
// left empty, and brings parent entries in line with their children's greatest entries.
void CdxTree::Repair(std::vector<Step>& path, size_t inserted_at) {
  for (size_t level = path.size(); level-- > 0;) {
    CdxPage& page = *path[level].page;
    store_.MarkDirty(page);
    // Appending at the end of the tree: keep full pages full.
    const bool dense =
        inserted_at != kNothingInserted && inserted_at + 1 == page.size() && page.right == kNoPage;
    if (level == 0) {
      if (page.empty()) page.leaf = true;
      if (!PageFits(page)) SplitRoot(page, dense);
      return;
    }
    const Step& up = path[level - 1];
    CdxPage& parent = *up.page;
    inserted_at = kNothingInserted;
    if (page.empty()) {
      Unlink(page);
      const uint32_t emptied = page.offset;
      parent.Erase(up.index);
      store_.Free(emptied);
      continue;
    }
    CdxPage* split = PageFits(page) ? nullptr : &SplitOff(page, dense);
    const size_t last = page.size() - 1;
    bool parent_changed = false;
    if (CompareEntry(parent.key(up.index), parent.recnos[up.index], page.key(last),
                     page.recnos[last]) != 0) {
      parent.Set(up.index, page.key(last), page.recnos[last]);
      parent_changed = true;
    }
    if (split != nullptr) {
      const size_t split_last = split->size() - 1;
      parent.Insert(up.index + 1, split->key(split_last), split->recnos[split_last], split->offset);
      inserted_at = up.index + 1;
      parent_changed = true;
    }
    if (!parent_changed) return;
  }
}

CdxPage& CdxTree::SplitOff(CdxPage& page, bool dense_left) {
  const size_t at = ChooseSplit(page, dense_left);
  if (at == 0) throw Error(ErrorKind::kUnsupported, store_.path(), "index keys too long to split");
  CdxPage& right = store_.Allocate(key_length_, fill_, page.leaf);
  page.MoveTail(at, right);
  right.left = page.offset;
  right.right = page.right;
  if (page.right != kNoPage) {
    CdxPage& next = Page(page.right);
    next.left = right.offset;
    store_.MarkDirty(next);
  }
  page.right = right.offset;
  return right;
}

// The root keeps its offset (tag headers never change): its entries move to two new pages.
void CdxTree::SplitRoot(CdxPage& root, bool dense_left) {
  const size_t at = ChooseSplit(root, dense_left);
  if (at == 0) throw Error(ErrorKind::kUnsupported, store_.path(), "index keys too long to split");
  CdxPage& left = store_.Allocate(key_length_, fill_, root.leaf);
  CdxPage& right = store_.Allocate(key_length_, fill_, root.leaf);
  root.MoveTail(at, right);
  root.MoveTail(0, left);
  left.right = right.offset;
  right.left = left.offset;
  root.leaf = false;
  root.left = root.right = kNoPage;
  for (const CdxPage* child : {&left, &right}) {
    const size_t last = child->size() - 1;
    root.Insert(root.size(), child->key(last), child->recnos[last], child->offset);
  }
}

void CdxTree::Unlink(const CdxPage& page) {
  if (page.left != kNoPage) {
    CdxPage& left = Page(page.left);
    left.right = page.right;
    store_.MarkDirty(left);
  }
  if (page.right != kNoPage) {
    CdxPage& right = Page(page.right);
    right.left = page.left;
    store_.MarkDirty(right);
  }
}

}  // namespace xbase
