#include "lib/settings/settings.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsTest, StartsWithTheDefaultsThatOtherLayersRelyOn) {
  settings::Reset();
  const settings::Settings& s = settings::Current();
  EXPECT_EQ(s.XADSCACHERECORDS, 0);
  EXPECT_EQ(s.XADSPARAMS.size(), 26u);
  EXPECT_EQ(s.XADS_TS, std::string(100, '0'));
  EXPECT_EQ(s.EXT_MODULO, "XXX");
  EXPECT_EQ(s.USER_NAME, std::string(10, ' '));
  EXPECT_EQ(s.XEMAIL_ID, "Desconocido");
  EXPECT_EQ(s.XUSER_ABREVIA, "");
  EXPECT_EQ(s.XDBACCESS.size(), 3u);
  EXPECT_EQ(s.XDBACCESS[0], "");
  EXPECT_EQ(s.XMULTITASK, (std::vector<int>{1, 3}));
  EXPECT_EQ(s.XAPP_MAX_MESSAGETIME, 300000u);
  EXPECT_EQ(s.XAVAILABLE_FONTS.size(), 12u);
  EXPECT_FALSE(s.XADS_MYCONNECTION.has_value());
  ASSERT_EQ(s.XTXT_SRCH_VECTOR.size(), 5000u);
  EXPECT_EQ(s.XTXT_SRCH_VECTOR[4999].flag, 0);
  ASSERT_FALSE(s.PATH.empty());
  EXPECT_EQ(s.PATH.back(), '/');
}

TEST(SettingsTest, ResetUndoesChanges) {
  settings::Current().DEF_RDD = "ADSCDX";
  settings::Current().XTXT_SRCH_VECTOR[7].flag = 1;
  settings::Reset();
  EXPECT_EQ(settings::Current().DEF_RDD, "");
  EXPECT_EQ(settings::Current().XTXT_SRCH_VECTOR[7].flag, 0);
}

}  // namespace
