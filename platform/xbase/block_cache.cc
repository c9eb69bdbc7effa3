#include "platform/xbase/block_cache.h"

#include <algorithm>
#include <cstring>

namespace xbase {

BlockCache::Slot& BlockCache::Load(uint64_t block) {
  Slot& slot = slots_[block % kSlots];
  if (slot.block != block) {
    slot.bytes.resize(kBlockSize);
    slot.valid = file_.Read(block * kBlockSize, slot.bytes.data(), kBlockSize);
    slot.block = block;
  }
  return slot;
}

size_t BlockCache::Read(uint64_t offset, char* out, size_t n) {
  uint64_t block = offset / kBlockSize;
  size_t within = offset % kBlockSize;
  if (within + n > kBlockSize) return file_.Read(offset, out, n);  // straddles two blocks
  Slot& slot = Load(block);
  size_t available = slot.valid > within ? std::min(n, slot.valid - within) : 0;
  std::memcpy(out, slot.bytes.data() + within, available);
  return available;
}

void BlockCache::Write(uint64_t offset, const char* data, size_t n) {
  file_.Write(offset, data, n);
  for (Slot& slot : slots_) {
    if (slot.block == UINT64_MAX) continue;
    uint64_t start = slot.block * kBlockSize, end = start + kBlockSize;
    if (offset >= end || offset + n <= start) continue;
    uint64_t from = std::max(offset, start), to = std::min(offset + n, end);
    std::memcpy(slot.bytes.data() + (from - start), data + (from - offset), to - from);
    slot.valid = std::max<size_t>(slot.valid, to - start);
  }
}

}  // namespace xbase
