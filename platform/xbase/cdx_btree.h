#pragma once
// One B-tree of a compound index (a tag, or the tag directory) over the pages of the store.
// Leaves hold the entries in ascending order and are chained through sibling links; every
// interior entry carries the greatest entry (key and record number) of its child. Maintenance
// changes pages in the store only: the caller commits or abandons.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xbase/cdx_page.h"
#include "platform/xbase/cdx_store.h"

namespace xbase {

class CdxTree {
 public:
  // Deeper trees are taken for damage (a cycle of child links).
  static constexpr int kMaxDepth = 64;

  CdxTree(CdxPageStore& store, uint32_t root, int key_length, char fill)
      : store_(store), root_(root), key_length_(key_length), fill_(fill) {}

  std::optional<KeyEntry> First();
  std::optional<KeyEntry> Last();
  // First entry >= (key, recno), or > when `after`; key has the tree's key length.
  std::optional<KeyEntry> Seek(std::string_view key, uint32_t recno, bool after);
  std::optional<KeyEntry> Prev(const KeyEntry& from);
  // The entries after `from` in ascending order, along the leaves, while their keys begin with
  // `prefix`, at most `max`. Stops early rather than return an entry out of order (a damaged
  // tree), so a caller that goes on from the last one returned always makes progress.
  std::vector<KeyEntry> RunAfter(const KeyEntry& from, std::string_view prefix, size_t max);
  void ForEach(const std::function<void(const KeyEntry&)>& fn);

  void Insert(const KeyEntry& e);  // an entry already present is left alone
  bool Remove(const KeyEntry& e);
  // Replaces the whole tree (the root keeps its offset) by `sorted` packed densely.
  void Build(const std::vector<KeyEntry>& sorted);

  std::vector<std::string> Check();

 private:
  struct Position {
    CdxPage* leaf;
    size_t index;
  };
  struct Step {
    CdxPage* page;
    size_t index;  // child taken (interior) or entry position (leaf)
  };

  CdxPage& Page(uint32_t offset) { return store_.Fetch(offset, key_length_, fill_); }
  [[noreturn]] void Corrupt(const std::string& what) const;
  void CheckDepth(size_t depth) const;
  static std::optional<KeyEntry> EntryAt(const std::optional<Position>& pos);

  std::optional<Position> Locate(std::string_view key, uint32_t recno, bool after);
  std::optional<Position> Edge(bool last);
  std::optional<Position> Neighbour(const CdxPage& leaf, bool rightwards);
  std::optional<Position> StepBack(const Position& pos);

  std::vector<Step> DescendForUpdate(std::string_view key, uint32_t recno);
  static constexpr size_t kNothingInserted = SIZE_MAX;
  void Repair(std::vector<Step>& path, size_t inserted_at);
  CdxPage& SplitOff(CdxPage& page, bool dense_left);
  void SplitRoot(CdxPage& root, bool dense_left);
  void Unlink(const CdxPage& page);
  std::vector<uint32_t> CollectNonRootPages();

  CdxPageStore& store_;
  uint32_t root_;
  int key_length_;
  char fill_;
};

}  // namespace xbase
