// Reading ADS.DEF into its lines and applying lines 21-27.
#include "frame/ads_def.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lib/settings/settings.h"
#include "platform/dbserver/client.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

// The first lines of a configuration; the slots after them are empty.
Lines Padded(Lines lines) {
  if (lines.size() < frame::kAdsParamSlots) lines.resize(frame::kAdsParamSlots);
  return lines;
}

Lines FromPieces(const std::vector<std::string>& pieces) {
  frame::AdsDefLines lines;
  for (const std::string& piece : pieces) lines.AddPiece(piece);
  return lines.Finish();
}

TEST(AdsDefTest, CutsLinesAtCrDropsLfAndJoinsLinesAcrossPieces) {
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    Lines expected;
  };
  const Case cases[] = {
      {"CR LF line ends",
       {"\\\\srv\\data\r\n1\r\n0\r\n1\r\n"},
       Padded({"\\\\srv\\data", "1", "0", "1", ""})},
      {"no final line break", {"a\rb"}, Padded({"a", "b"})},
      {"line split between pieces", {"/da", "ta\r1", "0\r"}, Padded({"/data", "10", ""})},
      {"LF-only file is one line", {"/data\n1\n0\n1\n"}, Padded({"/data101"})},
      {"blanks kept", {"  x \r"}, Padded({"  x ", ""})},
  };
  for (const Case& c : cases) EXPECT_EQ(FromPieces(c.pieces), c.expected) << c.name;
  EXPECT_EQ(FromPieces({std::string(30, '\r')}).size(), 31u) << "long files keep every line";
}

TEST(AdsDefTest, ReadsTheFileInPiecesWithALineAcrossTheBoundary) {
  testing_support::TempDir dir;
  std::string path = dir.File("ADS.DEF");
  std::string first(995, 'p');
  std::string text = first + "\r\nline-two-spans-the-1000-byte-boundary\r\n1\r\n";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  Lines lines = frame::GET_A_ADS(path);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "line-two-spans-the-1000-byte-boundary");
  EXPECT_EQ(lines[2], "1");
  EXPECT_EQ(frame::GET_A_ADS(dir.File("missing")), Lines(frame::kAdsParamSlots));
}

TEST(AdsDefTest, LineTestsCompareOnlyTheBeginning) {
  Lines params = Padded({"/data", "10", ".F.x", " 1"});
  EXPECT_TRUE(frame::LineBeginsWith(params, 2, "1"));
  EXPECT_TRUE(frame::LineBeginsWith(params, 3, ".F."));
  EXPECT_FALSE(frame::LineBeginsWith(params, 4, "1")) << "a leading blank is not a 1";
  EXPECT_FALSE(frame::LineBeginsWith(params, 5, "1")) << "an empty slot";
  EXPECT_FALSE(frame::LineBeginsWith(params, 40, "1")) << "past the end";
  EXPECT_FALSE(frame::LineBeginsWith(params, 0, ""));
}

TEST(AdsDefTest, SetAdsParamsAppliesLines21To27ThatHoldMoreThanBlanks) {
  struct Case {
    const char* name;
    std::map<int, std::string> lines;  // line number -> text
    int rights_check;
    int cache_records;
    int locking;
    std::string ts;
    std::optional<std::string> dir;
  };
  const std::string default_ts(100, '0');
  const Case cases[] = {
      {"four lines only", {}, 1, 0, 1, default_ts, std::nullopt},
      {"rights off", {{21, ".F."}}, 0, 0, 1, default_ts, std::nullopt},
      {"blank before .F. checks rights", {{21, " .F."}}, 1, 0, 1, default_ts, std::nullopt},
      {"cache size", {{22, "250"}}, 1, 250, 1, default_ts, std::nullopt},
      {"cache size with blanks", {{22, "  40 "}}, 1, 40, 1, default_ts, std::nullopt},
      {"cache size not a number", {{22, "abc"}}, 1, 0, 1, default_ts, std::nullopt},
      {"compatible locking", {{23, ".F."}}, 1, 0, 0, default_ts, std::nullopt},
      {"proprietary locking", {{23, "x"}}, 1, 0, 1, default_ts, std::nullopt},
      {"transaction flags and 27", {{26, "0100"}, {27, "/srv"}}, 1, 0, 1, "0100", "/srv"},
      {"blank lines skipped",
       {{21, "   "}, {22, " "}, {26, "  "}},
       1,
       0,
       1,
       default_ts,
       std::nullopt},
      {"24, 25 and 28 not read",
       {{24, ".F."}, {25, "9"}, {28, "x"}},
       1,
       0,
       1,
       default_ts,
       std::nullopt},
  };
  for (const Case& c : cases) {
    settings::Reset();
    dbserver::ResetClient();
    Lines params(30);
    for (const auto& [number, text] : c.lines) params[number - 1] = text;
    frame::SET_ADS_PARAMS(params);
    EXPECT_EQ(dbserver::State().rights_check, c.rights_check) << c.name;
    EXPECT_EQ(settings::Current().XADSCACHERECORDS, c.cache_records) << c.name;
    EXPECT_EQ(dbserver::State().locking, c.locking) << c.name;
    EXPECT_EQ(settings::Current().XADS_TS, c.ts) << c.name;
    EXPECT_EQ(settings::Current().XADS_DIR, c.dir) << c.name;
  }
}

}  // namespace
