// Table handles: opening, aliases, independent cursors, the restored selection, seeks, and the
// errors raised for missing files, tags and fields.
#include "lib/data/wtable.h"

#include <gtest/gtest.h>

#include "lib/data/data_error.h"
#include "platform/clock/clock.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/lib/data/data_fixture.h"

namespace {

using data::TableHandle;
using data::USE;
using testing_support::Number;
using testing_support::Text;

struct AliasCase {
  const char* file;
  int area;
  const char* alias;
};

TEST(AliasTest, FollowsTheAliasRule) {
  const AliasCase cases[] = {
      {"DET_RES2", 12, "DET_RES012"},
      {"F_DIZU", 3, "F_DIZU0003"},
      {"C:\\HOTEL\\BASES\\T.DBF", 1, "T000000001"},
      {"  ENC_FOL  ", 7, "ENC_FOL007"},
      {"D:LOG_XML.DBF", 100, "LOG_XML100"},
      {"TRANSACCIONES", 2, "TRANSAC002"},
  };
  for (const AliasCase& c : cases) EXPECT_EQ(data::AliasFor(c.file, c.area), c.alias) << c.file;
}

class WTableTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    Create("DET_RES2");
    // Two stays in house in rooms 101 and 102, one reservation not in house, one deleted stay.
    Add("DET_RES2", {{"NEGOCIO", Text("H1")},
                     {"COD_RES", Text("R2")},
                     {"COD_ROOMS", Text("102")},
                     {"ESTADO", Number(1)},
                     {"NOMBRE", Text("ANA")}});
    Add("DET_RES2", {{"NEGOCIO", Text("H1")},
                     {"COD_RES", Text("R1")},
                     {"COD_ROOMS", Text("101")},
                     {"ESTADO", Number(1)},
                     {"NOMBRE", Text("LUIS")}});
    Add("DET_RES2", {{"NEGOCIO", Text("H1")},
                     {"COD_RES", Text("R3")},
                     {"COD_ROOMS", Text("103")},
                     {"ESTADO", Number(0)},
                     {"NOMBRE", Text("EVA")}});
    uint32_t deleted = Add("DET_RES2", {{"NEGOCIO", Text("H1")},
                                        {"COD_RES", Text("R0")},
                                        {"COD_ROOMS", Text("104")},
                                        {"ESTADO", Number(1)}});
    xbase::Cursor c(TablePath("DET_RES2"));
    c.GoTo(deleted);
    ASSERT_TRUE(c.RLock());
    c.Delete();
    c.Unlock();
  }
  static std::string Stay(const std::string& room) {
    return "H1" + std::string(13, ' ') + "1" + room;
  }
};

TEST_F(WTableTest, UseSelectsTheNewTableWithItsTagAndNormalisesNames) {
  TableHandle first = USE({}, "  DET_RES2XYZ ", "  DET_RS30  ");
  EXPECT_EQ(first->Area, 1);
  EXPECT_EQ(first->Alias, "DET_RES001");
  EXPECT_EQ(first->Name, "DET_RES2");
  EXPECT_EQ(first->RDD, "DBFCDX");
  EXPECT_FALSE(first->Cargo.has_value());
  EXPECT_EQ(data::SelectedArea(), 1);
  EXPECT_EQ(data::SelectedCursor().order(), data::SelectedCursor().table().FindTag("DET_RS30"));
}

TEST_F(WTableTest, TwoHandlesOnOneTableKeepTheirOwnPositionTagAndSelection) {
  TableHandle by_room = USE({}, "DET_RES2", "DET_RS30");
  TableHandle by_res = USE({}, "DET_RES2", "DET_RES2");
  EXPECT_EQ(by_res->Area, 2);
  EXPECT_EQ(by_res->Alias, "DET_RES002");
  ASSERT_TRUE(by_room->Seek(Stay("102")));
  by_res->GoTop();
  EXPECT_EQ(by_room->FieldGet("NOMBRE").str.substr(0, 3), "ANA");
  EXPECT_EQ(by_res->FieldGet("COD_RES").str.substr(0, 2), "R1");  // R0 is deleted
  EXPECT_EQ(data::SelectedArea(), 2);                             // methods restore the selection
  data::KILLTABLA(by_room);
  by_res->Skip(1);
  EXPECT_EQ(by_res->FieldGet("COD_RES").str.substr(0, 2), "R2");
  EXPECT_FALSE(by_room->Used());
  // The freed area is the lowest and is taken again.
  EXPECT_EQ(USE({}, "DET_RES2")->Area, 1);
}

TEST_F(WTableTest, SeekFindsPrefixesSkipsDeletedAndIgnoresANonLogicalSecondArgument) {
  TableHandle stays = USE({}, "DET_RES2", "DET_RS30");
  EXPECT_TRUE(stays->Seek(Stay("101"), Text("101")));
  EXPECT_EQ(stays->FieldGet("NOMBRE").str.substr(0, 4), "LUIS");
  EXPECT_TRUE(stays->Seek(Text("H1")));    // a prefix of the key
  EXPECT_FALSE(stays->Seek(Stay("103")));  // not in house
  EXPECT_TRUE(stays->Eof());
  EXPECT_FALSE(stays->Seek(Stay("104")));                                // deleted
  EXPECT_FALSE(stays->Seek(Stay("1015"), xbase::Value::Logical(true)));  // soft: next key
  EXPECT_FALSE(stays->Eof());
  EXPECT_EQ(stays->FieldGet("NOMBRE").str.substr(0, 3), "ANA");
  int visible = 0;
  for (stays->GoTop(); !stays->Eof(); stays->Skip(1)) ++visible;
  EXPECT_EQ(visible, 3);
  EXPECT_EQ(stays->RecCount(), 4u);
}

