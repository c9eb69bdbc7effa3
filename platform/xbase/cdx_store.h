#pragma once
// The pages of one index file: a cache of decoded pages kept while the file is unchanged, page
// allocation through the free list, and the write-back of everything one maintenance operation
// changed. Operations change pages in memory only; Commit() writes them, Abandon() forgets them.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/xbase/cdx_page.h"
#include "platform/xbase/file.h"

namespace xbase {

// Decoded pages by page number: a lookup is an index, not a hash (seeks look up several pages
// per level on every operation). Slots come in chunks made on first use, so a large index file
// costs nothing for the pages never read.
class PageTable {
 public:
  CdxPage* Find(uint32_t offset) const {
    const size_t i = offset / kCdxPageSize;
    const size_t chunk = i / kChunkSlots;
    return chunk < chunks_.size() && chunks_[chunk] ? (*chunks_[chunk])[i % kChunkSlots].get()
                                                    : nullptr;
  }
  CdxPage& Put(uint32_t offset, std::unique_ptr<CdxPage> page);
  void Erase(uint32_t offset);
  void Clear();
  // Forgets the cached leaves; interior pages, few and used by every descent, stay.
  void EraseLeaves();
  size_t size() const { return count_; }

 private:
  static constexpr size_t kChunkSlots = 256;
  using Chunk = std::array<std::unique_ptr<CdxPage>, kChunkSlots>;

  std::vector<std::unique_ptr<Chunk>> chunks_;
  size_t count_ = 0;
};

class CdxPageStore {
 public:
  // Takes the change-detection fields from `head` (the file's first bytes, just read); throws
  // kCorrupt when the file is too short for them.
  CdxPageStore(File& file, std::string_view head);

  File& file() { return file_; }
  const std::string& path() const { return file_.path(); }

  // The cached page at `offset`, read and decoded on a miss. Throws kCorrupt when the offset
  // cannot be a page of this file, the page is damaged or it was cached for another key shape.
  CdxPage& Fetch(uint32_t offset, int key_length, char fill);
  // Caches the page at `offset` decoded from `head` (the file's first bytes, read under the
  // current index lock) when it lies inside and is not cached yet, as Fetch would read it.
  void Seed(uint32_t offset, std::string_view head, int key_length, char fill);
  // Reads and decodes a page past the cache (verification looks at the file itself).
  CdxPage ReadUncached(uint32_t offset, int key_length, char fill);
  // Throws kCorrupt unless `offset` can be a page of this file; `what` names the pointer.
  void CheckPageOffset(uint32_t offset, const std::string& what);
  // An upper bound of the pages in the file: bounds every walk along links.
  size_t PageLimit() const { return static_cast<size_t>(file_end_ / kCdxPageSize) + 1; }

  void MarkDirty(const CdxPage& page) { dirty_.insert(page.offset); }
  // A new empty page (from the free list, else at the end of the file), cached and dirty.
  CdxPage& Allocate(int key_length, char fill, bool leaf);
  // Makes the page at `offset` an empty one, cached and dirty.
  CdxPage& Reset(uint32_t offset, int key_length, char fill, bool leaf);
  // Puts the page on the free list; references to it become invalid.
  void Free(uint32_t offset);
  // Reserves `bytes` at the end of the file (tag headers).
  uint32_t AllocateAtEnd(uint32_t bytes);
  // Bytes the next Commit writes at `offset` (headers, which are not cached pages).
  void WriteAtCommit(uint32_t offset, std::string bytes);

  // Writes every page changed since the last Commit/Abandon, then the free-list head if moved.
  void Commit();
  // Forgets every change since the last Commit (after a failed operation): nothing is written.
  void Abandon();
  void DropCache();
  // Drops the cached leaves when the cache has grown past its bound; between operations only.
  void TrimCache();

  // Change detection through the free-list head and update counter at offset 4.
  bool Refresh();
  void MarkChanged();

 private:
  std::unique_ptr<CdxPage> Load(uint32_t offset, int key_length, char fill);

  File& file_;
  PageTable cache_;
  std::unordered_set<uint32_t> dirty_;
  std::map<uint32_t, std::string> raw_writes_;  // freed pages and headers, written at Commit
  uint64_t file_end_ = 0;                       // counts pages allocated but not yet written
  uint64_t committed_file_end_ = 0;
  uint32_t free_head_ = 0;
  uint32_t committed_free_head_ = 0;  // also the value last seen in the file
  uint32_t seen_counter_ = 0;
};

// Commits the store's changes on Commit(); abandons them when left by an exception.
class CdxWriteScope {
 public:
  explicit CdxWriteScope(CdxPageStore& store) : store_(store) {}
  CdxWriteScope(const CdxWriteScope&) = delete;
  CdxWriteScope& operator=(const CdxWriteScope&) = delete;
  ~CdxWriteScope() {
    if (!committed_) store_.Abandon();
  }
  void Commit() {
    store_.Commit();
    committed_ = true;
  }

 private:
  CdxPageStore& store_;
  bool committed_ = false;
};

}  // namespace xbase
