// The word index kept by the locking functions.
#include "lib/data/text_search.h"

#include <gtest/gtest.h>

#include <map>

#include "lib/data/write_protocol.h"
#include "platform/clock/clock.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/lib/data/data_fixture.h"

namespace {

using testing_support::Text;

class TextSearchTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    xbase::CreateTable(TablePath("NOTAS"),
                       {{"NEGOCIO", 'C', 15, 0, 0, 0},
                        {"CODIGO", 'C', 10, 0, 0, 0},
                        {"CORTO", 'C', 5, 0, 0, 0},
                        {"TEXTO", 'C', 40, 0, 0, 0},
                        {"INFO_USER", 'C', 30, 0, 0, 0}},
                       {{"NOTAS", "NEGOCIO+CODIGO", "", false, false}});
    Create("TXT_SRCH");
  }
  void TearDown() override {
    data::CloseTextSearch();
    DataFixture::TearDown();
  }
  void Configure() {
    Create("F_TXT_S");
    Add("F_TXT_S", {{"TABLA", Text("NOTAS")}, {"DOCUMENTO", Text("CODIGO")}});
    data::LoadTextSearchConfiguration();
    ASSERT_NE(data::XTXT_SRCH_OBJ(), nullptr);
  }
  // Appends a note through the write protocol.
  void AddNote(data::WDBTable& notes, const std::string& code, const std::string& text) {
    data::SelectArea(notes.Area);
    data::ADD_NEW_REC();
    notes.FieldPut("NEGOCIO", Text("H1"));
    notes.FieldPut("CODIGO", Text(code));
    notes.FieldPut("CORTO", Text("SHORTWORDS"));
    notes.FieldPut("TEXTO", Text(text));
    notes.FieldPut("INFO_USER", Text("OPERADOR ESTACION"));
    data::UNLOCK_NEW_REC();
  }
  // Index entries as "DOCUMENT|WORD" (free records as "free"), with their counts.
  std::map<std::string, int> Entries() {
    std::map<std::string, int> entries;
    xbase::Cursor index(TablePath("TXT_SRCH"));
    for (index.GoTop(); !index.Eof(); index.Skip(1)) {
      std::string business = index.Get("NEGOCIO").str;
      auto trim = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
      ++entries[business == data::kFreeIndexRecord
                    ? "free"
                    : trim(index.Get("DOCUMENTO").str) + "|" + trim(index.Get("T_ITEM").str)];
    }
    return entries;
  }
};

TEST(SplitWordsTest, UpperCasesAndSkipsShortWords) {
  EXPECT_EQ(data::SplitWords("  room 12 service  charged "),
            (std::vector<std::string>{"ROOM", "SERVICE", "CHARGED"}));
  EXPECT_TRUE(data::SplitWords("   ").empty());
}

TEST_F(TextSearchTest, WithoutConfigurationNothingIsIndexed) {
  data::LoadTextSearchConfiguration();
  EXPECT_EQ(data::XTXT_SRCH_OBJ(), nullptr);
  data::TableHandle notes = data::USE({}, "NOTAS");
  EXPECT_EQ(notes->SEARCH_TXT, 0);
  AddNote(*notes, "D1", "ROOM 12 SERVICE CHARGED");
  EXPECT_TRUE(Entries().empty());
}

using Index = std::map<std::string, int>;

TEST_F(TextSearchTest, ReleasesAddWordsLocksRemoveThemAndFreedRecordsAreReused) {
  Configure();
  data::TableHandle notes = data::USE({}, "NOTAS");
  EXPECT_EQ(notes->SEARCH_TXT, 1);
  EXPECT_EQ(settings::Current().XTXT_SRCH_VECTOR[notes->Area].document_field, "CODIGO");
  // Short fields, INFO_U* fields, words of 2 characters or less and the 2-character business
  // code are left out.
  AddNote(*notes, "D1", "ROOM 12 SERVICE CHARGED");
  EXPECT_EQ(Entries(), (Index{{"D1|ROOM", 1}, {"D1|SERVICE", 1}, {"D1|CHARGED", 1}}));

  // A change: the lock frees the old words, the release adds the new ones into free records.
  data::SelectArea(notes->Area);
  data::LOCK_FOR_MODIFY();
  EXPECT_EQ(Entries(), (Index{{"free", 3}}));
  notes->FieldPut("TEXTO", Text("ROOMS CLEANED"));
  data::UNLOCK_FOR_MODIFY();
  EXPECT_EQ(Entries(), (Index{{"D1|ROOMS", 1}, {"D1|CLEANED", 1}, {"free", 1}}));

  // A word is never taken for a longer one that begins with it: ROOM is added beside ROOMS.
  AddNote(*notes, "D1", "ROOM ROOMS");
  EXPECT_EQ(Entries(), (Index{{"D1|ROOMS", 1}, {"D1|CLEANED", 1}, {"D1|ROOM", 1}}));

  // Deleting a record removes its words and adds none.
  notes->GoTop();
  data::SelectArea(notes->Area);
  data::LOCK_FOR_MODIFY();
  notes->Delete();
  data::UNLOCK_FOR_MODIFY();
  EXPECT_EQ(Entries(), (Index{{"D1|ROOM", 1}, {"free", 2}}));
  // Words are kept per document: ROOMS went with the first note although the second note of D1
  // has it too. Another document's words go into the free records.
  AddNote(*notes, "D2", "LAUNDRY SERVICE");
  EXPECT_EQ(Entries(), (Index{{"D1|ROOM", 1}, {"D2|LAUNDRY", 1}, {"D2|SERVICE", 1}}));
}

TEST_F(TextSearchTest, AFreeRecordTakenByAnotherStationMeanwhileIsNotOverwritten) {
  Configure();
  data::TableHandle notes = data::USE({}, "NOTAS");
  AddNote(*notes, "D1", "ALPHA");
  data::SelectArea(notes->Area);
  data::LOCK_FOR_MODIFY();  // frees ALPHA's record
  notes->FieldPut("TEXTO", Text("BRAVO"));

  // Another station holds the free record and fills it before our lock succeeds.
  auto station = std::make_unique<xbase::Cursor>(TablePath("TXT_SRCH"));
  station->GoTop();
  ASSERT_TRUE(station->RLock());
  zvclock::FakeClock clock;
  clock.SetOnAdvance([&](uint32_t) {
    if (!station) return;
    station->Put("NEGOCIO", Text("H2"));
    station->Put("DOCUMENTO", Text("X9"));
    station->Put("T_ITEM", Text("OTHER"));
    station->Unlock();
    station.reset();
  });
  data::UNLOCK_FOR_MODIFY();
  EXPECT_EQ(Entries(), (Index{{"X9|OTHER", 1}, {"D1|BRAVO", 1}}));
}

}  // namespace
