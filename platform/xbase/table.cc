#include "platform/xbase/table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/xbase/error.h"
#include "platform/xbase/field_codec.h"
#include "platform/xbase/key_codec.h"
#include "platform/xbase/lock_layout.h"

namespace xbase {
namespace {

using Identity = std::pair<uint64_t, uint64_t>;

// Tables open in this process, by file identity.
std::map<Identity, std::weak_ptr<Table>>& Registry() {
  static std::map<Identity, std::weak_ptr<Table>> registry;
  return registry;
}

std::string UpperBaseName(const std::string& path) {
  std::string base = SplitPath(path).second;
  if (auto dot = base.rfind('.'); dot != std::string::npos) base.resize(dot);
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return base;
}

// The file beside `dbf_path` with the same base name and extension `ext`, any case.
std::optional<std::string> Companion(const std::string& dbf_path, const char* ext) {
  auto [dir, file] = SplitPath(dbf_path);
  if (auto dot = file.rfind('.'); dot != std::string::npos) file.resize(dot);
  return FindFileNoCase(dir, file + ext);
}

// What the expression engine sees of a record held in a buffer.
class BufferRecord : public RecordView {
 public:
  BufferRecord(Table& table, const std::string& record, uint32_t recno)
      : table_(table), record_(record), recno_(recno) {}
  Value Field(int index) const override {
    const FieldInfo& f = table_.fields()[index];
    if (f.type == 'M') {
      return Value::Character(table_.ReadMemo(DecodeMemoBlock(f, record_.data(), table_.path())));
    }
    return DecodeField(f, record_.data());
  }
  bool Deleted() const override { return record_[0] == '*'; }
  uint32_t RecNo() const override { return recno_; }

