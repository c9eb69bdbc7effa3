#include "platform/xbase/cursor.h"

#include <cstdio>

#include "platform/xbase/error.h"
#include "platform/xbase/field_codec.h"
#include "platform/xbase/key_codec.h"

namespace xbase {
namespace {

bool StartsWith(const std::string& key, const std::string& prefix) {
  return key.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

Cursor::Cursor(const std::string& path, const CursorOptions& options)
    : hide_deleted_(options.hide_deleted) {
  table_ = Table::Open(ResolveTablePath(path), {options.mode, options.read_only});
  id_ = table_->NewCursorId();
  GoTop();
}

Cursor::~Cursor() {
  try {
    Close();
  } catch (const Error& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
}

void Cursor::Close() {
  if (!table_) return;
  try {
    FlushRecord();
  } catch (...) {
    ReleaseLocks();
    table_.reset();
    throw;
  }
  ReleaseLocks();
  table_.reset();
}

void Cursor::RequireOpen() const {
  if (!table_) throw Error(ErrorKind::kArgument, "", "cursor is closed");
}

int Cursor::FieldIndex(std::string_view name) const { return FindField(table_->fields(), name); }

int Cursor::FieldOrThrow(std::string_view name) const {
  int i = FieldIndex(name);
  if (i < 0) {
    throw Error(ErrorKind::kNoSuchField, table_->path(), "no field named " + std::string(name));
  }
  return i;
}

void Cursor::SetOrder(std::string_view tag) {
  RequireOpen();
  FlushRecord();
  if (tag.empty()) {
    order_ = -1;
    position_.reset();
    return;
  }
  int t = table_->FindTag(tag);
  if (t < 0) {
    throw Error(ErrorKind::kNoSuchTag, table_->path(),
                "table " + table_->name() + " has no index tag " + std::string(tag));
  }
  if (!table_->tags()[t].key)
    throw Error(ErrorKind::kExpression, table_->path(), table_->tags()[t].problem);
  order_ = t;
  position_.reset();
}

uint32_t Cursor::RecCount() {
  RequireOpen();
  return table_->RecordCount();
}

// ---- reading and writing fields ----

Value Cursor::Get(int field) const {
  RequireOpen();
  if (field < 0 || field >= FieldCount()) {
    throw Error(ErrorKind::kNoSuchField, table_->path(),
                "no field number " + std::to_string(field + 1));
  }
  const FieldInfo& f = fields()[field];
  if (f.type != 'M') return DecodeField(f, record_.data());
  if (auto it = pending_memos_.find(field); it != pending_memos_.end()) {
    return Value::Character(it->second);
  }
  return Value::Character(table_->ReadMemo(DecodeMemoBlock(f, record_.data(), table_->path())));
}

Value Cursor::Get(std::string_view name) const { return Get(FieldOrThrow(name)); }

std::string_view Cursor::Raw(int field) const {
  return FieldBytes(fields().at(field), record_.data());
}

void Cursor::Put(std::string_view name, const Value& value) { Put(FieldOrThrow(name), value); }

void Cursor::RequireWritableRecord() const {
  RequireOpen();
  table_->RequireWritable();
  if (eof_) throw Error(ErrorKind::kArgument, table_->path(), "no current record to write");
  if (!IsLocked() && !table_->exclusive()) {
    throw Error(ErrorKind::kLock, table_->path(),
                "record " + std::to_string(recno_) + " is written without its lock");
  }
}

void Cursor::Put(int field, const Value& value) {
  RequireWritableRecord();
  if (field < 0 || field >= FieldCount()) {
    throw Error(ErrorKind::kNoSuchField, table_->path(),
                "no field number " + std::to_string(field + 1));
  }
  const FieldInfo& f = fields()[field];
  if (f.type == 'M') {
    if (value.type != ValueType::kCharacter) {
      throw Error(ErrorKind::kArgument, table_->path(), "memo field " + f.name + " takes text");
    }
    if (!table_->has_memo())
      throw Error(ErrorKind::kUnsupported, table_->path(),
                  "memo field " + f.name + " cannot be written");
    pending_memos_[field] = value.str;
  } else {
    EncodeField(f, value, record_.data(), table_->path());
  }
  dirty_ = true;
}

void Cursor::Delete() {
  RequireWritableRecord();
  record_[0] = '*';
  dirty_ = true;
}

void Cursor::Recall() {
  RequireWritableRecord();
  record_[0] = ' ';
  dirty_ = true;
}

// ---- writing back ----

void Cursor::FlushRecord() {
  if (!dirty_ || !table_) return;
  const std::string& path = table_->path();
  for (const auto& [field, text] : pending_memos_) {
    const FieldInfo& f = fields()[field];
    uint32_t old_block = DecodeMemoBlock(f, original_.data(), path);
    uint32_t block = table_->WriteMemo(text, old_block);
    EncodeField(f, Value::Numeric(block), record_.data(), path);
  }
  pending_memos_.clear();

  struct KeyChange {
    int tag;
    std::optional<std::string> old_key, new_key;
  };
  std::vector<KeyChange> changes;
  for (int t = 0; t < static_cast<int>(table_->tags().size()); ++t) {
    std::optional<std::string> new_key = table_->KeyOf(t, record_, recno_);
    std::optional<std::string> old_key;
    if (!is_new_) old_key = table_->KeyOf(t, original_, recno_);
    if (is_new_ || old_key != new_key)
      changes.push_back({t, std::move(old_key), std::move(new_key)});
  }

  table_->WriteRecord(recno_, record_);
  if (!changes.empty()) {
    IndexLockGuard lock(*table_, true);
    CdxIndex& cdx = *table_->index();
    for (const KeyChange& c : changes) {
      int tag = table_->tags()[c.tag].cdx_index;
      bool unique = table_->tag_info(c.tag).unique;
      if (c.old_key) {
        bool removed = cdx.Remove(tag, {*c.old_key, recno_});
        if (removed && unique) ReinstateUniqueKey(c.tag, *c.old_key);
      }
      if (c.new_key) {
        if (!unique || !HasKey(tag, *c.new_key)) cdx.Insert(tag, {*c.new_key, recno_});
      }
    }
    table_->NoteIndexChanged();
    lock.Release();
  }
  original_ = record_;
  dirty_ = false;
  is_new_ = false;
  position_.reset();
}

bool Cursor::HasKey(int cdx_tag, const std::string& key) {
  std::optional<KeyEntry> e = table_->index()->SeekPrefix(cdx_tag, key);
  return e && e->key == key;
}

void Cursor::ReinstateUniqueKey(int tag, const std::string& key) {
  // Rare (a unique key changing), so a scan of the table is acceptable.
  std::string record;
  uint32_t count = table_->RecordCount();
  for (uint32_t r = 1; r <= count; ++r) {
    if (r == recno_ || !table_->ReadRecord(r, record)) continue;
    if (table_->KeyOf(tag, record, r) == key) {
      table_->index()->Insert(table_->tags()[tag].cdx_index, {key, r});
      return;
    }
  }
}

// ---- locks ----

bool Cursor::IsLocked() const { return file_locked_ || locks_.count(recno_) > 0; }

void Cursor::ReleaseLocks() {
  for (uint32_t r : locks_) table_->UnlockRecord(id_, r);
  locks_.clear();
  if (file_locked_) table_->UnlockFile(id_);
  file_locked_ = false;
}

bool Cursor::RLock() {
  RequireOpen();
  if (eof_) return false;
  FlushRecord();
  for (auto it = locks_.begin(); it != locks_.end();) {
    if (*it == recno_) {
      ++it;
      continue;
    }
    table_->UnlockRecord(id_, *it);
    it = locks_.erase(it);
  }
  if (!table_->LockRecord(id_, recno_)) return false;
  locks_.insert(recno_);
  table_->ReadRecord(recno_, record_);
  original_ = record_;
  return true;
}

bool Cursor::FLock() {
  RequireOpen();
  FlushRecord();
  if (!table_->LockFile(id_)) return false;
  file_locked_ = true;
  return true;
}

void Cursor::Unlock() {
  RequireOpen();
  FlushRecord();
  ReleaseLocks();
}

void Cursor::Commit() {
  RequireOpen();
  FlushRecord();
}

bool Cursor::Append() {
  RequireOpen();
  table_->RequireWritable();
  FlushRecord();
  for (uint32_t r : locks_) table_->UnlockRecord(id_, r);
  locks_.clear();
  uint32_t recno = table_->AppendBlank(id_);
  if (recno == 0) return false;
  locks_.insert(recno);
  recno_ = recno;
  record_ = BlankRecord(fields(), table_->header().record_length);
  original_ = record_;
  is_new_ = true;
  dirty_ = true;
  eof_ = bof_ = found_ = false;
  position_.reset();
  return true;
}

// ---- positioning ----

void Cursor::Load(uint32_t recno) {
  if (recno >= 1 && table_->ReadRecord(recno, record_)) {
    recno_ = recno;
    eof_ = false;
  } else {
    SetEof();
  }
  original_ = record_;
}

void Cursor::SetEof() {
  recno_ = table_->RecordCount() + 1;
  record_ = BlankRecord(fields(), table_->header().record_length);
  original_ = record_;
  eof_ = true;
  position_.reset();
}

std::optional<KeyEntry> Cursor::TagFirst(bool from_top) {
  CdxIndex& cdx = *table_->index();
  int tag = table_->tags()[order_].cdx_index;
  bool ascending_start = from_top != table_->tag_info(order_).descending;
  return ascending_start ? cdx.First(tag) : cdx.Last(tag);
}

std::optional<KeyEntry> Cursor::TagStep(const KeyEntry& from, bool forward) {
  CdxIndex& cdx = *table_->index();
  int tag = table_->tags()[order_].cdx_index;
  bool ascending_step = forward != table_->tag_info(order_).descending;
  return ascending_step ? cdx.Next(tag, from) : cdx.Prev(tag, from);
}

std::vector<KeyEntry> Cursor::TagRun(const KeyEntry& from, std::string_view prefix, size_t max) {
  if (!table_->tag_info(order_).descending) {
    return table_->index()->RunAfter(table_->tags()[order_].cdx_index, from, prefix, max);
  }
  std::vector<KeyEntry> run;
  for (std::optional<KeyEntry> e = TagStep(from, true);
       e && e->key.starts_with(prefix) && run.size() < max; e = TagStep(*e, true)) {
    run.push_back(*e);
  }
  return run;
}

std::optional<KeyEntry> Cursor::CurrentEntry() {
  if (position_ && position_->recno == recno_) return position_;
  std::optional<std::string> key = table_->KeyOf(order_, record_, recno_, /*ignore_for=*/true);
  return KeyEntry{*key, recno_};
}

bool Cursor::SettleOnTag(std::optional<KeyEntry> entry, bool forward) {
  while (entry) {
    if (table_->ReadRecord(entry->recno, record_) && Visible()) {
      recno_ = entry->recno;
      original_ = record_;
      eof_ = false;
      position_ = entry;
      return true;
    }
    entry = TagStep(*entry, forward);
  }
  return false;
}

bool Cursor::SettlePhysical(uint32_t recno, bool forward) {
  while (table_->RecordExists(recno)) {
    if (table_->ReadRecord(recno, record_) && Visible()) {
      recno_ = recno;
      original_ = record_;
      eof_ = false;
      position_.reset();
      return true;
    }
    recno = forward ? recno + 1 : recno - 1;
  }
  return false;
}

void Cursor::GoTop() { GoEnd(true); }

void Cursor::GoBottom() { GoEnd(false); }

void Cursor::GoEnd(bool top) {
  RequireOpen();
  FlushRecord();
  found_ = bof_ = false;
  bool any;
  if (order_ >= 0) {
    IndexLockGuard lock(*table_, false);
    any = SettleOnTag(TagFirst(top), top);
  } else {
    any = SettlePhysical(top ? 1 : table_->RecordCount(), top);
  }
  if (!any) {
    SetEof();
    bof_ = true;
  }
}

void Cursor::GoTo(uint32_t recno) {
  RequireOpen();
  FlushRecord();
  found_ = bof_ = false;
  Load(recno);
  position_.reset();
}

void Cursor::Skip(int64_t n) {
  RequireOpen();
  FlushRecord();
  found_ = false;
  bof_ = false;
  if (n == 0) {
    Load(recno_);
    return;
  }
  bool forward = n > 0;
  uint64_t steps = forward ? static_cast<uint64_t>(n) : static_cast<uint64_t>(-(n + 1)) + 1;
  if (order_ >= 0) {
    IndexLockGuard lock(*table_, false);
    for (; steps > 0; --steps) {
      if (eof_) {
        if (forward) return;
        // From the end of file one step back is the last record.
        if (!SettleOnTag(TagFirst(false), false)) {
          bof_ = true;
          return;
        }
        continue;
      }
      KeyEntry here = *CurrentEntry();
      uint32_t here_recno = recno_;
      if (!SettleOnTag(TagStep(here, forward), forward)) {
        if (forward) {
          SetEof();
          return;
        }
        Load(here_recno);  // stays on the first record
        position_ = here;
        bof_ = true;
        return;
      }
    }
    return;
  }
  for (; steps > 0; --steps) {
    if (eof_ && forward) return;
    uint32_t here = recno_;
    uint32_t start = eof_ ? table_->RecordCount() : (forward ? recno_ + 1 : recno_ - 1);
    if (!SettlePhysical(start, forward)) {
      if (forward) {
        SetEof();
        return;
      }
      if (!eof_) Load(here);
      bof_ = true;
      return;
    }
  }
}

size_t Cursor::ReadRun(std::string_view key_prefix, size_t max_records,
                       std::vector<RunRecord>& out) {
  RequireOpen();
  if (order_ < 0) {
    throw Error(ErrorKind::kArgument, table_->path(), "reading ahead needs a controlling tag");
  }
  FlushRecord();
  found_ = bof_ = false;
  if (eof_ || max_records == 0) return 0;
  IndexLockGuard lock(*table_, false);
  KeyEntry last = *CurrentEntry();
  if (!last.key.starts_with(key_prefix)) return 0;
  out.push_back({recno_, record_});
  size_t count = 1;
  KeyEntry collected = last;  // the last entry taken from the index
  std::string block;
  while (count < max_records) {
    // The next stretch of the run from the index alone; deleted records may leave it short.
    const std::vector<KeyEntry> ahead = TagRun(collected, key_prefix, max_records - count);
    if (ahead.empty()) break;
    collected = ahead.back();
    // Records next to each other in the file (the lines of one posting) come in one read.
    for (size_t first = 0; first < ahead.size() && count < max_records;) {
      size_t end = first + 1;
      while (end < ahead.size() && ahead[end].recno == ahead[end - 1].recno + 1) ++end;
      const uint32_t got =
          table_->ReadRecords(ahead[first].recno, static_cast<uint32_t>(end - first), block);
      const size_t length = record_.size();
      for (size_t i = first; i < first + got && count < max_records; ++i) {
        const size_t at = (i - first) * length;
        if (hide_deleted_ && block[at] == '*') continue;
        out.push_back({ahead[i].recno, block.substr(at, length)});
        last = ahead[i];
        ++count;
      }
      first = end;
    }
  }
  // Where as many skips would have left the cursor: the first visible record after the last read.
  if (!SettleOnTag(TagStep(last, true), true)) SetEof();
  return count;
}

bool Cursor::Seek(const Value& key, bool soft) {
  RequireOpen();
  if (order_ < 0) throw Error(ErrorKind::kArgument, table_->path(), "seek needs a controlling tag");
  if (key.type != table_->tags()[order_].key_type) {
    throw Error(ErrorKind::kArgument, table_->path(),
                "seek value does not match the type of tag " + table_->tag_info(order_).name);
  }
  if (key.type == ValueType::kCharacter) return SeekBytes(key.str, soft);
  return SeekBytes(EncodeKey(key, table_->tag_info(order_).key_length), soft);
}

bool Cursor::SeekBytes(const std::string& key_bytes, bool soft) {
  RequireOpen();
  if (order_ < 0) throw Error(ErrorKind::kArgument, table_->path(), "seek needs a controlling tag");
  FlushRecord();
  found_ = bof_ = false;
  const TagInfo& info = table_->tag_info(order_);
  std::string prefix = key_bytes.substr(0, static_cast<size_t>(info.key_length));
  IndexLockGuard lock(*table_, false);
  CdxIndex& cdx = *table_->index();
  int tag = table_->tags()[order_].cdx_index;
  // The first entry in the cursor's order whose key begins with the prefix, or would follow it.
  std::optional<KeyEntry> entry;
  if (info.descending) {
    std::string above = prefix;
    above.resize(static_cast<size_t>(info.key_length), '\xFF');
    entry = cdx.Prev(tag, {above, UINT32_MAX});
  } else {
    entry = cdx.SeekPrefix(tag, prefix);
  }
  bool settled = entry && SettleOnTag(entry, true);
  if (settled && StartsWith(position_->key, prefix)) {
    found_ = true;
    return true;
  }
  if (soft && settled) return false;
  SetEof();
  return false;
}

}  // namespace xbase
