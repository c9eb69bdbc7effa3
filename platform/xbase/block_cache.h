#pragma once
// A read cache of file blocks for a table this process holds exclusively: no other process can
// change the file, so records can be served from memory. Writes go through it to the file.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/xbase/file.h"

namespace xbase {

class BlockCache {
 public:
  // Sized for the file as it is now (a small table does not pay for a large cache).
  explicit BlockCache(File& file);

  // Reads n bytes at offset; returns the count read (less at end of file).
  size_t Read(uint64_t offset, char* out, size_t n);
  void Write(uint64_t offset, const char* data, size_t n);

 private:
  // Direct-mapped: a table of up to 64 MiB stays in memory whole.
  static constexpr size_t kBlockSize = 4096;
  static constexpr size_t kMaxSlots = 16384;

  struct Slot {
    uint64_t block = UINT64_MAX;
    size_t valid = 0;  // bytes of the block that exist in the file
    std::string bytes;
  };
  Slot& Load(uint64_t block);

  File& file_;
  std::vector<Slot> slots_;
};

}  // namespace xbase
