// xbtool create-demo: every table of the layouts, sound indexes, and the data the exchange needs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "lib/data/schema/layout.h"
#include "lib/data/schema/layout_check.h"
#include "platform/xbase/cursor.h"
#include "tests/support/temp_dir.h"

namespace {

int RunXbtool(const std::string& args) {
  int status = std::system((std::string(XBTOOL_PATH) + " " + args + " >/dev/null").c_str());
  return WEXITSTATUS(status);
}

int CountVisible(xbase::Cursor& cursor) {
  int n = 0;
  for (cursor.GoTop(); !cursor.Eof(); cursor.Skip(1)) ++n;
  return n;
}

TEST(CreateDemoTest, WritesEveryTableAndPassesVerify) {
  testing_support::TempDir dir;
  const std::string bases = dir.File("BASES");
  ASSERT_EQ(RunXbtool("create-demo " + bases + " --date 20240315"), 0);
  EXPECT_EQ(RunXbtool("verify " + bases), 0);
  for (const schema::TableLayout& layout : schema::Layouts()) {
    xbase::Cursor table(bases + "/" + layout.name);
    EXPECT_EQ(schema::CheckLayout(layout.name, table.fields()), "") << layout.name;
  }
  // A second run refuses to overwrite the tables.
  EXPECT_NE(RunXbtool("create-demo " + bases), 0);

  xbase::Cursor stays(bases + "/DET_RES2");
  stays.SetOrder("DET_RS30");
  EXPECT_TRUE(stays.Seek(xbase::Value::Character("HTL01          1101")));
  EXPECT_FALSE(stays.Seek(xbase::Value::Character("HTL01          0101")));
  int in_house = 0;
  for (const char* business : {"HTL01          1", "HTL02          1"}) {
    for (stays.Seek(xbase::Value::Character(business));
         !stays.Eof() && stays.Get("ESTADO").num == 1; stays.Skip(1)) {
      ++in_house;
    }
  }
  EXPECT_EQ(in_house, 40);

  xbase::Cursor settings(bases + "/F_DIZU");
  EXPECT_EQ(settings.Get("IP_ADDR").str.substr(0, 9), "127.0.0.1");
  EXPECT_EQ(settings.Get("IP_PORT").num, 7100);
  xbase::Cursor mail(bases + "/DEFMAIL");
  EXPECT_EQ(mail.Get("NEGOCIO_H").str.substr(0, 5), "HTL01");
  xbase::Cursor users(bases + "/U_DIZU");
  EXPECT_GE(CountVisible(users), 2);
  xbase::Cursor lines(bases + "/DET_FOL");
  int payments = 0, voided = 0;
  for (lines.GoTop(); !lines.Eof(); lines.Skip(1)) {
    payments += lines.Get("PAGO").num == 1;
    voided += lines.Get("VOID").num == 1;
  }
  EXPECT_GT(payments, 0);
  EXPECT_GT(voided, 0);
}

}  // namespace
