#include "platform/xbase/cdx_index.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/xbase/cdx_header.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string TrimName(std::string_view key) {
  const size_t end = key.find_last_not_of(std::string_view(" \0", 2));
  return std::string(key.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

bool ValidTagName(const std::string& name) {
  if (name.empty() || name.size() > kCdxTagNameLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

// The index's first bytes, read at once when the directory is read.
constexpr size_t kHeadBytes = 8192;

}  // namespace

CdxIndex::CdxIndex(File& file) : CdxIndex(file, ReadHead(file)) {}

CdxIndex::CdxIndex(File& file, const std::string& head) : file_(file), store_(file, head) {
  ReadDirectory(head);
}

std::string CdxIndex::ReadHead(const File& file) {
  std::string head(kHeadBytes, '\0');
  head.resize(file.Read(0, head.data(), head.size()));
  return head;
}

void CdxIndex::ReadAt(const std::string& head, uint64_t offset, void* out, size_t n,
                      std::string_view what) const {
  if (offset + n <= head.size()) {
    std::memcpy(out, head.data() + offset, n);
  } else {
    file_.ReadExact(offset, out, n, what);
  }
}

void CdxIndex::CreateEmpty(File& file) {
  CdxHeader header;
  header.root = kCdxHeaderSize;
  header.key_length = kCdxTagNameLength;
  header.options = kCdxDirectoryOptions;
  std::string bytes = EncodeHeader(header);
  CdxPage root;
  root.root = root.leaf = true;
  root.key_length = kCdxTagNameLength;
  bytes.resize(kCdxHeaderSize + kCdxPageSize);
  EncodePage(root, reinterpret_cast<uint8_t*>(bytes.data() + kCdxHeaderSize));
  file.Truncate(0);
  file.Write(0, bytes.data(), bytes.size());
}

void CdxIndex::ReadDirectory(const std::string& head) {
  uint8_t raw[kCdxHeaderSize];
  ReadAt(head, 0, raw, sizeof raw, "the index header");
  const CdxHeader directory = DecodeHeader(raw, file_.path(), "the index header");
  directory_root_ = directory.root;
  directory_key_length_ = directory.key_length;
  store_.Seed(directory_root_, head, directory_key_length_, ' ');

  std::vector<KeyEntry> names;
  Directory().ForEach([&](const KeyEntry& e) { names.push_back(e); });
  std::sort(names.begin(), names.end(),
            [](const KeyEntry& a, const KeyEntry& b) { return a.recno < b.recno; });
  std::vector<TagInfo> tags;
  std::vector<TagTree> trees;
  for (const KeyEntry& e : names) {
    const std::string name = TrimName(e.key);
    const std::string what = "tag " + name;
    if (!tags.empty() && tags.back().header_offset == e.recno) {
      throw Error(ErrorKind::kCorrupt, file_.path(), what + " shares its header with another tag");
    }
    if (e.recno % kCdxPageSize != 0 || e.recno < kCdxHeaderSize) {
      throw Error(ErrorKind::kCorrupt, file_.path(),
                  what + ": header offset " + std::to_string(e.recno) + " is impossible");
    }
    ReadAt(head, e.recno, raw, sizeof raw, "the header of " + what);
    CdxHeader h = DecodeHeader(raw, file_.path(), what);
    TagInfo& tag = tags.emplace_back();
    tag.name = name;
    tag.header_offset = e.recno;
    tag.key_expr = std::move(h.key_expr);
    tag.for_expr = std::move(h.for_expr);
    tag.key_length = h.key_length;
    tag.unique = (h.options & kCdxUnique) != 0;
    tag.has_for = (h.options & kCdxHasFor) != 0;
    tag.descending = h.descending;
    const auto fill = fills_.find(e.recno);
    trees.push_back({h.root, fill == fills_.end() ? ' ' : fill->second});
  }
  tags_ = std::move(tags);
  trees_ = std::move(trees);
}

const TagInfo& CdxIndex::Tag(int tag) const {
  if (tag < 0 || static_cast<size_t>(tag) >= tags_.size()) {
    throw Error(ErrorKind::kNoSuchTag, file_.path(), "no tag number " + std::to_string(tag));
  }
  return tags_[static_cast<size_t>(tag)];
}

CdxTree CdxIndex::Tree(int tag) {
  const TagInfo& info = Tag(tag);
  store_.TrimCache();
  const TagTree& tree = trees_[static_cast<size_t>(tag)];
  return CdxTree(store_, tree.root, info.key_length, tree.fill);
}

void CdxIndex::CheckEntry(int tag, const KeyEntry& e) const {
  const TagInfo& info = Tag(tag);
  if (e.key.size() != static_cast<size_t>(info.key_length)) {
    throw Error(ErrorKind::kArgument, file_.path(),
                "a key of " + std::to_string(e.key.size()) + " bytes for tag " + info.name +
                    ", whose keys have " + std::to_string(info.key_length));
  }
}

int CdxIndex::FindTag(std::string_view name) const {
  const std::string wanted = Upper(name);
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (Upper(tags_[i].name) == wanted) return static_cast<int>(i);
  }
  return -1;
}

void CdxIndex::SetFillByte(int tag, char fill) {
  const TagInfo& info = Tag(tag);
  TagTree& tree = trees_[static_cast<size_t>(tag)];
  fills_[info.header_offset] = fill;
  if (tree.fill == fill) return;
  tree.fill = fill;
  store_.DropCache();  // pages decoded with the old fill expanded their keys with it
}

bool CdxIndex::Refresh() {
  if (!store_.Refresh()) return false;
  ReadDirectory(ReadHead(file_));
  return true;
}

void CdxIndex::MarkChanged() { store_.MarkChanged(); }

std::optional<KeyEntry> CdxIndex::First(int tag) { return Tree(tag).First(); }

std::optional<KeyEntry> CdxIndex::Last(int tag) { return Tree(tag).Last(); }

std::optional<KeyEntry> CdxIndex::SeekPrefix(int tag, std::string_view prefix) {
  const size_t key_length = static_cast<size_t>(Tag(tag).key_length);
  if (prefix.size() <= key_length) {
    // Nothing sorts below the prefix followed by zero bytes and record number 0.
    std::string low(prefix);
    low.resize(key_length, '\0');
    return Tree(tag).Seek(low, 0, false);
  }
  // A longer prefix lies after every key equal to its first key_length bytes.
  return Tree(tag).Seek(prefix.substr(0, key_length), UINT32_MAX, true);
}

std::optional<KeyEntry> CdxIndex::Next(int tag, const KeyEntry& from) {
  CheckEntry(tag, from);
  return Tree(tag).Seek(from.key, from.recno, true);
}

std::optional<KeyEntry> CdxIndex::Prev(int tag, const KeyEntry& from) {
  CheckEntry(tag, from);
  return Tree(tag).Prev(from);
}

std::vector<KeyEntry> CdxIndex::RunAfter(int tag, const KeyEntry& from, std::string_view prefix,
                                         size_t max) {
  CheckEntry(tag, from);
  return Tree(tag).RunAfter(from, prefix, max);
}

void CdxIndex::ForEach(int tag, const std::function<void(const KeyEntry&)>& fn) {
  Tree(tag).ForEach(fn);
}

void CdxIndex::Insert(int tag, const KeyEntry& e) {
  CheckEntry(tag, e);
  CdxWriteScope scope(store_);
  Tree(tag).Insert(e);
  scope.Commit();
}

bool CdxIndex::Remove(int tag, const KeyEntry& e) {
  CheckEntry(tag, e);
  CdxWriteScope scope(store_);
  const bool removed = Tree(tag).Remove(e);
  scope.Commit();
  return removed;
}

int CdxIndex::AddTag(const std::string& name, const std::string& key_expr,
                     const std::string& for_expr, int key_length, char fill, bool unique,
                     bool descending) {
  const std::string upper = Upper(name);
  if (!ValidTagName(upper) || static_cast<int>(upper.size()) > directory_key_length_) {
    throw Error(ErrorKind::kArgument, file_.path(), "invalid tag name \"" + name + "\"");
  }
  if (FindTag(upper) >= 0) {
    throw Error(ErrorKind::kArgument, file_.path(), "tag " + upper + " already exists");
  }
  if (key_length < 1 || key_length > kMaxKeyLength) {
    throw Error(ErrorKind::kArgument, file_.path(),
                "key length " + std::to_string(key_length) + " is outside 1.." +
                    std::to_string(kMaxKeyLength));
  }
  if (!ExpressionsFit(key_expr, for_expr)) {
    throw Error(ErrorKind::kArgument, file_.path(), "expressions of tag " + upper + " too long");
  }
  CdxWriteScope scope(store_);
  const uint32_t header_offset = store_.AllocateAtEnd(kCdxHeaderSize);
  CdxPage& root = store_.Allocate(key_length, fill, true);
  root.root = true;
  CdxHeader header;
  header.root = root.offset;
  header.key_length = key_length;
  header.options = static_cast<uint8_t>(kCdxTagOptions | (unique ? kCdxUnique : 0) |
                                        (for_expr.empty() ? 0 : kCdxHasFor));
  header.descending = descending;
  header.key_expr = key_expr;
  header.for_expr = for_expr;
  store_.WriteAtCommit(header_offset, EncodeHeader(header));
  std::string directory_key = upper;
  directory_key.resize(static_cast<size_t>(directory_key_length_), ' ');
  Directory().Insert({directory_key, header_offset});
  scope.Commit();

  fills_[header_offset] = fill;
  ReadDirectory(ReadHead(file_));
  for (size_t i = 0; i < tags_.size(); ++i) {
    if (tags_[i].header_offset == header_offset) return static_cast<int>(i);
  }
  throw Error(ErrorKind::kCorrupt, file_.path(), "tag " + upper + " vanished from the directory");
}

void CdxIndex::BuildTag(int tag, const std::vector<KeyEntry>& sorted_entries) {
  for (size_t i = 0; i < sorted_entries.size(); ++i) {
    const KeyEntry& e = sorted_entries[i];
    CheckEntry(tag, e);
    if (i > 0) {
      const KeyEntry& prev = sorted_entries[i - 1];
      if (CompareEntry(prev.key, prev.recno, e.key, e.recno) >= 0) {
        throw Error(ErrorKind::kArgument, file_.path(),
                    "entries to build are not in ascending order at " + std::to_string(i));
      }
    }
  }
  CdxWriteScope scope(store_);
  Tree(tag).Build(sorted_entries);
  scope.Commit();
}

std::vector<std::string> CdxIndex::CheckStructure(int tag) { return Tree(tag).Check(); }

}  // namespace xbase
