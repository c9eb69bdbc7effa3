// Damaged tables give an error that names the file and the problem; nothing crashes and nothing
// is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/support/temp_dir.h"

namespace xbase {
namespace {

using testing_support::TempDir;
namespace fs = std::filesystem;

void Patch(const std::string& path, long offset, const std::string& bytes) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(offset);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void ReplaceInFile(const std::string& path, const std::string& from, const std::string& to) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  auto pos = bytes.find(from);
  ASSERT_NE(pos, std::string::npos) << from;
  Patch(path, static_cast<long>(pos), to);
}

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

struct DamageCase {
  const char* name;
  std::function<void(const std::string& base)> damage;  // base path without extension
  std::function<void(const std::string& dbf)> action;
  ErrorKind kind;
  const char* message_part;
};

void OpenIt(const std::string& dbf) { Cursor c(dbf); }
void ReadAllMemos(const std::string& dbf) {
  Cursor c(dbf);
  for (c.GoTop(); !c.Eof(); c.Skip(1)) c.Get("NOTA");
}
void WriteIt(const std::string& dbf) {
  Cursor c(dbf);
  c.Append();
}

TEST(DamagedFileTest, EachDamageIsReportedWithFileAndProblem) {
  const DamageCase cases[] = {
      {"truncated header", [](const std::string& b) { fs::resize_file(b + ".DBF", 20); }, OpenIt,
       ErrorKind::kCorrupt, "table header"},
      {"header longer than file", [](const std::string& b) { Patch(b + ".DBF", 8, Le16(60000)); },
       OpenIt, ErrorKind::kCorrupt, "exceeds the file size"},
      {"record length disagrees", [](const std::string& b) { Patch(b + ".DBF", 10, Le16(7)); },
       OpenIt, ErrorKind::kCorrupt, "record length"},
      {"unknown version", [](const std::string& b) { Patch(b + ".DBF", 0, "\x7F"); }, OpenIt,
       ErrorKind::kUnsupported, "0x7F"},
      {"field list without terminator",
       [](const std::string& b) { Patch(b + ".DBF", 32 + 2 * 32, "X"); }, OpenIt,
       ErrorKind::kCorrupt, "terminator"},
      {"memo pointer past the end",
       [](const std::string& b) { Patch(b + ".DBF", 98 + 6, "    999999"); }, ReadAllMemos,
       ErrorKind::kCorrupt, "past the end"},
      {"missing memo file", [](const std::string& b) { fs::remove(b + ".FPT"); }, OpenIt,
       ErrorKind::kOpen, ".FPT"},
      {"index root outside the file",
       [](const std::string& b) { Patch(b + ".CDX", 0, std::string("\x00\x00\x00\x70", 4)); },
       OpenIt, ErrorKind::kCorrupt, ""},
      {"tag expression the engine cannot evaluate",
       [](const std::string& b) { ReplaceInFile(b + ".CDX", "UPPER(A)", "UPPEX(A)"); }, WriteIt,
       ErrorKind::kReadOnly, "UPPEX(A)"},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string base = dir.File("DAMAGED");
    CreateTable(base, {{"A", 'C', 5}, {"NOTA", 'M', 10}}, {{"A", "UPPER(A)", ""}});
    {
      Cursor w(base);
      ASSERT_TRUE(w.Append());
      w.Put("NOTA", Value::Character("memo text"));
      w.Unlock();
    }
    c.damage(base);
    auto size_before = fs::file_size(base + ".DBF");
    try {
      c.action(base + ".DBF");
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.kind(), c.kind) << e.what();
      EXPECT_NE(std::string(e.what()).find("DAMAGED"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos) << e.what();
    }
    EXPECT_EQ(fs::file_size(base + ".DBF"), size_before);
  }
}

TEST(DamagedFileTest, TableWithAnUnevaluableTagStillReads) {
  TempDir dir;
  std::string base = dir.File("ODD");
  CreateTable(base, {{"A", 'C', 5}, {"B", 'C', 5}}, {{"A", "A", ""}, {"B", "LOWER(B)", ""}});
  {
    Cursor w(base);
    ASSERT_TRUE(w.Append());
    w.Put("A", Value::Character("abc"));
    w.Unlock();
  }
  ReplaceInFile(base + ".CDX", "LOWER(B)", "LOWEX(B)");

  Cursor c(base);
  c.SetOrder("A");
  EXPECT_TRUE(c.Seek(Value::Character("abc")));
  EXPECT_THROW(c.SetOrder("B"), Error);
}

}  // namespace
}  // namespace xbase
