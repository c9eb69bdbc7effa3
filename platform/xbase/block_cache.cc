#include "platform/xbase/block_cache.h"

#include <algorithm>
#include <cstring>

namespace xbase {

BlockCache::BlockCache(File& file)
    : file_(file), slots_(std::min<uint64_t>(kMaxSlots, file.Size() / kBlockSize + 16)) {}

BlockCache::Slot& BlockCache::Load(uint64_t block) {
  Slot& slot = slots_[block % slots_.size()];
  if (slot.block != block) {
    slot.bytes.resize(kBlockSize);
    slot.valid = file_.Read(block * kBlockSize, slot.bytes.data(), kBlockSize);
    slot.block = block;
  }
  return slot;
}

size_t BlockCache::Read(uint64_t offset, char* out, size_t n) {
  size_t done = 0;
  while (done < n) {
    uint64_t at = offset + done;
    size_t within = at % kBlockSize;
    Slot& slot = Load(at / kBlockSize);
    size_t available = slot.valid > within ? std::min(n - done, slot.valid - within) : 0;
    std::memcpy(out + done, slot.bytes.data() + within, available);
    done += available;
    if (slot.valid < kBlockSize) break;  // end of file
  }
  return done;
}

void BlockCache::Write(uint64_t offset, const char* data, size_t n) {
  file_.Write(offset, data, n);
  for (uint64_t block = offset / kBlockSize; block * kBlockSize < offset + n; ++block) {
    Slot& slot = slots_[block % slots_.size()];
    if (slot.block != block) continue;
    uint64_t start = block * kBlockSize;
    uint64_t from = std::max(offset, start), to = std::min(offset + n, start + kBlockSize);
    std::memcpy(slot.bytes.data() + (from - start), data + (from - offset), to - from);
    slot.valid = std::max<size_t>(slot.valid, to - start);
  }
}

}  // namespace xbase
