// ziruvuz-client --local: the reply bytes on standard output, the exit status, texts the
// server would never hand on, and requests built from values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/exchange/request_text.h"
#include "tests/support/temp_dir.h"
#include "tests/tools/ziruvuz_client/run_client.h"
#include "tools/xbtool/demo_writer.h"

namespace {

using testing_support::RunClient;

class ZiruvuzClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(program_.File("BASES"));
    xbtool::CreateDemoDatabase(program_.File("BASES"), xbase::JulianDay(2024, 3, 6));
  }

  std::string Bases(const std::string& table) const { return program_.File("BASES") + "/" + table; }

  // Runs the client on a request file holding `request`.
  testing_support::ClientRun RunLocal(const std::string& program_dir, const std::string& request) {
    std::ofstream(io_.File("request"), std::ios::binary) << request;
    return RunClient({"--local", program_dir, io_.File("request")});
  }

  // Runs the client on a request built from `values` (the arguments after the login).
  testing_support::ClientRun RunBuilt(const std::vector<std::string>& values) {
    std::vector<std::string> args = {
        "--local", program_.path().string(), "--user", "ZIRUVUZ", "--password", "ZV-2024"};
    args.insert(args.end(), values.begin(), values.end());
    return RunClient(args);
  }

  uint32_t LoggedRecords() {
    xbase::Cursor log(Bases("LOG_XML.DBF"));
    return log.RecCount();
  }

  testing_support::TempDir program_;
  testing_support::TempDir io_;
};

const std::string kLogin = testing_support::Login("ZIRUVUZ", "ZV-2024");

TEST_F(ZiruvuzClientTest, AReplyGoesToStandardOutputAsOnTheWire) {
  const testing_support::ClientRun run = RunLocal(
      program_.path().string(),
      testing_support::Envelope(kLogin +
                                "<ACTIONS><Action>GETINFO</Action><Room>101</Room>"
                                "<FirstName>Jos\xE9</FirstName><LastName>Mu\xF1oz</LastName>"
                                "</ACTIONS>"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("POST /interface/xxxxx HTTP/1.1\r\n")) << run.out;
  EXPECT_TRUE(run.out.ends_with("</soap:Envelope>\r\n")) << run.out;
  EXPECT_NE(run.out.find("<RatePlan>Tarifa rack</RatePlan>"), std::string::npos) << run.out;
  EXPECT_EQ(LoggedRecords(), 2u);
}

TEST_F(ZiruvuzClientTest, NoReplyGivesStatusThree) {
  const struct {
    const char* name;
    std::string request;
    uint32_t logged;
  } cases[] = {
      {"no end of envelope: never handed on", "<ZIRUVUZ>" + kLogin + "</ZIRUVUZ>", 0},
      {"unknown action",
       testing_support::Envelope(kLogin + "<ACTIONS><Action>CHECKOUT</Action></ACTIONS>"), 1},
  };
  for (const auto& c : cases) {
    const testing_support::ClientRun run = RunLocal(program_.path().string(), c.request);
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(run.status, 3) << c.name;
    EXPECT_EQ(LoggedRecords(), c.logged) << c.name;
  }
}

TEST_F(ZiruvuzClientTest, AProgramDirectoryWithoutTablesIsAnError) {
  const testing_support::ClientRun run =
      RunLocal(io_.path().string(), testing_support::Envelope(kLogin));
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("F_DIZU"), std::string::npos) << run.err;
}

TEST_F(ZiruvuzClientTest, GetInfoAndStatementBuiltFromValuesAreAnswered) {
  const struct {
    std::vector<std::string> values;
    std::string expected;
  } cases[] = {
      {{"getinfo", "101", "jos\xE9", "Mu\xF1oz"}, "<Room>101</Room>\r\n<Adults>1</Adults>"},
      {{"getinfo", "101", "Ana", "Mu\xF1oz"}, "<ERROR>Name Mismatch</ERROR>"},
      {{"statement", "101"}, "<ROOM_INFORMATION Name=\"Jose Munoz\" Room=\"101\"/>"},
      {{"statement", "999"}, "<ERROR>ROOM 999 not registered</ERROR>"},
  };
  for (const auto& c : cases) {
    const testing_support::ClientRun run = RunBuilt(c.values);
    EXPECT_EQ(run.status, 0) << c.values[0] << run.err;
    EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
  }
}

// Values holding the characters XML escapes arrive in the tables byte for byte.
TEST_F(ZiruvuzClientTest, RoomServiceBuiltFromValuesIsPostedAsSent) {
  const std::string order = "OR<&\"1'>";
  const std::string description = "Caf\xE9 <doble> & \"fuerte\"";
  const testing_support::ClientRun run =
      RunBuilt({"roomservice", "101", "--order", order, "--item",
                "CAF:" + description + ":2:10.00:13:10:0", "--item", "AGU:Agua:1:2.50:0:0:0"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("<ZIRUVUZ><MESSAGE>Success</MESSAGE></ZIRUVUZ>"), std::string::npos)
      << run.out;

  // The charge (22.50) and two taxes (13% and 10% of the coffee's 20.00).
  std::vector<std::string> lines;
  xbase::Cursor folio_lines(Bases("DET_FOL.DBF"));
  for (uint32_t recno = 1; recno <= folio_lines.RecCount(); ++recno) {
    folio_lines.GoTo(recno);
    if (folio_lines.Get("DOCUMEN").str.starts_with(order)) {
      char amount[32];
      std::snprintf(amount, sizeof amount, "%.2f", folio_lines.Get("DEBITO").num);
      lines.push_back(folio_lines.Get("COD_TRANS").str.substr(0, 2) + " " + amount);
    }
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"RS 22.50", "IV 2.60", "SS 2.00"}));

  std::vector<std::string> descriptions;
  xbase::Cursor items(Bases("DET_FOL2.DBF"));
  for (uint32_t recno = 1; recno <= items.RecCount(); ++recno) {
    items.GoTo(recno);
    descriptions.push_back(items.Get("DESCRIP").str);
  }
  ASSERT_GE(descriptions.size(), 2u);
  EXPECT_TRUE(descriptions[descriptions.size() - 2].starts_with(description))
      << descriptions[descriptions.size() - 2];
  EXPECT_TRUE(descriptions.back().starts_with("Agua")) << descriptions.back();
}

TEST_F(ZiruvuzClientTest, BadArgumentsPrintTheUsageAndGiveStatusTwo) {
  const testing_support::ClientRun run =
      RunBuilt({"roomservice", "101", "--item", "CAF:Caf\xE9: doble:2:10.00:13:10:0"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("no field may contain ':'"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("usage: ziruvuz-client"), std::string::npos) << run.err;

  const testing_support::ClientRun help = RunClient({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: ziruvuz-client")) << help.out;
}

}  // namespace
