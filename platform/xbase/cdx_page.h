#pragma once
// One 512-byte page of a compound index, decoded into plain arrays (keys expanded to their full
// length), and the codec between that form and the bytes on disk.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xbase {

struct KeyEntry {
  std::string key;  // exactly the tag's key length
  uint32_t recno = 0;
  bool operator==(const KeyEntry&) const = default;
};

inline constexpr uint32_t kCdxPageSize = 512;
inline constexpr uint32_t kCdxHeaderSize = 1024;  // bag header and every tag header
inline constexpr uint32_t kNoPage = 0xFFFFFFFF;   // sibling link meaning "none"
inline constexpr int kMaxKeyLength = 240;

// Unsigned byte order of keys; equal keys by ascending record number.
int CompareEntry(std::string_view a, uint32_t a_recno, std::string_view b, uint32_t b_recno);

// How the entries of one leaf pack record number, duplicate count and trailing count.
struct LeafLayout {
  uint32_t recno_mask = 0;
  uint8_t dup_mask = 0, trail_mask = 0;
  uint8_t recno_bits = 0, dup_bits = 0, trail_bits = 0;
  uint8_t bytes_per_entry = 0;
  bool operator==(const LeafLayout&) const = default;
};

// The layout this engine writes: the narrowest one of the usual widths that holds max_recno.
LeafLayout ChooseLeafLayout(int key_length, uint32_t max_recno);

struct CdxPage {
  uint32_t offset = 0;
  bool root = false;
  bool leaf = false;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  int key_length = 0;
  char fill = ' ';                 // the tag's fill byte: trailing counts stand for runs of it
  std::string keys;                // size() * key_length bytes
  std::vector<uint32_t> recnos;    // one per key
  std::vector<uint32_t> children;  // interior pages: the child holding keys up to this entry
  // As read from disk (leaves only); verification compares them with what the entries need.
  uint16_t stored_free = 0;
  size_t free_by_entries = 0;  // the free bytes the entries as read leave
  LeafLayout stored_layout;

  size_t size() const { return recnos.size(); }
  bool empty() const { return recnos.empty(); }
  std::string_view key(size_t i) const {
    return std::string_view(keys).substr(i * key_length, key_length);
  }
  KeyEntry entry(size_t i) const { return {std::string(key(i)), recnos[i]}; }
  // First index whose entry is >= (or > when `after`) the given one.
  size_t Bound(std::string_view key, uint32_t recno, bool after) const;
  void Insert(size_t i, std::string_view key, uint32_t recno, uint32_t child = 0);
  void Set(size_t i, std::string_view key, uint32_t recno);
  void Erase(size_t i);
  // Moves entries [from, size()) to the end of `dest`.
  void MoveTail(size_t from, CdxPage& dest);
};

// Count of fill bytes ending `key`.
int TrailCount(std::string_view key, char fill);
// Leading bytes `key` shares with `prev` that the page may omit, given the key's trailing count.
int DupCount(std::string_view prev, std::string_view key, int trail);

// Bytes the leaf's entries take below the 24-byte leaf header; fits when <= kLeafSpace.
inline constexpr size_t kLeafSpace = kCdxPageSize - 24;
size_t LeafBytesUsed(const CdxPage& page);
bool PageFits(const CdxPage& page);
// Index at which to split an overflowing page into [0, i) and [i, size()) so that both halves
// fit; `dense_left` fills the left half as far as it goes (appending at the end of the tree).
// Returns 0 when no split fits.
size_t ChooseSplit(const CdxPage& page, bool dense_left);

// Decodes the page at `offset` using the widths in its own header. Throws kCorrupt (naming
// `path` and the page) when the page contradicts itself.
CdxPage DecodePage(const uint8_t* raw, uint32_t offset, int key_length, char fill,
                   const std::string& path);
// Encodes `page` into raw[0..512); the page must fit.
void EncodePage(const CdxPage& page, uint8_t* raw);

}  // namespace xbase
