// The password-age check after a business change, and the dialog that sets a new password.
#include "frame/password_age.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/clock/clock.h"
#include "platform/xbase/cursor.h"
#include "tests/frame/frame_fixture.h"

namespace {

TEST(PasswordAgeTest, TheStricterPositiveLimitApplies) {
  struct Case {
    int business, user, limit;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{30, 0, 30}, Case{0, 45, 45}, Case{30, 45, 30},
                        Case{60, 45, 45}, Case{-5, 10, 10}, Case{-5, -1, 0}}) {
    EXPECT_EQ(frame::PasswordDayLimit(c.business, c.user), c.limit) << c.business << " " << c.user;
  }
  const int64_t today = 2460376;
  EXPECT_FALSE(frame::PasswordTooOld(today - 31, 0, today)) << "no limit";
  EXPECT_FALSE(frame::PasswordTooOld(std::nullopt, 30, today)) << "no date";
  EXPECT_FALSE(frame::PasswordTooOld(today - 30, 30, today));
  EXPECT_TRUE(frame::PasswordTooOld(today - 31, 30, today));
}

class PasswordChangeTest : public testing_support::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    SetField("NEGOCIOS", 1, "DIAS_CLAVE", 30);  // HTL01
    settings::Current().XU_COMP = "HTL01";
    settings::Current().XUSER_NUMBER = 2;  // RECEPCION
  }

  void SetField(const std::string& table, uint32_t recno, const char* field, double value) {
    xbase::Cursor cursor(dir_.File("BASES") + "/" + table + ".DBF");
    cursor.GoTo(recno);
    ASSERT_TRUE(cursor.RLock());
    cursor.Put(field, xbase::Value::Numeric(value));
    cursor.Unlock();
    cursor.Close();
  }

  // Sends 2220; `answer` acts on the password dialog when one opens.
  bool BusinessChanged(const std::function<void(win::Hwnd dialog)>& answer) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->windowTitle() != "Cambio de Clave de Acceso") continue;
        if (!widget->property("zvHwnd").isValid()) continue;
        opened = true;
        answer(widget->property("zvHwnd").toLongLong());
        return;
      }
    });
    win::SendMessage(frame_->hwnd, frame::kMsgBusinessChanged, 0, 0);
    return opened;
  }

  static void Type(win::Hwnd dialog, const std::string& password, const std::string& again) {
    win::SetWindowText(win::GetDlgItem(dialog, 101), password);
    win::SetWindowText(win::GetDlgItem(dialog, 102), again);
  }

  std::string StoredPassword() {
    xbase::Cursor users(dir_.File("BASES") + "/USUARIOS.DBF");
    users.GoTo(2);  // RECEPCION of HTL01
    return users.Get("PASSWORD").str;
  }

  zvclock::FakeClock clock_{0, {2024, 3, 6, 9, 0, 0}};
  const int64_t today_ = xbase::JulianDay(2024, 3, 6);
};

TEST_F(PasswordChangeTest, AFreshPasswordAsksNothing) {
  settings::Current().XFECHA_CLAVE = today_ - 30;
  EXPECT_FALSE(BusinessChanged([](win::Hwnd dialog) { win::EndDialog(dialog, 0); }));
  EXPECT_FALSE(QuitRequested());
}

TEST_F(PasswordChangeTest, AnOldPasswordIsReplacedAfterAMismatchIsRefused) {
  settings::Current().XFECHA_CLAVE = today_ - 31;
  ASSERT_TRUE(BusinessChanged([](win::Hwnd dialog) {
    Type(dialog, "NUEVA1", "NUEVA2");
    win::SendMessage(dialog, win::WM_COMMAND, win::IDOK, 0);  // refused: stays open
    Type(dialog, "NUEVA1", "NUEVA1");
    win::SendMessage(dialog, win::WM_COMMAND, win::IDOK, 0);
  }));
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(StoredPassword(), "NUEVA1    ");
  EXPECT_EQ(settings::Current().XFECHA_CLAVE, today_);
  EXPECT_FALSE(QuitRequested());
}

TEST_F(PasswordChangeTest, TheUsersOwnStricterLimitAppliesAndCancelEndsTheProgram) {
  SetField("USUARIOS", 2, "DIAS_CLAVE", 10);
  settings::Current().XFECHA_CLAVE = today_ - 11;
  ASSERT_TRUE(BusinessChanged(
      [](win::Hwnd dialog) { win::SendMessage(dialog, win::WM_COMMAND, win::IDCANCEL, 0); }));
  EXPECT_EQ(StoredPassword(), "RECEP1    ");
  EXPECT_TRUE(QuitRequested());
}

}  // namespace
