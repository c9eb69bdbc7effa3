// Create, append, change keys, delete, reindex: the index stays exact after every step, and the
// table read back from scratch holds what was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/support/temp_dir.h"

namespace xbase {
namespace {

using testing_support::TempDir;

Schema FolioFields() {
  return {{"NEGOCIO", 'C', 15}, {"NUMERO", 'C', 15},    {"CONSECUT", 'C', 4}, {"FECHA", 'D', 8},
          {"HORA", 'C', 8},     {"DEBITO", 'N', 12, 2}, {"VOID", 'L', 1},     {"NOTA", 'M', 10}};
}

std::vector<TagSpec> FolioTags() {
  return {{"FOL1", "NEGOCIO+NUMERO+CONSECUT", ""},
          {"FOL2", "DTOS(FECHA)+HORA", ""},
          {"FOL3", "DEBITO", ".NOT. VOID"}};
}

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

// Every record in physical order with all fields as text, deleted ones marked.
std::string Dump(const std::string& path) {
  Cursor c(path, {ShareMode::kShared, true, false});
  std::string out;
  for (c.GoTop(); !c.Eof(); c.Skip(1)) {
    out += std::to_string(c.RecNo()) + (c.Deleted() ? "*" : "");
    for (int f = 0; f < c.FieldCount(); ++f) {
      out += "|" + (c.fields()[f].type == 'M' ? c.Get(f).str : std::string(c.Raw(f)));
    }
    out += "\n";
  }
  return out;
}

void ExpectSound(const std::string& path) {
  for (const VerifyReport& r : Verify(path)) {
    for (const std::string& p : r.problems) ADD_FAILURE() << r.tag << ": " << p;
  }
}

class RoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateTable(path_, FolioFields(), FolioTags()); }

  void PutRecord(Cursor& c, int i) {
    c.Put("NEGOCIO", Value::Character(i % 3 ? "HOTEL1" : "HOTEL2"));
    c.Put("NUMERO", Value::Character(std::to_string(5000 + (i * 7919) % 97)));
    c.Put("CONSECUT", Value::Character(Pad(std::to_string(i % 1000), 4)));
    c.Put("FECHA", Value::Date(i % 11 ? JulianDay(2024, 3, 1 + i % 28) : 0));
    c.Put("HORA", Value::Character("10:" + std::to_string(10 + i % 50) + ":00"));
    c.Put("DEBITO", Value::Numeric((i % 2 ? -1 : 1) * (i * 3.25)));
    c.Put("VOID", Value::Logical(i % 5 == 0));
    if (i % 4 == 0)
      c.Put("NOTA", Value::Character("nota " + std::string(i % 200, 'x') + "\r\nfin"));
  }

  TempDir dir_;
  std::string path_ = dir_.File("DET_FOL.DBF");
};

TEST_F(RoundTripTest, IndexStaysExactThroughEveryKindOfWrite) {
  {
    Cursor c(path_);
    for (int i = 1; i <= 300; ++i) {
      ASSERT_TRUE(c.Append());
      PutRecord(c, i);
      c.Unlock();
    }
  }
  ExpectSound(path_);

  {
    Cursor c(path_);
    for (uint32_t r = 1; r <= 300; r += 3) {
      c.GoTo(r);
      ASSERT_TRUE(c.RLock());
      PutRecord(c, static_cast<int>(r) * 13 + 1);  // new keys in every tag, memos grow and shrink
      c.Unlock();
    }
  }
  ExpectSound(path_);

  {
    Cursor c(path_);
    for (uint32_t r = 2; r <= 300; r += 6) {
      c.GoTo(r);
      ASSERT_TRUE(c.RLock());
      c.Delete();
      c.Unlock();
    }
  }
  ExpectSound(path_);

  std::string before = Dump(path_);
  Reindex(path_);
  ExpectSound(path_);
  EXPECT_EQ(Dump(path_), before);
}