TEST_F(WTableTest, FieldAccessByNameAndNumber) {
  TableHandle stays = USE({}, "DET_RES2");
  EXPECT_EQ(stays->FieldPos("COD_ROOMS"), 5);
  EXPECT_EQ(stays->FieldPos("NOPE"), 0);
  EXPECT_EQ(stays->FieldName(1), "NEGOCIO");
  EXPECT_EQ(stays->FieldName(99), "");
  EXPECT_EQ(stays->FCount(), static_cast<int>(stays->DBStruct().size()));
  EXPECT_THROW(stays->FieldGet("NOPE"), data::DataError);
}

TEST_F(WTableTest, MissingFileTagOrFieldIsATypedErrorAndLeavesNoAreaOpen) {
  try {
    USE({}, "NOTHERE");
    FAIL();
  } catch (const data::DataError& e) {
    EXPECT_EQ(e.error().GENCODE, data::EG_OPEN);
    EXPECT_NE(e.error().FILENAME.find("NOTHERE"), std::string::npos);
  }
  try {
    USE({}, "DET_RES2", "DET_RS99");
    FAIL();
  } catch (const data::DataError& e) {
    EXPECT_EQ(e.error().GENCODE, data::EG_NOORDER);
    EXPECT_NE(std::string(e.what()).find("DET_RS99"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("DET_RES2"), std::string::npos);
  }
  xbase::CreateTable(TablePath("ENC_RES"), {{"NEGOCIO", 'C', 15, 0, 0, 0}}, {});
  try {
    USE({}, "ENC_RES");
    FAIL();
  } catch (const data::DataError& e) {
    EXPECT_EQ(std::string(e.error().DESCRIPTION), "table ENC_RES lacks field CODIGO (C 10)");
  }
  EXPECT_EQ(data::LowestFreeArea(), 1);
}

TEST_F(WTableTest, TheActiveUsersSubFolderIsUsedWhenItHoldsTheTable) {
  std::filesystem::create_directories(Bases() + "/SUB1");
  schema::CreateFromLayout(Bases() + "/SUB1", *schema::FindLayout("DET_RES2"));
  settings::Current().XDBACCESS[0] = " SUB1 ";
  EXPECT_EQ(USE({}, "DET_RES2")->RecCount(), 0u);
  settings::Current().XDBACCESS[0] = "SUB2";  // no such folder: the table of BASES itself
  EXPECT_EQ(USE({}, "DET_RES2")->RecCount(), 4u);
}

TEST_F(WTableTest, ABlockedOpenIsRetriedAndAlertedAfterFiveSeconds) {
  auto holder = std::make_unique<xbase::Cursor>(
      TablePath("DET_RES2"), xbase::CursorOptions{xbase::ShareMode::kExclusive, false, true});
  zvclock::FakeClock clock;
  clock.SetOnAdvance([&](uint32_t tick) {
    if (tick >= 5400) holder.reset();
  });
  TableHandle opened = USE({}, "DET_RES2");
  EXPECT_TRUE(opened->Used());
  EXPECT_FALSE(data::NETERR());
  // Each failed try waits 100 ms and then alerts once more than 5 s have passed: the tries at
  // ticks 5000, 5100, 5200 and 5300 fail and alert; the one at 5400 opens.
  ASSERT_EQ(alerts_.size(), 4u);
  EXPECT_EQ(alerts_[0], "Alerta|No se puede abrir archivo: " + Bases() + "/DET_RES2");
}

TEST_F(WTableTest, ASettingsTableOpensOnItsFirstLiveRecordAndMayLackOptionalFields) {
  Create("F_DIZU");
  uint32_t first = Add("F_DIZU", {{"IP_ADDR", Text("10.0.0.1")}});
  Add("F_DIZU", {{"IP_ADDR", Text("127.0.0.1")}});
  xbase::Cursor c(TablePath("F_DIZU"));
  c.GoTo(first);
  ASSERT_TRUE(c.RLock());
  c.Delete();
  c.Unlock();
  EXPECT_EQ(USE({}, "F_DIZU", "F_DIZU")->FieldGet("IP_ADDR").str.substr(0, 9), "127.0.0.1");

  xbase::CreateTable(
      TablePath("F_SYS"),
      {{"T_FONT", 'C', 20, 0, 0, 0}, {"MAXCOMMIT", 'N', 3, 0, 0, 0}, {"GRAYED", 'N', 1, 0, 0, 0}},
      {});
  TableHandle system = USE({}, "F_SYS");
  EXPECT_EQ(system->FieldPos("P_FONT"), 0);
}

TEST_F(WTableTest, KilltablaOfAnEmptyHandleDoesNothing) {
  TableHandle empty;
  data::KILLTABLA(empty);
  TableHandle open = USE({}, "DET_RES2");
  data::KILLTABLA(open);
  data::KILLTABLA(open);
  EXPECT_EQ(data::LowestFreeArea(), 1);
}

}  // namespace
