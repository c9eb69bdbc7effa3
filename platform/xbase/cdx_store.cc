#include "platform/xbase/cdx_store.h"

#include <algorithm>
#include <cstring>

#include "platform/xbase/byte_order.h"
#include "platform/xbase/error.h"

namespace xbase {

namespace {

constexpr uint64_t kChangeFieldsOffset = 4;  // free-list head (LE) and update counter (BE)
// Decoded pages kept before the cached leaves are dropped (about 30 MB for 33-byte keys).
constexpr size_t kMaxCachedPages = 16384;

uint64_t RoundUpToPage(uint64_t n) {
  return std::max<uint64_t>(kCdxHeaderSize, (n + kCdxPageSize - 1) / kCdxPageSize * kCdxPageSize);
}

}  // namespace

CdxPage& PageTable::Put(uint32_t offset, std::unique_ptr<CdxPage> page) {
  const size_t i = offset / kCdxPageSize;
  const size_t chunk = i / kChunkSlots;
  if (chunk >= chunks_.size()) chunks_.resize(chunk + 1);
  if (!chunks_[chunk]) chunks_[chunk] = std::make_unique<Chunk>();
  std::unique_ptr<CdxPage>& slot = (*chunks_[chunk])[i % kChunkSlots];
  if (!slot) ++count_;
  slot = std::move(page);
  return *slot;
}

void PageTable::Erase(uint32_t offset) {
  const size_t i = offset / kCdxPageSize;
  const size_t chunk = i / kChunkSlots;
  if (chunk >= chunks_.size() || !chunks_[chunk]) return;
  std::unique_ptr<CdxPage>& slot = (*chunks_[chunk])[i % kChunkSlots];
  if (slot) {
    slot.reset();
    --count_;
  }
}

void PageTable::EraseLeaves() {
  for (auto& chunk : chunks_) {
    if (!chunk) continue;
    for (auto& slot : *chunk) {
      if (slot && slot->leaf) {
        slot.reset();
        --count_;
      }
    }
  }
}

void PageTable::Clear() {
  chunks_.clear();
  count_ = 0;
}

CdxPageStore::CdxPageStore(File& file, std::string_view head) : file_(file) {
  uint8_t fields[8];
  if (head.size() >= kChangeFieldsOffset + sizeof fields) {
    std::memcpy(fields, head.data() + kChangeFieldsOffset, sizeof fields);
  } else {
    file_.ReadExact(kChangeFieldsOffset, fields, sizeof fields, "the index header");
  }
  committed_free_head_ = free_head_ = LoadLe32(fields);
  seen_counter_ = LoadBe32(fields + 4);
  committed_file_end_ = file_end_ = file_.Size();
}

void CdxPageStore::CheckPageOffset(uint32_t offset, const std::string& what) {
  if (offset % kCdxPageSize != 0 || offset < kCdxHeaderSize) {
    throw Error(ErrorKind::kCorrupt, path(),
                what + " points to offset " + std::to_string(offset) + ", not a page");
  }
  // The file may have grown since we last looked; ask before calling it damaged.
  if (offset + uint64_t{kCdxPageSize} > file_end_) file_end_ = std::max(file_end_, file_.Size());
  if (offset + uint64_t{kCdxPageSize} > file_end_) {
    throw Error(
        ErrorKind::kCorrupt, path(),
        what + " points to offset " + std::to_string(offset) + ", past the end of the file");
  }
}

std::unique_ptr<CdxPage> CdxPageStore::Load(uint32_t offset, int key_length, char fill) {
  CheckPageOffset(offset, "a page link");
  uint8_t raw[kCdxPageSize];
  if (file_.Read(offset, raw, sizeof raw) != sizeof raw) {
    throw Error(ErrorKind::kCorrupt, path(),
                "the file ends inside the index page at offset " + std::to_string(offset));
  }
  return std::make_unique<CdxPage>(DecodePage(raw, offset, key_length, fill, path()));
}

CdxPage& CdxPageStore::Fetch(uint32_t offset, int key_length, char fill) {
  CdxPage* page = cache_.Find(offset);
  if (page == nullptr) {
    page = &cache_.Put(offset, Load(offset, key_length, fill));
  } else if (page->key_length != key_length || page->fill != fill) {
    throw Error(ErrorKind::kCorrupt, path(),
                "index page at offset " + std::to_string(offset) + " belongs to two tags");
  }
  return *page;
}

void CdxPageStore::Seed(uint32_t offset, std::string_view head, int key_length, char fill) {
  // Compared in size_t: a damaged offset near 4 GiB must not wrap round to a small one.
  if (offset % kCdxPageSize != 0 || offset < kCdxHeaderSize || offset > head.size() ||
      head.size() - offset < kCdxPageSize || cache_.Find(offset) != nullptr) {
    return;
  }
  const auto* raw = reinterpret_cast<const uint8_t*>(head.data() + offset);
  cache_.Put(offset, std::make_unique<CdxPage>(DecodePage(raw, offset, key_length, fill, path())));
}

CdxPage CdxPageStore::ReadUncached(uint32_t offset, int key_length, char fill) {
  return std::move(*Load(offset, key_length, fill));
}

CdxPage& CdxPageStore::Reset(uint32_t offset, int key_length, char fill, bool leaf) {
  auto page = std::make_unique<CdxPage>();
  page->offset = offset;
  page->key_length = key_length;
  page->fill = fill;
  page->leaf = leaf;
  CdxPage& ref = cache_.Put(offset, std::move(page));
  dirty_.insert(offset);
  return ref;
}

CdxPage& CdxPageStore::Allocate(int key_length, char fill, bool leaf) {
  if (free_head_ == 0) {
    const auto offset = static_cast<uint32_t>(RoundUpToPage(file_end_));
    file_end_ = uint64_t{offset} + kCdxPageSize;
    return Reset(offset, key_length, fill, leaf);
  }
  const uint32_t offset = free_head_;
  CheckPageOffset(offset, "the free list");
  if (cache_.Find(offset) != nullptr) {
    throw Error(ErrorKind::kCorrupt, path(),
                "the free list holds page " + std::to_string(offset) + ", which is in use");
  }
  auto freed_now = raw_writes_.find(offset);
  if (freed_now != raw_writes_.end()) {
    free_head_ = LoadLe32(reinterpret_cast<const uint8_t*>(freed_now->second.data()));
    raw_writes_.erase(freed_now);
  } else {
    uint8_t next[4];
    file_.ReadExact(offset, next, sizeof next, "a free index page");
    free_head_ = LoadLe32(next);
  }
  return Reset(offset, key_length, fill, leaf);
}

void CdxPageStore::Free(uint32_t offset) {
  cache_.Erase(offset);
  dirty_.erase(offset);
  std::string raw(kCdxPageSize, '\0');
  StoreLe32(reinterpret_cast<uint8_t*>(raw.data()), free_head_);
  raw_writes_[offset] = std::move(raw);
  free_head_ = offset;
}

uint32_t CdxPageStore::AllocateAtEnd(uint32_t bytes) {
  const auto offset = static_cast<uint32_t>(RoundUpToPage(file_end_));
  file_end_ = uint64_t{offset} + bytes;
  return offset;
}

void CdxPageStore::WriteAtCommit(uint32_t offset, std::string bytes) {
  raw_writes_[offset] = std::move(bytes);
}

void CdxPageStore::Commit() {
  for (uint32_t offset : dirty_) {
    std::string raw(kCdxPageSize, '\0');
    EncodePage(*cache_.Find(offset), reinterpret_cast<uint8_t*>(raw.data()));
    raw_writes_[offset] = std::move(raw);
  }
  dirty_.clear();
  // Adjacent blocks go out in one call: a bulk build writes thousands of consecutive pages.
  auto it = raw_writes_.begin();
  while (it != raw_writes_.end()) {
    const uint32_t start = it->first;
    std::string run = std::move(it->second);
    for (++it; it != raw_writes_.end() && it->first == start + run.size(); ++it) {
      run += it->second;
    }
    file_.Write(start, run.data(), run.size());
  }
  raw_writes_.clear();
  if (free_head_ != committed_free_head_) {
    uint8_t head[4];
    StoreLe32(head, free_head_);
    file_.Write(kChangeFieldsOffset, head, sizeof head);
    committed_free_head_ = free_head_;
  }
  committed_file_end_ = file_end_;
}

void CdxPageStore::Abandon() {
  DropCache();
  raw_writes_.clear();
  free_head_ = committed_free_head_;
  file_end_ = committed_file_end_;
}

void CdxPageStore::DropCache() {
  cache_.Clear();
  dirty_.clear();
}

void CdxPageStore::TrimCache() {
  if (cache_.size() > kMaxCachedPages && dirty_.empty()) cache_.EraseLeaves();
}

bool CdxPageStore::Refresh() {
  uint8_t fields[8];
  file_.ReadExact(kChangeFieldsOffset, fields, sizeof fields, "the index header");
  const uint32_t head = LoadLe32(fields);
  const uint32_t counter = LoadBe32(fields + 4);
  if (head == committed_free_head_ && counter == seen_counter_) return false;
  DropCache();
  committed_free_head_ = free_head_ = head;
  seen_counter_ = counter;
  committed_file_end_ = file_end_ = file_.Size();
  return true;
}

void CdxPageStore::MarkChanged() {
  ++seen_counter_;
  uint8_t fields[8];
  StoreLe32(fields, committed_free_head_);
  StoreBe32(fields + 4, seen_counter_);
  file_.Write(kChangeFieldsOffset, fields, sizeof fields);
}

}  // namespace xbase