TEST_F(RoundTripTest, OrderedSkipMatchesTheLiveRecordsSortedByKey) {
  std::vector<std::pair<std::string, uint32_t>> model;
  {
    Cursor c(path_);
    for (int i = 1; i <= 120; ++i) {
      ASSERT_TRUE(c.Append());
      PutRecord(c, i);
      if (i % 7 == 0) c.Delete();
      c.Unlock();
      if (i % 7 != 0) {
        model.push_back(
            {std::string(c.Raw(0)) + std::string(c.Raw(1)) + std::string(c.Raw(2)), c.RecNo()});
      }
    }
  }
  std::sort(model.begin(), model.end());
  Cursor c(path_);
  c.SetOrder("FOL1");
  std::vector<std::pair<std::string, uint32_t>> seen;
  for (c.GoTop(); !c.Eof(); c.Skip(1)) {
    seen.push_back(
        {std::string(c.Raw(0)) + std::string(c.Raw(1)) + std::string(c.Raw(2)), c.RecNo()});
  }
  EXPECT_EQ(seen, model);

  std::vector<std::pair<std::string, uint32_t>> backwards;
  for (c.GoBottom(); !c.Bof(); c.Skip(-1)) {
    backwards.push_back(
        {std::string(c.Raw(0)) + std::string(c.Raw(1)) + std::string(c.Raw(2)), c.RecNo()});
  }
  std::reverse(backwards.begin(), backwards.end());
  EXPECT_EQ(backwards, model);
}

TEST_F(RoundTripTest, SeekCases) {
  {
    Cursor c(path_);
    const char* numbers[] = {"100", "200", "200", "300"};
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(c.Append());
      c.Put("NEGOCIO", Value::Character("HOTEL1"));
      c.Put("NUMERO", Value::Character(numbers[i]));
      c.Put("CONSECUT", Value::Character(std::to_string(i)));
      c.Put("DEBITO", Value::Numeric(i * 10));
      if (i == 1) c.Delete();
      c.Unlock();
    }
  }
  Cursor c(path_);
  struct Case {
    const char* tag;
    Value key;
    bool soft;
    bool found;
    uint32_t recno;  // 0: end of file
  } cases[] = {
      {"FOL1", Value::Character(Pad("HOTEL1", 15) + "200"), false, true,
       3},                                                   // deleted 2 passed over
      {"FOL1", Value::Character("HOTEL1"), false, true, 1},  // prefix
      {"FOL1", Value::Character(Pad("HOTEL1", 15) + "250"), false, false, 0},
      {"FOL1", Value::Character(Pad("HOTEL1", 15) + "250"), true, false, 4},  // soft: next greater
      {"FOL1", Value::Character("HOTEL9"), true, false, 0},
      {"FOL3", Value::Numeric(30), false, true, 4},
      {"FOL3", Value::Numeric(15), true, false, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.tag) + " " + k.key.str + std::to_string(k.key.num));
    c.SetOrder(k.tag);
    EXPECT_EQ(c.Seek(k.key, k.soft), k.found);
    EXPECT_EQ(c.Found(), k.found);
    if (k.recno == 0) {
      EXPECT_TRUE(c.Eof());
    } else {
      EXPECT_EQ(c.RecNo(), k.recno);
    }
  }
  EXPECT_THROW(c.SetOrder("NOPE"), Error);
  EXPECT_THROW(c.Seek(Value::Character("x")), Error);  // FOL3 is numeric
}

TEST_F(RoundTripTest, WritesNeedTheRecordLockAndNumbersMustFit) {
  Cursor c(path_);
  ASSERT_TRUE(c.Append());
  c.Unlock();
  try {
    c.Put("HORA", Value::Character("x"));
    FAIL() << "unlocked write accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.kind(), ErrorKind::kLock);
  }
  ASSERT_TRUE(c.RLock());
  EXPECT_THROW(c.Put("DEBITO", Value::Numeric(1e12)), Error);  // 12,2 holds 999999999.99
  EXPECT_THROW(c.Put("FECHA", Value::Character("20240101")), Error);
  c.Put("DEBITO", Value::Numeric(999999999.99));
  c.Unlock();
  c.GoTo(1);
  EXPECT_EQ(c.Raw(5), "999999999.99");
}

