#pragma once
// Table handles: `USE` opens a table of the hotel database in the lowest free work area and
// returns its handle; `KILLTABLA` closes it. Every table is opened with deleted records hidden.
// A blocked open (another station holds the file in a way that forbids sharing) is retried every
// 100 ms without limit, with the alert "No se puede abrir archivo: " + path after 5 s.
// Other failures (missing file, missing tag, a field the program needs missing from the table)
// are raised as DataError, offered first to the error handler, which may have the open run again.

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xbase/cursor.h"
#include "platform/xbase/field.h"
#include "platform/xbase/value.h"

namespace data {

class WTable {
 public:
  std::any Cargo;      // free slot for the caller; empty after the open
  std::string Alias;   // the work area's alias (see AliasFor)
  int Area = 0;        // the work area number, from 1
  std::string Name;    // file name without folder or extension, upper case
  std::string RDD;     // the driver the open used
  int SEARCH_TXT = 0;  // 1 when the table feeds the word index
  std::any oParent;    // the owner given to the open; kept for reference only

  WTable() = default;
  virtual ~WTable();  // closes the table if the handle is still open
  WTable(const WTable&) = delete;
  WTable& operator=(const WTable&) = delete;

  // Opens the table (the arguments of USE); the new table's area becomes the selected one.
  void Init(std::any owner, std::string_view table, std::string_view tag, bool shared,
            bool read_only, std::string_view folder, std::optional<std::string> driver,
            bool absolute, std::string_view root);
  // Closes the table and clears its word-index registration; the selection is left as it was.
  void Axit();
};

class WDBTable : public WTable {
 public:
  // Each operation runs on this handle's own cursor and leaves the selected area as it was.
  bool Append();  // no waiting: false (and NETERR set) when the new record's lock was refused
  void Commit();
  std::vector<xbase::FieldInfo> DBStruct();
  void Delete();
  bool Eof();
  bool Bof();
  int FCount();
  xbase::Value FieldGet(int field);  // 1-based
  xbase::Value FieldGet(std::string_view name);
  std::string FieldName(int field);     // 1-based; "" when out of range
  int FieldPos(std::string_view name);  // 1-based; 0 when absent
  void FieldPut(int field, const xbase::Value& value);
  void FieldPut(std::string_view name, const xbase::Value& value);
  bool FLock();
  bool Found();
  void GoBottom();
  void GoTo(uint32_t recno);
  void GoTop();
  uint32_t LastRec();
  uint32_t RecCount();
  uint32_t RecNo();
  void RecNo(uint32_t recno);  // positions on the record, as GoTo
  bool RLock();
  // Seeks on the controlling tag; a character key shorter than the tag's key matches as a prefix.
  bool Seek(const xbase::Value& key, bool soft = false);
  // The second argument counts as the soft flag only when it is logical; any other is ignored.
  bool Seek(const xbase::Value& key, const xbase::Value& second);
  bool Seek(const std::string& key, bool soft = false);
  bool Seek(const std::string& key, const xbase::Value& second);
  void Skip(int64_t n = 1);
  // Reads ahead on the controlling tag under one index lock (see xbase::Cursor::ReadRun).
  size_t ReadRun(std::string_view key_prefix, size_t max_records,
                 std::vector<xbase::RunRecord>& out);
  void Unlock();
  bool Used();
};

using TableHandle = std::shared_ptr<WDBTable>;

// Opens `table` (blanks trimmed, cut to 8) from root + folder in the lowest free area, makes
// `tag` its controlling tag when not empty, selects it and returns its handle. `folder` gets a
// trailing backslash when it lacks one; backslashes stand for the platform's separator. Without
// `absolute` the root is the program directory (settings PATH), and the active user's data
// sub-folder (XDBACCESS[0]) is used when the table exists there.
TableHandle USE(std::any owner, std::string_view table, std::string_view tag = "",
                bool shared = true, bool read_only = false, std::string_view folder = "BASES\\",
                std::optional<std::string> driver = std::nullopt, bool absolute = false,
                std::string_view root = "");

// Closes the handle's table (an empty handle is ignored). The handle must not be used afterwards.
void KILLTABLA(const TableHandle& handle);

}  // namespace data
