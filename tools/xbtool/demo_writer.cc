#include "tools/xbtool/demo_writer.h"

#include <filesystem>

#include "lib/data/schema/layout.h"
#include "platform/xbase/table_maintenance.h"

namespace xbtool {
namespace {

std::string TablePath(const std::string& folder, const schema::TableLayout& layout) {
  return folder + "/" + layout.name + ".DBF";
}

}  // namespace

xbase::Cursor& DemoWriter::CursorOf(const std::string& table) {
  std::unique_ptr<xbase::Cursor>& cursor = cursors_[table];
  if (!cursor) {
    cursor = std::make_unique<xbase::Cursor>(
        folder_ + "/" + table + ".DBF",
        xbase::CursorOptions{xbase::ShareMode::kExclusive, false, false});
  }
  return *cursor;
}

uint32_t DemoWriter::Add(const std::string& table, const FieldValues& values) {
  xbase::Cursor& cursor = CursorOf(table);
  cursor.Append();
  for (const auto& [field, value] : values) cursor.Put(field, value);
  cursor.Commit();
  return cursor.RecNo();
}

void DemoWriter::Change(const std::string& table, uint32_t recno, const FieldValues& values) {
  xbase::Cursor& cursor = CursorOf(table);
  cursor.GoTo(recno);
  for (const auto& [field, value] : values) cursor.Put(field, value);
  cursor.Commit();
}

void DemoWriter::Delete(const std::string& table, uint32_t recno) {
  xbase::Cursor& cursor = CursorOf(table);
  cursor.GoTo(recno);
  cursor.Delete();
  cursor.Commit();
}

void DemoWriter::Close() {
  for (auto& [table, cursor] : cursors_) cursor->Close();
  cursors_.clear();
}

void CreateDemoDatabase(const std::string& folder, int64_t today,
                        const std::function<void(DemoWriter&)>& more) {
  std::filesystem::create_directories(folder);
  for (const schema::TableLayout& layout : schema::Layouts()) {
    xbase::CreateTable(TablePath(folder, layout), schema::FieldsOf(layout), {});
  }
  DemoWriter out(folder);
  AddDemoSettings(out, today);
  AddDemoStaysAndFolios(out, today);
  if (more) more(out);
  out.Close();
  for (const schema::TableLayout& layout : schema::Layouts()) {
    for (const xbase::TagSpec& tag : layout.tags) xbase::CreateTag(TablePath(folder, layout), tag);
  }
}

}  // namespace xbtool
