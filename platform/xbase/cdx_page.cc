#include "platform/xbase/cdx_page.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

constexpr uint16_t kAttrRoot = 1;
constexpr uint16_t kAttrLeaf = 2;
constexpr size_t kPageHeader = 12;
constexpr size_t kLeafHeader = 24;
constexpr size_t kInteriorSpace = kCdxPageSize - kPageHeader;

size_t InteriorEntrySize(int key_length) { return static_cast<size_t>(key_length) + 8; }

uint64_t ShiftRight(uint64_t v, unsigned bits) { return bits >= 64 ? 0 : v >> bits; }

uint32_t MaxRecno(const CdxPage& page) {
  return page.empty() ? 0 : *std::max_element(page.recnos.begin(), page.recnos.end());
}

[[noreturn]] void Corrupt(const std::string& path, uint32_t offset, const std::string& what) {
  throw Error(ErrorKind::kCorrupt, path,
              "index page at offset " + std::to_string(offset) + ": " + what);
}

void DecodeLeaf(const uint8_t* raw, size_t count, const std::string& path, CdxPage& page) {
  LeafLayout& l = page.stored_layout;
  page.stored_free = LoadLe16(raw + 12);
  l.recno_mask = LoadLe32(raw + 14);
  l.dup_mask = raw[18];
  l.trail_mask = raw[19];
  l.recno_bits = raw[20];
  l.dup_bits = raw[21];
  l.trail_bits = raw[22];
  l.bytes_per_entry = raw[23];
  const size_t bpe = l.bytes_per_entry;
  if (bpe < 1 || bpe > 8 || size_t{l.recno_bits} + l.dup_bits + l.trail_bits > 8 * bpe) {
    Corrupt(path, page.offset, "impossible leaf entry widths");
  }
  const size_t table_end = kLeafHeader + count * bpe;
  if (table_end > kCdxPageSize) {
    Corrupt(path, page.offset, "key count " + std::to_string(count) + " cannot fit the page");
  }
  const size_t klen = static_cast<size_t>(page.key_length);
  page.keys.resize(count * klen);
  page.recnos.resize(count);
  size_t pos = kCdxPageSize;
  for (size_t i = 0; i < count; ++i) {
    uint64_t v = 0;
    for (size_t b = 0; b < bpe; ++b) v |= uint64_t{raw[kLeafHeader + i * bpe + b]} << (8 * b);
    const size_t dup = ShiftRight(v, l.recno_bits) & l.dup_mask;
    const size_t trail = ShiftRight(v, l.recno_bits + l.dup_bits) & l.trail_mask;
    if (dup + trail > klen || (i == 0 && dup > 0)) {
      Corrupt(path, page.offset, "entry " + std::to_string(i) + " has impossible counts");
    }
    const size_t stored = klen - dup - trail;
    if (pos < table_end + stored) {
      Corrupt(path, page.offset,
              "key bytes of entry " + std::to_string(i) + " overlap the entries");
    }
    pos -= stored;
    char* key = page.keys.data() + i * klen;
    if (dup > 0) std::memcpy(key, key - klen, dup);
    std::memcpy(key + dup, raw + pos, stored);
    std::memset(key + dup + stored, page.fill, trail);
    page.recnos[i] = static_cast<uint32_t>(v) & l.recno_mask;
  }
  page.free_by_entries = pos - table_end;
}

void DecodeInterior(const uint8_t* raw, size_t count, const std::string& path, CdxPage& page) {
  const size_t entry_size = InteriorEntrySize(page.key_length);
  if (count * entry_size > kInteriorSpace) {
    Corrupt(path, page.offset, "key count " + std::to_string(count) + " cannot fit the page");
  }
  const size_t klen = static_cast<size_t>(page.key_length);
  page.keys.resize(count * klen);
  page.recnos.resize(count);
  page.children.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = raw + kPageHeader + i * entry_size;
    std::memcpy(page.keys.data() + i * klen, e, klen);
    page.recnos[i] = LoadBe32(e + klen);
    page.children[i] = LoadBe32(e + klen + 4);
  }
}

