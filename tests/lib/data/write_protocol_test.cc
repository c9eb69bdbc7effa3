// The write protocol: appended and modified records reach the table and its index only through
// the release; refused locks are waited for with alerts after 5 s and never abandoned.
#include "lib/data/write_protocol.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "lib/data/wtable.h"
#include "platform/clock/clock.h"
#include "tests/lib/data/data_fixture.h"

namespace {

using data::TableHandle;
using data::USE;
using testing_support::Number;
using testing_support::Text;

class WriteProtocolTest : public testing_support::DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    Create("ENC_FOL");
    Add("ENC_FOL", {{"NEGOCIO", Text("H1")}, {"NUMERO", Text("F1")}, {"CONSECUT", Text("0001")}});
  }
  static std::string Folio(const std::string& number) {
    return "H1" + std::string(13, ' ') + number;
  }
};

TEST_F(WriteProtocolTest, AppendAssignReleaseWritesTheRecordAndItsKeys) {
  TableHandle other = USE({}, "ENC_FOL", "ENC_FOL4");
  TableHandle folios = USE({}, "ENC_FOL", "ENC_FOL4");
  data::ADD_NEW_REC();
  data::SelectedCursor().Put("NEGOCIO", Text("H1"));
  data::SelectedCursor().Put("NUMERO", Text("F2"));
  data::UNLOCK_NEW_REC();
  EXPECT_EQ(data::SelectedArea(), folios->Area);
  EXPECT_TRUE(other->Seek(Folio("F2")));  // another cursor finds it through the index
  EXPECT_EQ(other->RecNo(), 2u);
}

TEST_F(WriteProtocolTest, LockModifyReleaseChangesTheCurrentRecord) {
  TableHandle folios = USE({}, "ENC_FOL", "ENC_FOL4");
  ASSERT_TRUE(folios->Seek(Folio("F1")));
  data::LOCK_FOR_MODIFY();
  folios->FieldPut("CONSECUT", Text("0002"));
  data::UNLOCK_FOR_MODIFY();
  xbase::Cursor check(TablePath("ENC_FOL"));
  EXPECT_EQ(check.Get("CONSECUT").str, "0002");
  EXPECT_TRUE(check.RLock());  // the release left no lock behind
}

struct LockWaitCase {
  uint32_t held_until_ms;
  size_t alerts;
};

TEST_F(WriteProtocolTest, ARecordLockIsWaitedForAndAlertedOncePerFailureAfterFiveSeconds) {
  // Locks alert before their 100 ms wait: failures at 5100..5900 alert, the try at 6000 succeeds.
  const LockWaitCase cases[] = {{3000, 0}, {6000, 9}};
  for (const LockWaitCase& c : cases) {
    alerts_.clear();
    auto holder = std::make_unique<xbase::Cursor>(TablePath("ENC_FOL"));
    ASSERT_TRUE(holder->RLock());
    zvclock::FakeClock clock;
    clock.SetOnAdvance([&](uint32_t tick) {
      if (tick >= c.held_until_ms && holder) holder->Unlock();
    });
    TableHandle folios = USE({}, "ENC_FOL", "ENC_FOL4");
    ASSERT_TRUE(folios->Seek(Folio("F1")));
    data::LOCK_FOR_MODIFY();
    folios->FieldPut("GRUPO", Text("0007"));
    data::UNLOCK_FOR_MODIFY();
    EXPECT_EQ(alerts_.size(), c.alerts) << c.held_until_ms;
    if (!alerts_.empty()) {
      EXPECT_EQ(alerts_[0], "Alerta|El dato se encuentra bloqueado: ENC_FOL001");
    }
    EXPECT_GE(clock.tick(), c.held_until_ms);
    data::KILLTABLA(folios);
    holder.reset();
    EXPECT_EQ(xbase::Cursor(TablePath("ENC_FOL")).Get("GRUPO").str, "0007");
  }
}

TEST_F(WriteProtocolTest, ARecordHeldByAnotherProcessIsWrittenOnceItIsReleased) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t station = ::fork();
  if (station == 0) {
    xbase::Cursor c(TablePath("ENC_FOL"));
    bool locked = c.RLock();
    if (::write(ready[1], locked ? "L" : "F", 1) != 1) ::_exit(2);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    c.Unlock();
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 'L');
  TableHandle folios = USE({}, "ENC_FOL");
  data::LOCK_FOR_MODIFY();  // real clock: waits for the other process
  folios->FieldPut("GRUPO", Text("0009"));
  data::UNLOCK_FOR_MODIFY();
  int status = 0;
  ::waitpid(station, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(alerts_.empty());
  EXPECT_EQ(xbase::Cursor(TablePath("ENC_FOL")).Get("GRUPO").str, "0009");
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(WriteProtocolTest, ARefusedAppendSetsTheNetworkFlagAndIsRetried) {
  auto holder = std::make_unique<xbase::Cursor>(TablePath("ENC_FOL"));
  ASSERT_TRUE(holder->FLock());
  zvclock::FakeClock clock;
  clock.SetOnAdvance([&](uint32_t tick) {
    if (tick >= 5200) holder->Unlock();
  });
  TableHandle folios = USE({}, "ENC_FOL");
  EXPECT_FALSE(folios->Append());  // the handle's own append does not wait
  EXPECT_TRUE(data::NETERR());
  data::ADD_NEW_REC();
  EXPECT_FALSE(data::NETERR());
  data::UNLOCK_NEW_REC();
  EXPECT_EQ(folios->RecCount(), 2u);
  // Appends wait before deciding on the alert: failures at 5000 and 5100 are alerted.
  EXPECT_EQ(alerts_.size(), 2u);
}

TEST_F(WriteProtocolTest, TheServerEngineAlertNamesTheRecord) {
  settings::Current().DEF_RDD = "ADSCDX";
  auto holder = std::make_unique<xbase::Cursor>(TablePath("ENC_FOL"));
  ASSERT_TRUE(holder->RLock());
  zvclock::FakeClock clock;
  clock.SetOnAdvance([&](uint32_t tick) {
    if (tick >= 5200) holder->Unlock();
  });
  TableHandle folios = USE({}, "ENC_FOL");
  EXPECT_EQ(folios->RDD, "ADS");
  data::LOCK_FOR_MODIFY();
  data::UNLOCK_FOR_MODIFY();
  ASSERT_FALSE(alerts_.empty());
  EXPECT_EQ(alerts_[0], "Alerta|El dato se encuentra bloqueado: ENC_FOL001/         1");
}

}  // namespace
