#pragma once
// A cursor on a table: its own position, controlling tag, seek result and locks. Several cursors
// may be open on one table, in this process and in others.
//
// Shared-mode contract: a field is written only while the cursor holds the record's lock (or the
// file lock); the changed record, its memos and its keys in every tag are written when the lock
// is released (Unlock), on Commit, or when the cursor moves to another record.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xbase/table.h"
#include "platform/xbase/value.h"

namespace xbase {

// A record read ahead by Cursor::ReadRun: its number and its bytes as stored.
struct RunRecord {
  uint32_t recno = 0;
  std::string bytes;
};

struct CursorOptions {
  ShareMode mode = ShareMode::kShared;
  bool read_only = false;
  bool hide_deleted = true;  // seek, skip, top and bottom pass over deleted records
};

class Cursor {
 public:
  // Opens the table at `path`; ".DBF" may be left out and the name is matched without regard
  // to case. The cursor starts on the first record in physical order.
  explicit Cursor(const std::string& path, const CursorOptions& options = {});
  ~Cursor();  // writes pending changes and releases the locks
  Cursor(const Cursor&) = delete;
  Cursor& operator=(const Cursor&) = delete;

  // Writes pending changes and releases the locks; the cursor is unusable afterwards.
  void Close();

  Table& table() { return *table_; }
  const Schema& fields() const { return table_->fields(); }
  int FieldCount() const { return static_cast<int>(table_->fields().size()); }
  int FieldIndex(std::string_view name) const;  // 0-based, -1 when absent

  // Controlling tag: "" for physical order. Throws Error(kNoSuchTag) naming table and tag.
  void SetOrder(std::string_view tag);
  int order() const { return order_; }  // tag number, -1 for physical order

  // Seeks `key` on the controlling tag. Character keys match as a prefix; numbers and dates
  // match exactly. Not found: end of file, or with `soft` the next greater key.
  bool Seek(const Value& key, bool soft = false);
  bool SeekBytes(const std::string& key_bytes, bool soft = false);
  void Skip(int64_t n = 1);
  // Reads ahead in the controlling tag's order under one acquisition of the index lock (instead
  // of one per skip): the current record and the visible ones after it, as long as their keys
  // begin with `key_prefix`, at most `max_records`. Appends them to `out` as skipping one by one
  // would have shown them, and leaves the cursor where as many skips would have: on the record
  // after the last one read, or at the end of file. Returns how many were read; 0 at the end of
  // file or when the current key does not begin with the prefix (the cursor does not move).
  size_t ReadRun(std::string_view key_prefix, size_t max_records, std::vector<RunRecord>& out);
  void GoTop();
  void GoBottom();
  void GoTo(uint32_t recno);

  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool Found() const { return found_; }
  uint32_t RecNo() const { return recno_; }
  uint32_t RecCount();

  Value Get(int field) const;
  Value Get(std::string_view name) const;
  std::string_view Raw(int field) const;  // the bytes as stored in the record
  void Put(int field, const Value& value);
  void Put(std::string_view name, const Value& value);
  bool Deleted() const { return record_[0] == '*'; }
  void Delete();
  void Recall();

  // Appends a blank record and stands on it holding its lock (other record locks of this cursor
  // are released first). False when the new record's lock was not obtained: nothing is added.
  bool Append();
  // Locks the current record (no waiting); other record locks of this cursor are released
  // first and the record is read again.
  bool RLock();
  bool FLock();
  void Unlock();
  void Commit();
  bool IsLocked() const;

 private:
  int FieldOrThrow(std::string_view name) const;
  void RequireOpen() const;
  void RequireWritableRecord() const;
  // A unique tag holds one entry per key: the first record with it.
  bool HasKey(int cdx_tag, const std::string& key);
  void ReinstateUniqueKey(int tag, const std::string& key);
  void FlushRecord();
  void ReleaseLocks();
  void Load(uint32_t recno);  // reads the record, or blanks it for the end-of-file position
  void SetEof();
  void GoEnd(bool top);  // first or last visible record in the current order
  bool Visible() const { return !(hide_deleted_ && Deleted()); }
  // Index navigation on the controlling tag, honouring a descending tag's reversed order.
  std::optional<KeyEntry> TagFirst(bool from_top);
  std::optional<KeyEntry> TagStep(const KeyEntry& from, bool forward);
  // Up to `max` entries after `from` in the cursor's order whose keys begin with `prefix`.
  std::vector<KeyEntry> TagRun(const KeyEntry& from, std::string_view prefix, size_t max);
  std::optional<KeyEntry> CurrentEntry();
  // Stands on the first visible record from `entry` onwards in the given direction.
  bool SettleOnTag(std::optional<KeyEntry> entry, bool forward);
  bool SettlePhysical(uint32_t recno, bool forward);

  std::shared_ptr<Table> table_;
  int id_ = 0;
  bool hide_deleted_ = true;
  int order_ = -1;
  uint32_t recno_ = 0;
  bool eof_ = true;
  bool bof_ = false;
  bool found_ = false;
  std::string record_;    // current record as the cursor sees it
  std::string original_;  // the record as last read or written, for the old keys
  bool dirty_ = false;
  bool is_new_ = false;  // appended, keys not yet in the index
  std::map<int, std::string> pending_memos_;
  std::optional<KeyEntry> position_;  // the current record's entry in the controlling tag
  std::set<uint32_t> locks_;
  bool file_locked_ = false;
};

}  // namespace xbase