// Stored byte counts of each entry, when it follows its predecessor and when it starts a page.
void LeafEntrySizes(const CdxPage& page, std::vector<size_t>& packed, std::vector<size_t>& first) {
  const size_t n = page.size();
  packed.resize(n);
  first.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const int trail = TrailCount(page.key(i), page.fill);
    const int dup = i == 0 ? 0 : DupCount(page.key(i - 1), page.key(i), trail);
    first[i] = static_cast<size_t>(page.key_length - trail);
    packed[i] = first[i] - static_cast<size_t>(dup);
  }
}

}  // namespace

int CompareEntry(std::string_view a, uint32_t a_recno, std::string_view b, uint32_t b_recno) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  if (c != 0) return c;
  return a_recno < b_recno ? -1 : (a_recno > b_recno ? 1 : 0);
}

LeafLayout ChooseLeafLayout(int key_length, uint32_t max_recno) {
  const int b = std::bit_width(static_cast<unsigned>(key_length));
  int bpe = b <= 8 ? 3 : (b <= 12 ? 4 : 5);
  const int recno_width = std::bit_width(max_recno);
  while (8 * bpe - 2 * b < recno_width) ++bpe;
  LeafLayout l;
  l.recno_bits = static_cast<uint8_t>(8 * bpe - 2 * b);
  l.dup_bits = l.trail_bits = static_cast<uint8_t>(b);
  l.recno_mask = l.recno_bits >= 32 ? 0xFFFFFFFFu : (1u << l.recno_bits) - 1;
  l.dup_mask = l.trail_mask = static_cast<uint8_t>((1u << b) - 1);
  l.bytes_per_entry = static_cast<uint8_t>(bpe);
  return l;
}