TEST_F(RoundTripTest, TwoCursorsKeepTheirOwnPositionsAndExcludeEachOthersLocks) {
  {
    Cursor c(path_);
    for (int i = 1; i <= 5; ++i) {
      ASSERT_TRUE(c.Append());
      PutRecord(c, i);
      c.Unlock();
    }
  }
  Cursor a(path_), b(path_);
  a.SetOrder("FOL2");
  a.GoBottom();
  b.GoTo(3);
  ASSERT_TRUE(b.RLock());
  a.GoTo(3);
  EXPECT_FALSE(a.RLock());
  EXPECT_EQ(b.RecNo(), 3u);
  b.Unlock();
  EXPECT_TRUE(a.RLock());
  a.Unlock();
}

std::vector<uint32_t> RecnosInOrder(Cursor& c, const char* tag) {
  c.SetOrder(tag);
  std::vector<uint32_t> out;
  for (c.GoTop(); !c.Eof(); c.Skip(1)) out.push_back(c.RecNo());
  return out;
}

TEST(TagOptionsTest, UniqueAndDescendingTagsStayExactThroughChanges) {
  TempDir dir;
  std::string path = dir.File("CODES");
  CreateTable(path, {{"CODE", 'C', 4}},
              {{"UNIQ", "CODE", "", true, false}, {"DESC", "CODE", "", false, true}});
  {
    Cursor c(path);
    for (const char* code : {"A", "B", "A", "C"}) {
      ASSERT_TRUE(c.Append());
      c.Put("CODE", Value::Character(code));
      c.Unlock();
    }
  }
  ExpectSound(path);
  Cursor c(path);
  EXPECT_EQ(RecnosInOrder(c, "UNIQ"), (std::vector<uint32_t>{1, 2, 4}));  // the first A only
  EXPECT_EQ(RecnosInOrder(c, "DESC"), (std::vector<uint32_t>{4, 2, 3, 1}));
  EXPECT_TRUE(c.Seek(Value::Character("B")));
  EXPECT_EQ(c.RecNo(), 2u);
  c.Skip(1);
  EXPECT_EQ(c.Get("CODE").str, "A   ");

  c.GoTo(1);
  ASSERT_TRUE(c.RLock());
  c.Put("CODE", Value::Character("Z"));
  c.Unlock();
  ExpectSound(path);  // the other A took over the unique key
  EXPECT_EQ(RecnosInOrder(c, "UNIQ"), (std::vector<uint32_t>{3, 2, 4, 1}));
}

TEST(CreateTableTest, HeaderFollowsTheConventionsOfTheOtherPrograms) {
  TempDir dir;
  CreateTable(dir.File("PLAIN"), {{"A", 'C', 3}}, {});
  CreateTable(dir.File("MEMO"), {{"A", 'C', 3}, {"M", 'M', 10}}, {{"A", "A", ""}});
  auto byte_at = [](const std::string& path, long offset) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, offset, SEEK_SET);
    int b = std::fgetc(f);
    std::fclose(f);
    return b;
  };
  EXPECT_EQ(byte_at(dir.File("PLAIN.DBF"), 0), 0x03);
  EXPECT_EQ(byte_at(dir.File("PLAIN.DBF"), 28), 0x00);
  EXPECT_EQ(byte_at(dir.File("MEMO.DBF"), 0), 0xF5);
  EXPECT_EQ(byte_at(dir.File("MEMO.DBF"), 28), 0x01);
  EXPECT_TRUE(std::filesystem::exists(dir.File("MEMO.FPT")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("MEMO.CDX")));
  EXPECT_THROW(CreateTable(dir.File("PLAIN"), {{"A", 'C', 3}}, {}), Error);  // exists
}

}  // namespace
}  // namespace xbase
