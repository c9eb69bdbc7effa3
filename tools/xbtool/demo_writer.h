#pragma once
// Fills freshly created demo tables: one exclusive cursor per table, records appended with the
// given field values.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/xbase/cursor.h"
#include "platform/xbase/value.h"

namespace xbtool {

using FieldValues = std::vector<std::pair<const char*, xbase::Value>>;

inline xbase::Value Text(std::string s) { return xbase::Value::Character(std::move(s)); }
inline xbase::Value Number(double n) { return xbase::Value::Numeric(n); }
inline xbase::Value Day(int64_t julian) { return xbase::Value::Date(julian); }

class DemoWriter {
 public:
  explicit DemoWriter(std::string folder) : folder_(std::move(folder)) {}
  // Appends a record to `table`; returns its record number.
  uint32_t Add(const std::string& table, const FieldValues& values);
  // Changes fields of record `recno` of `table`.
  void Change(const std::string& table, uint32_t recno, const FieldValues& values);
  // Records in `table` so far.
  uint32_t Count(const std::string& table) { return CursorOf(table).RecCount(); }
  // Flags record `recno` of `table` as deleted.
  void Delete(const std::string& table, uint32_t recno);
  // Writes and closes every table.
  void Close();

 private:
  xbase::Cursor& CursorOf(const std::string& table);

  std::string folder_;
  std::map<std::string, std::unique_ptr<xbase::Cursor>> cursors_;
};

// Creates every table of the layouts in `folder` and fills the demo database; `today` is the
// hotels' business date (a Julian day). `more`, when given, adds records after the demo's own.
// The index tags are built once every record is in, so large fillings stay fast.
void CreateDemoDatabase(const std::string& folder, int64_t today,
                        const std::function<void(DemoWriter&)>& more = {});

// The demo's parts, each filling its own tables.
void AddDemoSettings(DemoWriter& out, int64_t today);
void AddDemoStaysAndFolios(DemoWriter& out, int64_t today);

}  // namespace xbtool
