// The client's command line: modes, request files, requests built from values, and every
// fault answered with a message that names it.
#include "tools/ziruvuz_client/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zvclient::CommandLine;
using zvclient::ParseCommandLine;

TEST(CommandLineTest, ModesAndRequestFiles) {
  CommandLine local;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--local", "/srv/hotel", "request.xml"}, local, error)) << error;
  EXPECT_EQ(local.mode, zvclient::Mode::kLocal);
  EXPECT_EQ(local.program_dir, "/srv/hotel");
  EXPECT_EQ(local.request_file, "request.xml");
  EXPECT_FALSE(local.built);

  CommandLine send;
  ASSERT_TRUE(
      ParseCommandLine({"request.xml", "--timeout", "0.25", "--send", "hotel:7100"}, send, error))
      << error;
  EXPECT_EQ(send.mode, zvclient::Mode::kSend);
  EXPECT_EQ(send.host, "hotel");
  EXPECT_EQ(send.port, 7100);
  EXPECT_EQ(send.timeout.count(), 250);
  EXPECT_EQ(send.request_file, "request.xml");

  CommandLine defaults;
  ASSERT_TRUE(ParseCommandLine({"--send", "10.0.0.5:1", "r"}, defaults, error)) << error;
  EXPECT_EQ(defaults.timeout.count(), 20000);

  CommandLine help;
  ASSERT_TRUE(ParseCommandLine({"--local", "d", "--help"}, help, error)) << error;
  EXPECT_TRUE(help.help);
}

TEST(CommandLineTest, RoomServiceWithItsOrderAndItems) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--local", "d", "--item", "CAF:Caf\xE9 & pan:2:10.00:13:10:0",
                                "--user", "ZIRUVUZ", "--password", "", "roomservice", "101",
                                "--order", "OR-7", "--item", "AGU:Agua:-1:2.5:0:0:0"},
                               line, error))
      << error;
  ASSERT_TRUE(line.built);
  const zvclient::RequestFields& fields = *line.built;
  EXPECT_EQ(fields.action, zvclient::RequestAction::kRoomService);
  EXPECT_EQ(fields.user, "ZIRUVUZ");
  EXPECT_EQ(fields.password, "");
  EXPECT_EQ(fields.room, "101");
  EXPECT_EQ(fields.order_number, "OR-7");
  ASSERT_EQ(fields.items.size(), 2u);
  const zvclient::OrderItem& first = fields.items[0];
  EXPECT_EQ(std::vector<std::string>({first.code, first.descrip, first.quantity, first.price,
                                      first.tax1, first.tax2, first.tax3}),
            std::vector<std::string>({"CAF", "Caf\xE9 & pan", "2", "10.00", "13", "10", "0"}));
  EXPECT_EQ(fields.items[1].quantity, "-1");
}

TEST(CommandLineTest, GetInfoTakesItsValuesInOrderAndDoubleDashEndsTheOptions) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--local", "d", "--user", "U", "--password", "P", "getinfo", "--",
                                "101", "--Ana--", "Rivas"},
                               line, error))
      << error;
  ASSERT_TRUE(line.built);
  EXPECT_EQ(line.built->action, zvclient::RequestAction::kGetInfo);
  EXPECT_EQ(line.built->room, "101");
  EXPECT_EQ(line.built->first_name, "--Ana--");
  EXPECT_EQ(line.built->last_name, "Rivas");
}

TEST(CommandLineTest, FaultsAreNamed) {
  const std::vector<std::string> kBuilt = {"--local", "d", "--user", "U", "--password", "P"};
  auto built = [&](std::vector<std::string> more) {
    std::vector<std::string> args = kBuilt;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  auto item = [&](const std::string& text) {
    return built({"roomservice", "101", "--item", text});
  };
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{}, "give either --local PROGRAMDIR or --send HOST:PORT"},
      {{"--local", "d", "--send", "h:1", "r"}, "give either --local PROGRAMDIR or --send"},
      {{"--send", "hotel", "r"}, "--send wants HOST:PORT with a port from 1 to 65535, not 'hotel'"},
      {{"--send", "h:0", "r"}, "not 'h:0'"},
      {{"--send", "h:65536", "r"}, "not 'h:65536'"},
      {{"--send", "h:+80", "r"}, "not 'h:+80'"},
      {{"--send", ":7100", "r"}, "not ':7100'"},
      {{"--send", "h:1", "--timeout", "0", "r"}, "--timeout wants a number of seconds above 0"},
      {{"--send", "h:1", "--timeout", "5s", "r"}, "not '5s'"},
      {{"--local", "d", "--timeout", "5", "r"}, "--timeout goes only with --send"},
      {{"--local", "d"}, "no request: give a REQUESTFILE or an action"},
      {{"--local", "d", "r", "s"}, "unexpected argument 's'"},
      {{"--local", "d", "--verbose", "r"}, "unknown option --verbose"},
      {{"--local", "d", "r", "--user"}, "--user needs a value"},
      {{"--local", "d", "--local", "e", "r"}, "--local is given twice"},
      {{"--local", "d", "statement", "101"}, "statement needs both --user and --password"},
      {{"--local", "d", "--user", "U", "statement", "101"}, "needs both --user and --password"},
      {built({"r.xml"}), "the action is getinfo, statement or roomservice, not 'r.xml'"},
      {built({"getinfo", "101", "Ana"}), "getinfo takes ROOM FIRSTNAME LASTNAME"},
      {built({"statement"}), "statement takes ROOM"},
      {built({"statement", "101", "--order", "7"}), "--order and --item go only with roomservice"},
      {built({"roomservice", "101"}), "roomservice needs at least one --item"},
      {item("CAF:Cafe:2:10:13:0"), "give CODE:DESCRIP:QTY:PRICE:TAX1:TAX2:TAX3, seven fields"},
      {item("CAF:Cafe: doble:2:10:13:0:0"), "(no field may contain ':')"},
      {item(":Cafe:2:10:13:0:0"), "CODE and DESCRIP must not be empty"},
      {item("CAF::2:10:13:0:0"), "CODE and DESCRIP must not be empty"},
      {item("CAF:Cafe::10:13:0:0"), "QTY '' is not a plain decimal number"},
      {item("CAF:Cafe:1O:10:13:0:0"), "QTY '1O' is not a plain decimal number"},
      {item("CAF:Cafe:2:1,250.00:13:0:0"), "PRICE '1,250.00' is not a plain decimal number"},
      {item("CAF:Cafe:2:12,5:13:0:0"), "PRICE '12,5'"},
      {item("CAF:Cafe:2:10.:13:0:0"), "PRICE '10.'"},
      {item("CAF:Cafe:2:.5:13:0:0"), "PRICE '.5'"},
      {item("CAF:Cafe:2:10:13%:0:0"), "TAX1 '13%'"},
      {item("CAF:Cafe:2:10:13:0: 1"), "TAX3 ' 1'"},
  };
  for (const auto& c : cases) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(c.args, line, error)) << c.error;
    EXPECT_NE(error.find(c.error), std::string::npos) << "got: " << error;
  }
}

}  // namespace
