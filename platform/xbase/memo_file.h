#pragma once
// The FPT memo file: memo texts stored in chains of fixed-size blocks.

#include <cstdint>
#include <string>

#include "platform/xbase/file.h"

namespace xbase {

class MemoFile {
 public:
  // Takes an open FPT file and reads its block size; throws Error(kCorrupt) for a bad header.
  explicit MemoFile(File file);
  // Writes the header of a new, empty memo file (512-byte header, 64-byte blocks).
  static void CreateEmpty(File& file);

  // The text of the memo that starts at `block`; throws Error(kCorrupt) when the block or its
  // length lies past the end of the file. Block 0 is the empty memo. Takes no lock.
  std::string Read(uint32_t block) const;

  // Stores `text` and returns its starting block (0 for an empty text). The old memo's blocks
  // are reused when the text still fits them; otherwise new blocks are taken at the next-free
  // pointer. Runs under the memo lock, as every writer of the file does.
  uint32_t Write(const std::string& text, uint32_t old_block);

  const File& file() const { return file_; }
  File& file() { return file_; }

 private:
  uint32_t BlocksFor(uint64_t length) const;
  uint32_t CapacityOf(uint32_t block) const;  // blocks that the memo at `block` occupies

  File file_;
  uint32_t block_size_ = 64;
};

}  // namespace xbase
