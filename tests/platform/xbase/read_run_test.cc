// Reading ahead on a tag gives exactly what skipping one record at a time gives: the same records
// in the same order, deleted ones hidden (or not), and the cursor left on the same record, on
// ascending and descending tags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/support/temp_dir.h"

namespace xbase {
namespace {

struct Row {
  const char* key;
  bool deleted;
};

// Keys out of physical order, runs of neighbouring records, deleted records inside a run, at its
// start and at its end.
constexpr Row kRows[] = {{"B02", false}, {"A01", false}, {"A02", true}, {"A03", false},
                         {"A04", false}, {"C01", true},  {"B01", true}, {"A05", false},
                         {"B03", false}, {"A06", true},  {"B04", true}, {"C02", false}};

struct Position {
  uint32_t recno;
  bool eof;
  bool operator==(const Position&) const = default;
};

Position Where(const Cursor& c) { return {c.RecNo(), c.Eof()}; }

// What skipping one by one reads from the cursor's position while keys begin with `prefix`.
std::vector<std::string> SkipRun(Cursor& c, const std::string& prefix, size_t max) {
  std::vector<std::string> keys;
  while (keys.size() < max && !c.Eof() && c.Get("K").str.starts_with(prefix)) {
    keys.push_back(std::to_string(c.RecNo()) + ":" + c.Get("K").str);
    c.Skip(1);
  }
  return keys;
}

std::vector<std::string> ReadAheadRun(Cursor& c, const std::string& prefix, size_t max) {
  std::vector<RunRecord> run;
  const size_t count = c.ReadRun(prefix, max, run);
  EXPECT_EQ(count, run.size());
  std::vector<std::string> keys;
  for (const RunRecord& r : run) keys.push_back(std::to_string(r.recno) + ":" + r.bytes.substr(1));
  return keys;
}

class ReadRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateTable(path_, {{"K", 'C', 3}},
                {{"K", "K", ""}, {"KD", "K", "", /*unique=*/false, /*descending=*/true}});
    Cursor c(path_);
    for (const Row& row : kRows) {
      ASSERT_TRUE(c.Append());
      c.Put("K", Value::Character(row.key));
      if (row.deleted) c.Delete();
      c.Unlock();
    }
  }

  testing_support::TempDir dir_;
  std::string path_ = dir_.File("RUN.DBF");
};

TEST_F(ReadRunTest, GivesWhatSkippingGivesAndStopsWhereSkippingStops) {
  struct Case {
    const char* tag;
    const char* seek;
    const char* prefix;
    size_t max;
    bool hide_deleted;
  };
  const Case cases[] = {
      {"K", "A", "A", 100, true},   {"K", "A", "A", 1, true},   {"K", "A", "A", 2, true},
      {"K", "A", "A", 3, false},    {"K", "B", "B", 100, true}, {"K", "B", "B", 1, true},
      {"K", "A", "", 4, true},      {"K", "A", "", 100, false}, {"K", "C", "C", 100, true},
      {"K", "C", "C", 100, false},  {"K", "A", "B", 100, true}, {"K", "A", "A0", 2, false},
      {"KD", "B", "B", 100, true},  {"KD", "B", "B", 1, false}, {"KD", "C", "", 3, true},
      {"KD", "A", "A", 100, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.tag) + " " + test.seek + " prefix " + test.prefix + " max " +
                 std::to_string(test.max) + (test.hide_deleted ? " hiding" : " showing"));
    Cursor skipping(path_, {ShareMode::kShared, true, test.hide_deleted});
    Cursor reading(path_, {ShareMode::kShared, true, test.hide_deleted});
    for (Cursor* c : {&skipping, &reading}) {
      c->SetOrder(test.tag);
      c->Seek(Value::Character(test.seek));
    }
    // Run after run until both come back short, as a caller reads a whole key range.
    for (int round = 0; round < 5; ++round) {
      const std::vector<std::string> expected = SkipRun(skipping, test.prefix, test.max);
      EXPECT_EQ(ReadAheadRun(reading, test.prefix, test.max), expected);
      EXPECT_EQ(Where(reading), Where(skipping));
      if (expected.size() < test.max) break;
    }
  }
}

TEST_F(ReadRunTest, NeedsATagAndReadsNothingAtTheEnd) {
  Cursor c(path_);
  std::vector<RunRecord> run;
  EXPECT_THROW(c.ReadRun("A", 10, run), Error);
  c.SetOrder("K");
  EXPECT_FALSE(c.Seek(Value::Character("Z")));
  EXPECT_EQ(c.ReadRun("", 10, run), 0u);
  EXPECT_TRUE(run.empty());
}

}  // namespace
}  // namespace xbase
