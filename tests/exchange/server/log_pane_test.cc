// The log panes: newest entry on top, never more than 10,000 characters, NUL shown as blank.
#include "exchange/server/log_pane.h"

#include <gtest/gtest.h>

namespace {

TEST(LogPaneTest, NewestEntryOnTopAndTheOldestTextCutOff) {
  EXPECT_EQ(PaneWithEntry("first", ""), "first\r\n");
  EXPECT_EQ(PaneWithEntry("second", "first\r\n"), "second\r\nfirst\r\n");

  const std::string full(kPaneLimit, 'o');
  const std::string added = PaneWithEntry("new", full);
  ASSERT_EQ(added.size(), kPaneLimit);
  EXPECT_EQ(added.substr(0, 6), "new\r\no");

  const std::string long_entry = std::string(kPaneLimit - 1, 'n') + "END";
  EXPECT_EQ(PaneWithEntry(long_entry, full), long_entry.substr(0, kPaneLimit));
  EXPECT_EQ(PaneWithEntry(std::string(kPaneLimit - 1, 'n'), full),
            std::string(kPaneLimit - 1, 'n') + "\r");
}

TEST(LogPaneTest, NulBytesShowAsBlanksSoOlderTextStaysVisible) {
  EXPECT_EQ(PaneWithEntry(std::string("a\0b", 3), "old\r\n"), "a b\r\nold\r\n");
}

}  // namespace