 private:
  Table& table_;
  const std::string& record_;
  uint32_t recno_;
};

}  // namespace

std::string WithTableExtension(const std::string& path) {
  if (SplitPath(path).second.find('.') == std::string::npos) return path + ".DBF";
  return path;
}

std::string ResolveTablePath(const std::string& path) {
  auto [dir, name] = SplitPath(WithTableExtension(path));
  if (auto found = FindFileNoCase(dir, name)) return *found;
  throw Error(ErrorKind::kOpen, WithTableExtension(path), "table does not exist", 2);
}

std::shared_ptr<Table> Table::Open(const std::string& dbf_path, const OpenOptions& options) {
  std::optional<Identity> id = PathIdentity(dbf_path);
  if (!id) throw Error(ErrorKind::kOpen, dbf_path, "table does not exist", 2);
  auto& registry = Registry();
  if (auto it = registry.find(*id); it != registry.end()) {
    if (auto existing = it->second.lock()) {
      if (existing->exclusive() || options.mode == ShareMode::kExclusive) {
        throw Error(ErrorKind::kSharingViolation, dbf_path,
                    "table is already open in this program in a mode that forbids this open", 32);
      }
      if (existing->read_only() && !options.read_only) {
        throw Error(ErrorKind::kReadOnly, dbf_path,
                    "table is already open read-only in this program");
      }
      return existing;
    }
  }
  File dbf = File::Open(dbf_path, options.read_only, options.mode);
  std::shared_ptr<Table> table(new Table(std::move(dbf), options));
  table->identity_ = *id;
  registry[*id] = table;
  return table;
}

Table::Table(File dbf, const OpenOptions& options)
    : dbf_(std::move(dbf)), mode_(options.mode), read_only_(options.read_only) {
  name_ = UpperBaseName(dbf_.path());
  header_ = ReadDbfHeader(dbf_);
  OpenCompanions();
  CompileTags();
  cached_count_ = header_.RecordCountForSize(dbf_.Size());
  if (exclusive()) exclusive_cache_.emplace(dbf_);
}

Table::~Table() {
  auto& registry = Registry();
  if (auto it = registry.find(identity_); it != registry.end() && it->second.expired()) {
    registry.erase(it);
  }
  if (exclusive() && !read_only_) {
    try {
      WriteEndOfFileMark();
    } catch (const Error& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
  }
}

void Table::OpenCompanions() {
  if (header_.HasFptMemo()) {
    auto fpt = Companion(dbf_.path(), ".FPT");
    if (!fpt) throw Error(ErrorKind::kOpen, dbf_.path(), "its memo file (.FPT) is missing", 2);
    memo_.emplace(File::Open(*fpt, read_only_, mode_));
  }
  if (header_.HasStructuralIndex()) {
    auto cdx = Companion(dbf_.path(), ".CDX");
    if (!cdx) {
      write_refusal_ = "its structural index (.CDX) is missing; writing would leave it stale";
      return;
    }
    cdx_file_.emplace(File::Open(*cdx, read_only_, mode_));
    if (!exclusive()) cdx_file_->WaitLock(kIndexLockRange.offset, kIndexLockRange.length, false);
    try {
      cdx_ = std::make_unique<CdxIndex>(*cdx_file_);
    } catch (...) {
      if (!exclusive()) cdx_file_->Unlock(kIndexLockRange.offset, kIndexLockRange.length);
      throw;
    }
    if (!exclusive()) cdx_file_->Unlock(kIndexLockRange.offset, kIndexLockRange.length);
  }
}

void Table::CompileTags() {
  tags_.clear();
  if (!cdx_) return;
  std::string blank = BlankRecord(header_.fields, header_.record_length);
  for (size_t i = 0; i < cdx_->tags().size(); ++i) {
    const TagInfo& info = cdx_->tags()[i];
    TagState state;
    state.cdx_index = static_cast<int>(i);
    try {
      state.key = Expression::Parse(info.key_expr, header_.fields, name_);
      if (!info.for_expr.empty()) {
        state.for_condition = Expression::Parse(info.for_expr, header_.fields, name_);
      }
      Value sample = state.key->Evaluate(BufferRecord(*this, blank, 0));
      state.key_type = sample.type;
      cdx_->SetFillByte(state.cdx_index, KeyFillByte(sample.type));
    } catch (const Error& e) {
      state.key.reset();
      state.problem = "tag " + info.name + " (key \"" + info.key_expr + "\"" +
                      (info.for_expr.empty() ? "" : ", FOR \"" + info.for_expr + "\"") +
                      ") cannot be evaluated: " + e.what();
      if (write_refusal_.empty()) write_refusal_ = state.problem;
    }
    tags_.push_back(std::move(state));
  }
}

int Table::FindTag(std::string_view name) const { return cdx_ ? cdx_->FindTag(name) : -1; }

void Table::RequireWritable() const {
  if (read_only_) throw Error(ErrorKind::kReadOnly, path(), "table is open read-only");
  if (!write_refusal_.empty()) {
    throw Error(ErrorKind::kReadOnly, path(), "table cannot be written: " + write_refusal_);
  }
}

uint32_t Table::RecordCount() {
  if (!exclusive()) cached_count_ = header_.RecordCountForSize(dbf_.Size());
  return cached_count_;
}

bool Table::RecordExists(uint32_t recno) {
  if (recno == 0) return false;
  return recno <= cached_count_ || recno <= RecordCount();
}

bool Table::ReadRecord(uint32_t recno, std::string& out) { return ReadRecords(recno, 1, out) == 1; }

uint32_t Table::ReadRecords(uint32_t first, uint32_t count, std::string& out) {
  const size_t length = header_.record_length;
  out.resize(length * count);
  if (first == 0) return 0;
  uint64_t offset = header_.RecordOffset(first);
  size_t got = exclusive_cache_ ? exclusive_cache_->Read(offset, out.data(), out.size())
                                : dbf_.Read(offset, out.data(), out.size());
  return static_cast<uint32_t>(got / length);
}

void Table::WriteRecord(uint32_t recno, const std::string& record) {
  uint64_t offset = header_.RecordOffset(recno);
  if (exclusive_cache_) {
    exclusive_cache_->Write(offset, record.data(), record.size());
  } else {
    dbf_.Write(offset, record.data(), record.size());
  }
}

uint32_t Table::AppendBlank(int owner) {
  LockRange header_lock = HeaderLockRange(header_);
  if (!exclusive()) dbf_.WaitLock(header_lock.offset, header_lock.length, true);
  uint32_t recno = 0;
  try {
    uint32_t count = header_.RecordCountForSize(dbf_.Size());
    if (LockRecord(owner, count + 1)) {
      std::string blank = BlankRecord(header_.fields, header_.record_length);
      WriteRecord(count + 1, blank);
      WriteHeaderCount(dbf_, count + 1);
      recno = count + 1;
      cached_count_ = recno;
    }
  } catch (...) {
    if (!exclusive()) dbf_.Unlock(header_lock.offset, header_lock.length);
    throw;
  }
  if (!exclusive()) dbf_.Unlock(header_lock.offset, header_lock.length);
  return recno;
}

std::optional<std::string> Table::KeyOf(int tag, const std::string& record, uint32_t recno,
                                        bool ignore_for) {
  const TagState& state = tags_[tag];
  if (!state.key) throw Error(ErrorKind::kExpression, path(), state.problem);
  BufferRecord view(*this, record, recno);
  if (state.for_condition && !ignore_for) {
    Value keep = state.for_condition->Evaluate(view);
    if (keep.type != ValueType::kLogical) {
      throw Error(ErrorKind::kExpression, path(),
                  "FOR condition of tag " + tag_info(tag).name + " is not a logical expression");
    }
    if (!keep.logical) return std::nullopt;
  }
  return EncodeKey(state.key->Evaluate(view), tag_info(tag).key_length);
}

std::string Table::ReadMemo(uint32_t block) {
  if (block == 0) return {};
  if (!memo_) {
    throw Error(ErrorKind::kUnsupported, path(),
                header_.HasDbtMemo() ? "memo files of this kind (.DBT) are not supported"
                                     : "table has no memo file");
  }
  return memo_->Read(block);
}

uint32_t Table::WriteMemo(const std::string& text, uint32_t old_block) {
  if (!memo_) throw Error(ErrorKind::kUnsupported, path(), "table has no writable memo file");
  return memo_->Write(text, old_block);
}

bool Table::LockRecord(int owner, uint32_t recno) {
  if (auto it = record_locks_.find(recno); it != record_locks_.end()) return it->second == owner;
  if (file_lock_owner_ != 0 && file_lock_owner_ != owner) return false;
  if (!exclusive() && file_lock_owner_ == 0) {
    LockRange r = RecordLockRange(header_, recno);
    if (!dbf_.TryLock(r.offset, r.length, true)) return false;
  }
  record_locks_[recno] = owner;
  return true;
}

void Table::UnlockRecord(int owner, uint32_t recno) {
  auto it = record_locks_.find(recno);
  if (it == record_locks_.end() || it->second != owner) return;
  record_locks_.erase(it);
  // Under our own file lock the record's byte was never locked separately.
  if (!exclusive() && file_lock_owner_ == 0) {
    LockRange r = RecordLockRange(header_, recno);
    dbf_.Unlock(r.offset, r.length);
  }
}

bool Table::HoldsRecord(int owner, uint32_t recno) const {
  auto it = record_locks_.find(recno);
  return it != record_locks_.end() && it->second == owner;
}

bool Table::LockFile(int owner) {
  if (file_lock_owner_ == owner) return true;
  if (file_lock_owner_ != 0) return false;
  for (const auto& [recno, holder] : record_locks_) {
    if (holder != owner) return false;
  }
  if (!exclusive()) {
    LockRange r = FileLockRange(header_);
    // The file range covers the record bytes; our own record locks merge into it.
    if (!dbf_.TryLock(r.offset, r.length, true)) return false;
  }
  file_lock_owner_ = owner;
  return true;
}

void Table::UnlockFile(int owner) {
  if (file_lock_owner_ != owner) return;
  file_lock_owner_ = 0;
  if (!exclusive()) {
    LockRange r = FileLockRange(header_);
    dbf_.Unlock(r.offset, r.length);
    // Record locks this cursor took before the file lock lost their bytes with the unlock.
    for (auto it = record_locks_.begin(); it != record_locks_.end();) {
      if (it->second == owner) {
        it = record_locks_.erase(it);
      } else {
        ++it;
      }
    }
  }
}

void Table::AcquireIndexLock(bool write) {
  if (exclusive() || !cdx_) return;
  if (index_lock_depth_ > 0) {
    if (write && !index_lock_write_) {
      cdx_file_->WaitLock(kIndexLockRange.offset, kIndexLockRange.length, true);
      index_lock_write_ = true;
    }
    ++index_lock_depth_;
    return;
  }
  cdx_file_->WaitLock(kIndexLockRange.offset, kIndexLockRange.length, write);
  index_lock_depth_ = 1;
  index_lock_write_ = write;
  try {
    cdx_->Refresh();
  } catch (...) {
    ReleaseIndexLock();
    throw;
  }
}

void Table::ReleaseIndexLock() {
  if (exclusive() || !cdx_) return;
  if (--index_lock_depth_ > 0) return;
  if (index_changed_) {
    index_changed_ = false;
    try {
      cdx_->MarkChanged();
    } catch (...) {
      cdx_file_->Unlock(kIndexLockRange.offset, kIndexLockRange.length);
      throw;
    }
  }
  cdx_file_->Unlock(kIndexLockRange.offset, kIndexLockRange.length);
  index_lock_write_ = false;
}

IndexLockGuard::~IndexLockGuard() {
  if (!held_) return;
  try {
    table_.ReleaseIndexLock();
  } catch (const Error& e) {
    // Reached only while another error unwinds; the lock itself is released either way.
    std::fprintf(stderr, "%s\n", e.what());
  }
}

void Table::WriteEndOfFileMark() {
  uint64_t end = header_.RecordOffset(cached_count_ + 1);
  char mark = 0x1A;
  char last = 0;
  if (dbf_.Read(end, &last, 1) == 1 && last == mark) return;
  dbf_.Write(end, &mark, 1);
}

}  // namespace xbase
