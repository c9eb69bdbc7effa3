// ziruvuz-client --local: the reply bytes on standard output, the exit status, and texts the
// server would never hand on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/xbase/cursor.h"
#include "platform/xbase/julian_date.h"
#include "tests/exchange/request_text.h"
#include "tests/support/temp_dir.h"
#include "tools/xbtool/demo_writer.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class ZiruvuzClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(program_.File("BASES"));
    xbtool::CreateDemoDatabase(program_.File("BASES"), xbase::JulianDay(2024, 3, 6));
  }

  // Runs the client on `request`; returns standard output and sets the exit status.
  std::string RunLocal(const std::string& program_dir, const std::string& request, int* status) {
    std::ofstream(io_.File("request"), std::ios::binary) << request;
    const std::string command = std::string(CLIENT_PATH) + " --local '" + program_dir + "' '" +
                                io_.File("request") + "' >'" + io_.File("out") + "' 2>'" +
                                io_.File("err") + "'";
    *status = WEXITSTATUS(std::system(command.c_str()));
    return ReadFile(io_.File("out"));
  }

  uint32_t LoggedRecords() {
    xbase::Cursor log(program_.File("BASES") + "/LOG_XML.DBF");
    return log.RecCount();
  }

  testing_support::TempDir program_;
  testing_support::TempDir io_;
};

const std::string kLogin = testing_support::Login("ZIRUVUZ", "ZV-2024");

TEST_F(ZiruvuzClientTest, AReplyGoesToStandardOutputAsOnTheWire) {
  int status = -1;
  const std::string out = RunLocal(
      program_.path().string(),
      testing_support::Envelope(kLogin +
                                "<ACTIONS><Action>GETINFO</Action><Room>101</Room>"
                                "<FirstName>Jos\xE9</FirstName><LastName>Mu\xF1oz</LastName>"
                                "</ACTIONS>"),
      &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(out.starts_with("POST /interface/xxxxx HTTP/1.1\r\n")) << out;
  EXPECT_TRUE(out.ends_with("</soap:Envelope>\r\n")) << out;
  EXPECT_NE(out.find("<RatePlan>Tarifa rack</RatePlan>"), std::string::npos) << out;
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
    int status = -1;
    EXPECT_EQ(RunLocal(program_.path().string(), c.request, &status), "") << c.name;
    EXPECT_EQ(status, 3) << c.name;
    EXPECT_EQ(LoggedRecords(), c.logged) << c.name;
  }
}

TEST_F(ZiruvuzClientTest, AProgramDirectoryWithoutTablesIsAnError) {
  int status = -1;
  EXPECT_EQ(RunLocal(io_.path().string(), testing_support::Envelope(kLogin), &status), "");
  EXPECT_EQ(status, 2);
  EXPECT_NE(ReadFile(io_.File("err")).find("F_DIZU"), std::string::npos)
      << ReadFile(io_.File("err"));
}

}  // namespace