size_t CdxPage::Bound(std::string_view k, uint32_t recno, bool after) const {
  size_t lo = 0, hi = size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    const int c = CompareEntry(key(mid), recnos[mid], k, recno);
    if (c < 0 || (after && c == 0)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

void CdxPage::Insert(size_t i, std::string_view k, uint32_t recno, uint32_t child) {
  keys.insert(i * key_length, k.data(), static_cast<size_t>(key_length));
  recnos.insert(recnos.begin() + static_cast<ptrdiff_t>(i), recno);
  if (!leaf) children.insert(children.begin() + static_cast<ptrdiff_t>(i), child);
}

void CdxPage::Set(size_t i, std::string_view k, uint32_t recno) {
  keys.replace(i * key_length, static_cast<size_t>(key_length), k.data(),
               static_cast<size_t>(key_length));
  recnos[i] = recno;
}

void CdxPage::Erase(size_t i) {
  keys.erase(i * key_length, static_cast<size_t>(key_length));
  recnos.erase(recnos.begin() + static_cast<ptrdiff_t>(i));
  if (!leaf) children.erase(children.begin() + static_cast<ptrdiff_t>(i));
}

void CdxPage::MoveTail(size_t from, CdxPage& dest) {
  const auto at = static_cast<ptrdiff_t>(from);
  dest.keys.append(keys, from * key_length);
  keys.resize(from * key_length);
  dest.recnos.insert(dest.recnos.end(), recnos.begin() + at, recnos.end());
  recnos.resize(from);
  if (!leaf) {
    dest.children.insert(dest.children.end(), children.begin() + at, children.end());
    children.resize(from);
  }
}

int TrailCount(std::string_view key, char fill) {
  size_t n = key.size();
  while (n > 0 && key[n - 1] == fill) --n;
  return static_cast<int>(key.size() - n);
}

int DupCount(std::string_view prev, std::string_view key, int trail) {
  const size_t limit = key.size() - static_cast<size_t>(trail);
  size_t n = 0;
  while (n < limit && prev[n] == key[n]) ++n;
  return static_cast<int>(n);
}

size_t LeafBytesUsed(const CdxPage& page) {
  const size_t bpe = ChooseLeafLayout(page.key_length, MaxRecno(page)).bytes_per_entry;
  size_t used = page.size() * bpe;
  for (size_t i = 0; i < page.size(); ++i) {
    const int trail = TrailCount(page.key(i), page.fill);
    const int dup = i == 0 ? 0 : DupCount(page.key(i - 1), page.key(i), trail);
    used += static_cast<size_t>(page.key_length - dup - trail);
  }
  return used;
}

bool PageFits(const CdxPage& page) {
  if (page.leaf) return LeafBytesUsed(page) <= kLeafSpace;
  return page.size() * InteriorEntrySize(page.key_length) <= kInteriorSpace;
}

size_t ChooseSplit(const CdxPage& page, bool dense_left) {
  const size_t n = page.size();
  if (n < 2) return 0;
  if (!page.leaf) {
    const size_t capacity = kInteriorSpace / InteriorEntrySize(page.key_length);
    const size_t split = dense_left ? std::min(capacity, n - 1) : n / 2;
    return split <= capacity && n - split <= capacity ? split : 0;
  }
  // The widest entry of the whole page bounds both halves.
  const size_t bpe = ChooseLeafLayout(page.key_length, MaxRecno(page)).bytes_per_entry;
  std::vector<size_t> packed, first;
  LeafEntrySizes(page, packed, first);
  size_t total = 0;
  for (size_t s : packed) total += s + bpe;
  size_t best = 0, best_gap = SIZE_MAX, left = 0;
  for (size_t split = 1; split < n; ++split) {
    left += packed[split - 1] + bpe;
    const size_t right = total - left - packed[split] + first[split];
    if (left > kLeafSpace || right > kLeafSpace) continue;
    const size_t gap = left > right ? left - right : right - left;
    if (dense_left || gap < best_gap) {
      best = split;
      best_gap = gap;
    }
  }
  return best;
}

CdxPage DecodePage(const uint8_t* raw, uint32_t offset, int key_length, char fill,
                   const std::string& path) {
  CdxPage page;
  page.offset = offset;
  page.key_length = key_length;
  page.fill = fill;
  const uint16_t attr = LoadLe16(raw);
  page.root = (attr & kAttrRoot) != 0;
  page.leaf = (attr & kAttrLeaf) != 0;
  page.left = LoadLe32(raw + 4);
  page.right = LoadLe32(raw + 8);
  const size_t count = LoadLe16(raw + 2);
  if (page.leaf) {
    DecodeLeaf(raw, count, path, page);
  } else {
    DecodeInterior(raw, count, path, page);
  }
  return page;
}

void EncodePage(const CdxPage& page, uint8_t* raw) {
  std::memset(raw, 0, kCdxPageSize);
  StoreLe16(raw, static_cast<uint16_t>((page.root ? kAttrRoot : 0) | (page.leaf ? kAttrLeaf : 0)));
  StoreLe16(raw + 2, static_cast<uint16_t>(page.size()));
  StoreLe32(raw + 4, page.left);
  StoreLe32(raw + 8, page.right);
  const size_t klen = static_cast<size_t>(page.key_length);
  if (!page.leaf) {
    for (size_t i = 0; i < page.size(); ++i) {
      uint8_t* e = raw + kPageHeader + i * InteriorEntrySize(page.key_length);
      std::memcpy(e, page.key(i).data(), klen);
      StoreBe32(e + klen, page.recnos[i]);
      StoreBe32(e + klen + 4, page.children[i]);
    }
    return;
  }
  const LeafLayout l = ChooseLeafLayout(page.key_length, MaxRecno(page));
  StoreLe32(raw + 14, l.recno_mask);
  raw[18] = l.dup_mask;
  raw[19] = l.trail_mask;
  raw[20] = l.recno_bits;
  raw[21] = l.dup_bits;
  raw[22] = l.trail_bits;
  raw[23] = l.bytes_per_entry;
  size_t pos = kCdxPageSize;
  for (size_t i = 0; i < page.size(); ++i) {
    const std::string_view key = page.key(i);
    const int trail = TrailCount(key, page.fill);
    const int dup = i == 0 ? 0 : DupCount(page.key(i - 1), key, trail);
    const size_t stored = klen - static_cast<size_t>(dup + trail);
    pos -= stored;
    std::memcpy(raw + pos, key.data() + dup, stored);
    const uint64_t v = page.recnos[i] | uint64_t(dup) << l.recno_bits |
                       uint64_t(trail) << (l.recno_bits + l.dup_bits);
    for (size_t b = 0; b < l.bytes_per_entry; ++b) {
      raw[kLeafHeader + i * l.bytes_per_entry + b] = static_cast<uint8_t>(v >> (8 * b));
    }
  }
  StoreLe16(raw + 12, static_cast<uint16_t>(pos - kLeafHeader - page.size() * l.bytes_per_entry));
}

}  // namespace xbase
