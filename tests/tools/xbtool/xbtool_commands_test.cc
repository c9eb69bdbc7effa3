// The write commands of xbtool, as hotel IT uses them on a site's tables, and its exit codes.
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/tools/xbtool/run_xbtool.h"

namespace {

TEST(XbtoolCommandsTest, CreateAppendSetDeleteDumpVerify) {
  testing_support::TempDir dir;
  const std::string t = dir.File("ROOMS");
  const std::string verified = t + " ROOM: ok\n" + t + " RATE: ok\n";
  struct Step {
    std::vector<std::string> args;
    std::string expected_output;  // "" when any output will do
    int expected_code;
  } steps[] = {
      {{"create", t, "--field", "ROOM:C:5", "--field", "RATE:N:8:2", "--field", "SINCE:D:8",
        "--field", "NOTE:M:10", "--tag", "ROOM=ROOM", "--tag", "RATE=STR(RATE,8,2);FOR=RATE>0"},
       "",
       0},
      {{"append", t, "ROOM=101", "RATE=80.5", "SINCE=20240310", "NOTE=a\\r\\nb"}, "1\n", 0},
      {{"append", t, "ROOM=102", "RATE=0"}, "2\n", 0},
      {{"set", t, "2", "RATE=95.25", "ROOM=100"}, "", 0},
      {{"append", t, "ROOM=103"}, "3\n", 0},
      {{"delete", t, "3"}, "", 0},
      {{"dump", t, "--tag", "ROOM", "--deleted"},
       "2|100  |   95.25|        |\n1|101  |   80.50|20240310|a\\r\\nb\n3*|103  |        |        "
       "|\n",
       0},
      {{"dump", t, "--tag", "RATE"},
       "1|101  |   80.50|20240310|a\\r\\nb\n2|100  |   95.25|        |\n",
       0},
      {{"verify", t}, verified, 0},
      {{"reindex", t}, "", 0},
      {{"struct", t},
       "field ROOM C 5 0\nfield RATE N 8 2\nfield SINCE D 8 0\nfield NOTE M 10 0\n"
       "tag ROOM key=ROOM for=\ntag RATE key=STR(RATE,8,2) for=RATE>0\n",
       0},
      {{"set", t, "1", "RATE=abc"}, "", 2},          // not a number: refused, nothing written
      {{"set", t, "9", "RATE=1"}, "", 2},            // no such record
      {{"append", t, "ROOM=104", "NOPE=1"}, "", 2},  // no such field: nothing appended
      {{"dump", dir.File("MISSING")}, "", 2},        // no such table
      {{"frobnicate"}, "", 2},                       // no such command
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.args[0]);
    int code = -1;
    std::string out = RunXbtool(s.args, "", &code);
    EXPECT_EQ(code, s.expected_code) << out;
    if (!s.expected_output.empty()) {
      EXPECT_EQ(out, s.expected_output);
    }
  }
  int code = -1;
  EXPECT_EQ(RunXbtool({"verify", t}, "", &code), verified);
  EXPECT_EQ(
      RunXbtool({"dump", t}, "", &code),
      "1|101  |   80.50|20240310|a\\r\\nb\n2|100  |   95.25|        |\n");  // nothing half-written
}

TEST(XbtoolCommandsTest, VerifyReportsAStaleIndexAndReindexMendsIt) {
  testing_support::TempDir dir;
  const std::string t = dir.File("T"), other = dir.File("O");
  int code = -1;
  for (const std::string& table : {t, other}) {
    RunXbtool({"create", table, "--field", "A:C:3", "--tag", "A=A"}, "", &code);
    RunXbtool({"append", table, table == t ? "A=abc" : "A=xyz"}, "", &code);
  }
  // Another table's index in its place: keys that do not belong to these records.
  std::filesystem::copy_file(other + ".CDX", t + ".CDX",
                             std::filesystem::copy_options::overwrite_existing);
  std::string out = RunXbtool({"verify", t}, "", &code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(out.find("record 1 has no entry with its key"), std::string::npos) << out;
  RunXbtool({"reindex", t}, "", &code);
  EXPECT_EQ(code, 0);
  RunXbtool({"verify", t}, "", &code);
  EXPECT_EQ(code, 0);
}

}  // namespace
