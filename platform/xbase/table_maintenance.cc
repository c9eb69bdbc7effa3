#include "platform/xbase/table_maintenance.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "platform/xbase/cdx_index.h"
#include "platform/xbase/dbf_header.h"
#include "platform/xbase/error.h"
#include "platform/xbase/expression.h"
#include "platform/xbase/field_codec.h"
#include "platform/xbase/file.h"
#include "platform/xbase/key_codec.h"
#include "platform/xbase/memo_file.h"
#include "platform/xbase/table.h"

namespace xbase {
namespace {

constexpr size_t kMaxProblemsPerTag = 50;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The memo or index file beside a table: same base name, extension in the table's letter case.
std::string CompanionPath(const std::string& dbf_path, std::string ext) {
  auto [dir, name] = SplitPath(dbf_path);
  auto dot = name.rfind('.');
  bool lower = dot != std::string::npos && dot + 1 < name.size() &&
               std::islower(static_cast<unsigned char>(name[dot + 1]));
  if (dot != std::string::npos) name.resize(dot);
  if (lower) {
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return (dir.empty() ? "" : dir + "/") + name + ext;
}

std::shared_ptr<Table> OpenExclusive(const std::string& path) {
  return Table::Open(ResolveTablePath(path), {ShareMode::kExclusive, false});
}

// Every record's key in `tag`, sorted as the index keeps them.
std::vector<KeyEntry> CollectKeys(Table& table, int tag) {
  std::vector<KeyEntry> entries;
  std::string record;
  uint32_t count = table.RecordCount();
  entries.reserve(count);
  for (uint32_t r = 1; r <= count; ++r) {
    if (!table.ReadRecord(r, record)) break;
    if (auto key = table.KeyOf(tag, record, r)) entries.push_back({std::move(*key), r});
  }
  std::sort(entries.begin(), entries.end(), [](const KeyEntry& a, const KeyEntry& b) {
    return a.key != b.key ? a.key < b.key : a.recno < b.recno;
  });
  if (table.tag_info(tag).unique) {
    auto last = std::unique(entries.begin(), entries.end(),
                            [](const KeyEntry& a, const KeyEntry& b) { return a.key == b.key; });
    entries.erase(last, entries.end());
  }
  return entries;
}

void RebuildTag(Table& table, int tag) {
  if (!table.tags()[tag].key)
    throw Error(ErrorKind::kExpression, table.path(), table.tags()[tag].problem);
  table.index()->BuildTag(table.tags()[tag].cdx_index, CollectKeys(table, tag));
}

// The key length and type a new tag's expression gives on a blank record.
std::pair<int, ValueType> KeyShape(const Table& table, const TagSpec& spec) {
  Expression key = Expression::Parse(spec.key_expr, table.fields(), table.name());
  if (!spec.for_expr.empty()) Expression::Parse(spec.for_expr, table.fields(), table.name());
  struct Blank : RecordView {
    const Schema& fields;
    explicit Blank(const Schema& f) : fields(f) {}
    Value Field(int i) const override { return BlankValue(fields[i]); }
    bool Deleted() const override { return false; }
    uint32_t RecNo() const override { return 1; }
  } blank(table.fields());
  Value v = key.Evaluate(blank);
  switch (v.type) {
    case ValueType::kCharacter:
      if (v.str.empty() || v.str.size() > 240) {
        throw Error(ErrorKind::kExpression, table.path(),
                    "key \"" + spec.key_expr + "\" gives " + std::to_string(v.str.size()) +
                        " bytes; a key needs 1 to 240");
      }
      return {static_cast<int>(v.str.size()), v.type};
    case ValueType::kLogical:
      return {1, v.type};
    default:
      return {8, v.type};
  }
}

void SetStructuralFlag(const std::string& dbf_path) {
  File dbf = File::Open(dbf_path, false, ShareMode::kExclusive);
  unsigned char flags = 0;
  dbf.ReadExact(28, &flags, 1, "the table header");
  flags |= 0x01;
  dbf.Write(28, &flags, 1);
}

void ValidateSpec(const TagSpec& spec, const std::string& path) {
  if (spec.name.empty() || spec.name.size() > 10) {
    throw Error(ErrorKind::kArgument, path,
                "tag name \"" + spec.name + "\" must have 1 to 10 characters");
  }
}

}  // namespace

void CreateTable(const std::string& path, const Schema& fields, const std::vector<TagSpec>& tags) {
  std::string dbf_path = WithTableExtension(path);
  if (fields.empty())
    throw Error(ErrorKind::kArgument, dbf_path, "a table needs at least one field");
  DbfHeader header;
  header.fields = fields;
  for (FieldInfo& f : header.fields) {
    f.name = Upper(f.name);
    if (f.name.empty() || f.name.size() > 10) {
      throw Error(ErrorKind::kArgument, dbf_path,
                  "field name \"" + f.name + "\" must have 1 to 10 characters");
    }
    if (!IsWritableType(f.type)) {
      throw Error(ErrorKind::kArgument, dbf_path,
                  std::string("field type ") + f.type + " cannot be created");
    }
    switch (f.type) {
      case 'D':
        f.length = 8;
        break;
      case 'L':
        f.length = 1;
        break;
      case 'M':
        f.length = 10;
        break;
      case 'I':
        f.length = 4;
        break;
      default:
        break;
    }
    int max_length = f.type == 'C' ? 65535 : 20;
    if (f.length < 1 || f.length > max_length || f.decimals < 0 ||
        (f.decimals > 0 && f.decimals + 2 > f.length)) {
      throw Error(ErrorKind::kArgument, dbf_path,
                  "field " + f.name + " has an impossible width " + std::to_string(f.length) + "/" +
                      std::to_string(f.decimals));
    }
  }
  for (const TagSpec& t : tags) ValidateSpec(t, dbf_path);
  if (!tags.empty()) header.flags |= 0x01;
  std::string bytes = BuildDbfHeader(header);
  bytes.push_back(0x1A);
  {
    File dbf = File::Create(dbf_path);
    if (header.HasFptMemo()) {
      File fpt = File::Create(CompanionPath(dbf_path, ".FPT"));
      MemoFile::CreateEmpty(fpt);
    }
    if (!tags.empty()) {
      File cdx = File::Create(CompanionPath(dbf_path, ".CDX"));
      CdxIndex::CreateEmpty(cdx);
    }
    dbf.Write(0, bytes.data(), bytes.size());
  }
  for (const TagSpec& t : tags) CreateTag(dbf_path, t);
}

void CreateTag(const std::string& path, const TagSpec& spec) {
  std::string dbf_path = ResolveTablePath(path);
  ValidateSpec(spec, dbf_path);
  {
    File dbf = File::Open(dbf_path, true, ShareMode::kExclusive);
    if (!ReadDbfHeader(dbf).HasStructuralIndex()) {
      File cdx = File::Create(CompanionPath(dbf_path, ".CDX"));
      CdxIndex::CreateEmpty(cdx);
      dbf = File();
      SetStructuralFlag(dbf_path);
    }
  }
  std::shared_ptr<Table> table = OpenExclusive(dbf_path);
  table->RequireWritable();
  std::string name = Upper(spec.name);
  if (table->FindTag(name) >= 0)
    throw Error(ErrorKind::kArgument, dbf_path, "tag " + name + " exists already");
  auto [length, type] = KeyShape(*table, spec);
  table->index()->AddTag(name, spec.key_expr, spec.for_expr, length, KeyFillByte(type), spec.unique,
                         spec.descending);
  table->ReloadTags();
  RebuildTag(*table, table->FindTag(name));
}

void Reindex(const std::string& path) {
  std::shared_ptr<Table> table = OpenExclusive(path);
  table->RequireWritable();
  for (int t = 0; t < static_cast<int>(table->tags().size()); ++t) RebuildTag(*table, t);
}

std::vector<VerifyReport> Verify(const std::string& path) {
  std::shared_ptr<Table> table = Table::Open(ResolveTablePath(path), {ShareMode::kShared, false});
  constexpr int kVerifier = -1;
  if (!table->LockFile(kVerifier)) {
    throw Error(ErrorKind::kLock, table->path(),
                "table is locked by another user; try again later");
  }
  std::vector<VerifyReport> reports;
  try {
    IndexLockGuard index_lock(*table, false);
    for (int t = 0; t < static_cast<int>(table->tags().size()); ++t) {
      const TagInfo& info = table->tag_info(t);
      VerifyReport report{info.name, {}};
      auto note = [&](std::string problem) {
        if (report.problems.size() < kMaxProblemsPerTag)
          report.problems.push_back(std::move(problem));
      };
      if (!table->tags()[t].key) {
        note(table->tags()[t].problem);
        reports.push_back(std::move(report));
        continue;
      }
      int cdx_tag = table->tags()[t].cdx_index;
      for (std::string& p : table->index()->CheckStructure(cdx_tag)) note(std::move(p));
      std::vector<KeyEntry> expected = CollectKeys(*table, t);
      std::vector<KeyEntry> stored;
      table->index()->ForEach(cdx_tag, [&](const KeyEntry& e) { stored.push_back(e); });
      std::vector<uint32_t> seen(table->RecordCount() + 2, 0);
      for (const KeyEntry& e : stored) {
        if (e.recno == 0 || e.recno >= seen.size() - 1) {
          note("entry points at record " + std::to_string(e.recno) + ", which does not exist");
        } else if (++seen[e.recno] == 2) {
          note("record " + std::to_string(e.recno) + " appears more than once");
        }
      }
      auto less = [](const KeyEntry& a, const KeyEntry& b) {
        return a.key != b.key ? a.key < b.key : a.recno < b.recno;
      };
      std::sort(stored.begin(), stored.end(), less);
      std::vector<KeyEntry> missing, extra;
      std::set_difference(expected.begin(), expected.end(), stored.begin(), stored.end(),
                          std::back_inserter(missing), less);
      std::set_difference(stored.begin(), stored.end(), expected.begin(), expected.end(),
                          std::back_inserter(extra), less);
      for (const KeyEntry& e : missing) {
        note("record " + std::to_string(e.recno) + " has no entry with its key");
      }
      for (const KeyEntry& e : extra) {
        note("entry for record " + std::to_string(e.recno) +
             " holds a key that is not its expression's value");
      }
      reports.push_back(std::move(report));
    }
    index_lock.Release();
  } catch (...) {
    table->UnlockFile(kVerifier);
    throw;
  }
  table->UnlockFile(kVerifier);
  return reports;
}

}  // namespace xbase
