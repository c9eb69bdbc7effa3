// The cursor operations of a table handle: each selects the handle's area for its own duration.
#include <utility>

#include "lib/data/data_error.h"
#include "lib/data/work_areas.h"
#include "lib/data/wtable.h"
#include "platform/xbase/error.h"

namespace data {
namespace {

// Runs `operation` on the cursor of `area` with that area selected; engine failures become
// DataError, offered to the error handler, which may have the operation run again.
template <typename Operation>
auto OnCursor(int area, const char* name, Operation&& operation) {
  return RunOfferingRetry([&] {
    AreaSelection selection(area);
    WorkArea& work_area = SelectedWorkArea();
    try {
      return operation(*work_area.cursor);
    } catch (const xbase::Error& e) {
      throw FromEngineError(e, work_area.driver, name);
    }
  });
}

}  // namespace

bool WDBTable::Append() {
  return OnCursor(Area, "Append", [](xbase::Cursor& c) {
    bool appended = c.Append();
    SetNetErr(!appended);
    return appended;
  });
}

void WDBTable::Commit() {
  OnCursor(Area, "Commit", [](xbase::Cursor& c) { c.Commit(); });
}

std::vector<xbase::FieldInfo> WDBTable::DBStruct() {
  return OnCursor(Area, "DBStruct", [](xbase::Cursor& c) { return c.fields(); });
}

void WDBTable::Delete() {
  OnCursor(Area, "Delete", [](xbase::Cursor& c) { c.Delete(); });
}

bool WDBTable::Eof() {
  return OnCursor(Area, "EOF", [](xbase::Cursor& c) { return c.Eof(); });
}

bool WDBTable::Bof() {
  return OnCursor(Area, "BOF", [](xbase::Cursor& c) { return c.Bof(); });
}

int WDBTable::FCount() {
  return OnCursor(Area, "FCount", [](xbase::Cursor& c) { return c.FieldCount(); });
}

xbase::Value WDBTable::FieldGet(int field) {
  return OnCursor(Area, "FieldGet", [&](xbase::Cursor& c) { return c.Get(field - 1); });
}

xbase::Value WDBTable::FieldGet(std::string_view name) {
  return OnCursor(Area, "FieldGet", [&](xbase::Cursor& c) { return c.Get(name); });
}

std::string WDBTable::FieldName(int field) {
  return OnCursor(Area, "FieldName", [&](xbase::Cursor& c) {
    return field >= 1 && field <= c.FieldCount() ? c.fields()[field - 1].name : std::string();
  });
}

int WDBTable::FieldPos(std::string_view name) {
  return OnCursor(Area, "FieldPos", [&](xbase::Cursor& c) { return c.FieldIndex(name) + 1; });
}

void WDBTable::FieldPut(int field, const xbase::Value& value) {
  OnCursor(Area, "FieldPut", [&](xbase::Cursor& c) { c.Put(field - 1, value); });
}

void WDBTable::FieldPut(std::string_view name, const xbase::Value& value) {
  OnCursor(Area, "FieldPut", [&](xbase::Cursor& c) { c.Put(name, value); });
}

bool WDBTable::FLock() {
  return OnCursor(Area, "FLock", [](xbase::Cursor& c) { return c.FLock(); });
}

bool WDBTable::Found() {
  return OnCursor(Area, "Found", [](xbase::Cursor& c) { return c.Found(); });
}

void WDBTable::GoBottom() {
  OnCursor(Area, "GoBottom", [](xbase::Cursor& c) { c.GoBottom(); });
}

void WDBTable::GoTo(uint32_t recno) {
  OnCursor(Area, "GoTo", [&](xbase::Cursor& c) { c.GoTo(recno); });
}

void WDBTable::GoTop() {
  OnCursor(Area, "GoTop", [](xbase::Cursor& c) { c.GoTop(); });
}

uint32_t WDBTable::LastRec() { return RecCount(); }

uint32_t WDBTable::RecCount() {
  return OnCursor(Area, "RecCount", [](xbase::Cursor& c) { return c.RecCount(); });
}

uint32_t WDBTable::RecNo() {
  return OnCursor(Area, "RecNo", [](xbase::Cursor& c) { return c.RecNo(); });
}

void WDBTable::RecNo(uint32_t recno) { GoTo(recno); }

bool WDBTable::RLock() {
  return OnCursor(Area, "RLock", [](xbase::Cursor& c) { return c.RLock(); });
}

bool WDBTable::Seek(const xbase::Value& key, bool soft) {
  return OnCursor(Area, "Seek", [&](xbase::Cursor& c) { return c.Seek(key, soft); });
}

bool WDBTable::Seek(const xbase::Value& key, const xbase::Value& second) {
  return Seek(key, second.type == xbase::ValueType::kLogical && second.logical);
}

bool WDBTable::Seek(const std::string& key, bool soft) {
  return Seek(xbase::Value::Character(key), soft);
}

bool WDBTable::Seek(const std::string& key, const xbase::Value& second) {
  return Seek(xbase::Value::Character(key), second);
}

void WDBTable::Skip(int64_t n) {
  OnCursor(Area, "Skip", [&](xbase::Cursor& c) { c.Skip(n); });
}

size_t WDBTable::ReadRun(std::string_view key_prefix, size_t max_records,
                         std::vector<xbase::RunRecord>& out) {
  return OnCursor(Area, "Skip",
                  [&](xbase::Cursor& c) { return c.ReadRun(key_prefix, max_records, out); });
}

void WDBTable::Unlock() {
  OnCursor(Area, "Unlock", [](xbase::Cursor& c) { c.Unlock(); });
}

bool WDBTable::Used() { return Area != 0 && FindArea(Area) != nullptr; }

}  // namespace data
