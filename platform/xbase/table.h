#pragma once
// One table open in this process: its DBF, memo and index files, its header and tags, and the
// locks this process holds on it. Every cursor on the same file shares one Table, because byte
// locks belong to the process and closing any second descriptor would drop them.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/xbase/block_cache.h"
#include "platform/xbase/cdx_index.h"
#include "platform/xbase/dbf_header.h"
#include "platform/xbase/expression.h"
#include "platform/xbase/file.h"
#include "platform/xbase/memo_file.h"

namespace xbase {

struct OpenOptions {
  ShareMode mode = ShareMode::kShared;
  bool read_only = false;
};

// A tag of the structural index with its compiled expressions.
struct TagState {
  int cdx_index = -1;  // position in CdxIndex::tags()
  std::optional<Expression> key;
  std::optional<Expression> for_condition;
  ValueType key_type = ValueType::kCharacter;
  std::string problem;  // why the tag cannot be evaluated; empty when usable
};

// The path of the existing table named by `path`: ".DBF" added when there is no extension, the
// name matched without regard to case. Throws Error(kOpen) when there is no such table.
std::string ResolveTablePath(const std::string& path);

// `path` with ".DBF" added when it has no extension.
std::string WithTableExtension(const std::string& path);

class Table {
 public:
  // Opens the table at `dbf_path` (an existing file) or returns the one this process already has
  // open. Throws Error: kSharingViolation when the modes conflict (here or with another process).
  static std::shared_ptr<Table> Open(const std::string& dbf_path, const OpenOptions& options);
  ~Table();

  const std::string& path() const { return dbf_.path(); }
  const std::string& name() const { return name_; }  // base name, upper case, no extension
  const DbfHeader& header() const { return header_; }
  const Schema& fields() const { return header_.fields; }
  bool exclusive() const { return mode_ == ShareMode::kExclusive; }
  bool read_only() const { return read_only_; }

  // Index access; nullptr when the table has no structural index.
  CdxIndex* index() { return cdx_.get(); }
  const std::vector<TagState>& tags() const { return tags_; }
  int FindTag(std::string_view name) const;  // -1 when absent
  const TagInfo& tag_info(int tag) const { return cdx_->tags()[tags_[tag].cdx_index]; }

  // Throws Error(kReadOnly) with the reason when this table must not be written.
  void RequireWritable() const;

  // Records in the file now (from its size; cached while this process holds it exclusively).
  uint32_t RecordCount();
  // Whether record `recno` exists, asking the file only when it lies past the count last seen
  // (records are only ever added, so a smaller number needs no system call).
  bool RecordExists(uint32_t recno);
  // Reads record `recno` into `out` (record_length bytes); false when past the end.
  bool ReadRecord(uint32_t recno, std::string& out);
  // Reads `count` records from `first` on in one read into `out`; returns how many were there.
  uint32_t ReadRecords(uint32_t first, uint32_t count, std::string& out);
  void WriteRecord(uint32_t recno, const std::string& record);
  // Appends a blank record under the header lock and locks it for `owner`; 0 when the new
  // record's lock could not be obtained (nothing is written then).
  uint32_t AppendBlank(int owner);

  // The key of `record` in `tag`, or nullopt when the tag's FOR condition leaves it out
  // (unless `ignore_for`, which gives the position the record would have).
  std::optional<std::string> KeyOf(int tag, const std::string& record, uint32_t recno,
                                   bool ignore_for = false);
  // The memo text a record's memo field points at.
  std::string ReadMemo(uint32_t block);
  uint32_t WriteMemo(const std::string& text, uint32_t old_block);
  bool has_memo() const { return memo_.has_value(); }

  // In-process bookkeeping on top of the operating system's byte locks.
  bool LockRecord(int owner, uint32_t recno);  // false: held by another cursor or process
  void UnlockRecord(int owner, uint32_t recno);
  bool LockFile(int owner);
  void UnlockFile(int owner);
  bool HoldsRecord(int owner, uint32_t recno) const;
  bool HoldsFile(int owner) const { return file_lock_owner_ == owner; }

  // Index lock for a shared user (nothing in exclusive mode); refreshes stale cached pages.
  void AcquireIndexLock(bool write);
  void ReleaseIndexLock();

  // Marks the index written while the write lock is held, so the release tells other users.
  void NoteIndexChanged() { index_changed_ = true; }

  int NewCursorId() { return ++last_cursor_id_; }

  // Compiles the tags again after the index gained one.
  void ReloadTags() { CompileTags(); }

 private:
  Table(File dbf, const OpenOptions& options);
  void OpenCompanions();
  void CompileTags();
  void WriteEndOfFileMark();

  File dbf_;
  std::optional<BlockCache> exclusive_cache_;  // only while no other process can write
  std::optional<MemoFile> memo_;
  std::optional<File> cdx_file_;
  std::unique_ptr<CdxIndex> cdx_;
  DbfHeader header_;
  ShareMode mode_;
  bool read_only_;
  std::string name_;
  std::vector<TagState> tags_;
  std::string write_refusal_;
  std::pair<uint64_t, uint64_t> identity_;

  std::map<uint32_t, int> record_locks_;  // recno -> owning cursor
  int file_lock_owner_ = 0;
  int index_lock_depth_ = 0;
  bool index_lock_write_ = false;
  bool index_changed_ = false;
  uint32_t cached_count_ = 0;  // exact in exclusive mode; the last count seen in shared mode
  int last_cursor_id_ = 0;
};

// Holds the index lock of a table for one operation.
class IndexLockGuard {
 public:
  IndexLockGuard(Table& table, bool write) : table_(table) { table_.AcquireIndexLock(write); }
  // Releases the lock; a failure to publish the change is reported here.
  void Release() {
    held_ = false;
    table_.ReleaseIndexLock();
  }
  ~IndexLockGuard();
  IndexLockGuard(const IndexLockGuard&) = delete;
  IndexLockGuard& operator=(const IndexLockGuard&) = delete;

 private:
  Table& table_;
  bool held_ = true;
};

}  // namespace xbase
