#pragma once
// A compound index file: the tag directory and every tag's B-tree, read and written in the
// layout the suite's other programs share. Keys are bytes of the tag's key length; evaluating
// expressions and taking locks are the caller's business.
//
// Entries are ordered by unsigned byte comparison of keys, equal keys by ascending record
// number; a descending tag is stored ascending too (the caller walks it backwards).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/xbase/cdx_btree.h"
#include "platform/xbase/cdx_page.h"
#include "platform/xbase/cdx_store.h"
#include "platform/xbase/file.h"

namespace xbase {

struct TagInfo {
  std::string name;  // upper case, as in the directory
  uint32_t header_offset = 0;
  std::string key_expr, for_expr;  // for_expr is "" without a FOR condition
  int key_length = 0;
  bool unique = false, descending = false, has_for = false;
};

class CdxIndex {
 public:
  // Reads the header and the tag directory; `file` must outlive this object. Throws kCorrupt
  // for a damaged header or directory.
  explicit CdxIndex(File& file);
  // Makes `file` a new index without tags.
  static void CreateEmpty(File& file);

  // In creation order (the order of the tag headers in the file).
  const std::vector<TagInfo>& tags() const { return tags_; }
  int FindTag(std::string_view name) const;  // case-insensitive; -1 when absent
  // The byte trailing counts stand for: ' ' (the default) for character keys, '\0' otherwise.
  void SetFillByte(int tag, char fill);

  // Change detection between processes; the caller holds the index lock around both.
  // Refresh drops every cached page and re-reads the directory when another process changed
  // the file since this object last looked, and then returns true.
  bool Refresh();
  // Called by a shared writer before it releases its write lock.
  void MarkChanged();

  // Navigation; positions are entries, which need not exist any more.
  std::optional<KeyEntry> First(int tag);
  std::optional<KeyEntry> Last(int tag);
  // First entry whose key begins with bytes >= prefix (compared over the prefix's length).
  std::optional<KeyEntry> SeekPrefix(int tag, std::string_view prefix);
  std::optional<KeyEntry> Next(int tag, const KeyEntry& from);  // first entry > from
  std::optional<KeyEntry> Prev(int tag, const KeyEntry& from);  // last entry < from
  // Up to `max` entries > from, in order, while their keys begin with `prefix`; may stop early
  // in a damaged tree (see CdxTree::RunAfter).
  std::vector<KeyEntry> RunAfter(int tag, const KeyEntry& from, std::string_view prefix,
                                 size_t max);
  void ForEach(int tag, const std::function<void(const KeyEntry&)>& fn);

  // Maintenance; every call writes its changed pages before returning. An entry already
  // present is not inserted again; Remove returns false when the entry is absent.
  void Insert(int tag, const KeyEntry& e);
  bool Remove(int tag, const KeyEntry& e);
  // Returns the new tag's index in tags(). Throws kArgument for a bad or duplicate name, a key
  // length outside 1..240 or expressions too long for the header.
  int AddTag(const std::string& name, const std::string& key_expr, const std::string& for_expr,
             int key_length, char fill, bool unique, bool descending);
  // Replaces the tag's entries by `sorted_entries` (ascending, no duplicates), packed densely.
  void BuildTag(int tag, const std::vector<KeyEntry>& sorted_entries);

  // Every structural problem of the tag's tree as found in the file; empty when sound.
  std::vector<std::string> CheckStructure(int tag);

 private:
  struct TagTree {
    uint32_t root;
    char fill;
  };

  // The file's first bytes in one read: the header, the tag directory and, in a small file,
  // every tag header lie there.
  static std::string ReadHead(const File& file);
  CdxIndex(File& file, const std::string& head);
  void ReadDirectory(const std::string& head);
  // `n` bytes at `offset`, from `head` when they lie inside it, else from the file (kCorrupt
  // naming `what` when it ends first).
  void ReadAt(const std::string& head, uint64_t offset, void* out, size_t n,
              std::string_view what) const;
  const TagInfo& Tag(int tag) const;
  CdxTree Tree(int tag);
  CdxTree Directory() { return CdxTree(store_, directory_root_, directory_key_length_, ' '); }
  void CheckEntry(int tag, const KeyEntry& e) const;

  File& file_;
  CdxPageStore store_;
  uint32_t directory_root_ = 0;
  int directory_key_length_ = 0;
  std::vector<TagInfo> tags_;
  std::vector<TagTree> trees_;  // parallel to tags_
  // Fill bytes by tag header offset: they outlive re-reading the directory.
  std::unordered_map<uint32_t, char> fills_;
};

}  // namespace xbase
