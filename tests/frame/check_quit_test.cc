// The quit-request file and the forced quit that follows it.
#include <gtest/gtest.h>

#include <string>

#include "frame/quit_request.h"
#include "platform/clock/clock.h"
#include "tests/frame/frame_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST(QuitRequestTest, WhoMustLeave) {
  struct Case {
    const char* name;
    std::string bytes;
    int group;
    bool everyone;
    bool leave;
  };
  const std::string zeros(50, '0');
  std::string group8 = zeros;
  group8[7] = '1';
  const Case cases[] = {
      {"empty file", "", 0, false, true},
      {"fifty zeros", zeros, 0, false, true},
      {"blanks and letters count as 0", "0  x--", 0, false, true},
      {"another group only", group8, 0, false, false},
      {"that group itself", group8, 8, false, true},
      {"another group, module of group 3", group8, 3, false, false},
      {"byte 1 is 1", "1" + zeros.substr(1), 0, true, true},
      {"byte 1 is 1, another group only", "1" + group8.substr(1), 0, true, false},
  };
  for (const Case& c : cases) {
    frame::QuitRequest request = frame::ReadQuitRequest(c.bytes, c.group);
    EXPECT_EQ(request.applies_to_everyone, c.everyone) << c.name;
    EXPECT_EQ(request.module_must_leave, c.leave) << c.name;
  }
}

class CheckQuitTest : public testing_support::FrameTest {
 protected:
  void CheckQuit() { win::SendMessage(frame_->hwnd, frame::kMsgQuitCheck, 0, 0); }
  void ForcedQuitTick() { win::SendMessage(frame_->hwnd, frame::kMsgForcedQuitCheck, 0, 0); }
  void ExpectQuitAfterGracePeriod(uint32_t start) {
    zvclock::FakeClock clock(start);
    WriteFile("bloquead.!", "");
    CheckQuit();
    ASSERT_EQ(frame_->AlarmWindows().size(), 1u);
    EXPECT_EQ(AlarmLines(*frame_->AlarmWindows()[0]), kForced);
    EXPECT_EQ(win::GetWindowText(frame_->AlarmWindows()[0]->WindowHandle()), "ADVERTENCIA");
    EXPECT_EQ(frame_->POR_SALIR, 1);
    EXPECT_EQ(std::get<uint32_t>(frame_->TIME_SALIR), start);

    std::filesystem::remove(dir_.File("bloquead.!"));  // too late to take it back
    CheckQuit();
    EXPECT_EQ(frame_->AlarmWindows().size(), 1u) << "announced once";
    clock.AdvanceMs(119999);
    ForcedQuitTick();
    EXPECT_FALSE(QuitRequested());
    clock.AdvanceMs(1);
    ForcedQuitTick();
    EXPECT_TRUE(QuitRequested());
  }
  const Lines kForced = {"Debe salir del sistema en m\xE1ximo 5 minutos!",
                         "Pasados los 5 minutos, el sistema autom\xE1ticamente", "se cerrar\xE1.",
                         ""};
  const Lines kSupervisor = {"Se ha solicitado a todos los usuarios", "salir del Sistema.",
                             "En _su_ calidad de Supervisor, Ud. NO ser\xE1 obligado", ""};
};

TEST_F(CheckQuitTest, WithoutTheFileOrForAnotherGroupNothingHappens) {
  zvclock::FakeClock clock;
  CheckQuit();
  std::string group8(50, '0');
  group8[7] = '1';
  WriteFile("BLOQUEAD.!", group8);
  CheckQuit();
  EXPECT_TRUE(frame_->AlarmWindows().empty());
  EXPECT_EQ(frame_->POR_SALIR, 0);
  EXPECT_FALSE(QuitRequested());
}

TEST_F(CheckQuitTest, AnAnnouncedQuitEndsTheProgramAfter120Seconds) {
  ExpectQuitAfterGracePeriod(1000);
}

TEST_F(CheckQuitTest, TheGracePeriodIsCountedAcrossTheTickCountWrap) {
  ExpectQuitAfterGracePeriod(0xFFFFFF00u);
}

TEST_F(CheckQuitTest, ASupervisorIsToldButNeverForcedOut) {
  zvclock::FakeClock clock;
  settings::Current().XSUPERACCESS = 1;
  WriteFile("BLOQUEAD.!", std::string(50, '0'));
  CheckQuit();
  ASSERT_EQ(frame_->AlarmWindows().size(), 1u);
  EXPECT_EQ(AlarmLines(*frame_->AlarmWindows()[0]), kSupervisor);
  EXPECT_EQ(frame_->POR_SALIR, 0);
  EXPECT_TRUE(std::holds_alternative<std::string>(frame_->TIME_SALIR));

  CheckQuit();  // a minute later, the file still there
  ASSERT_EQ(frame_->AlarmWindows().size(), 2u);
  EXPECT_EQ(AlarmLines(*frame_->AlarmWindows()[1]),
            (Lines{"Recuerde salirse del Sistema TARVISEN", "", "", ""}));
  clock.AdvanceMs(600000);
  ForcedQuitTick();
  EXPECT_FALSE(QuitRequested());
}

TEST_F(CheckQuitTest, ByteOneMakesEvenASupervisorLeave) {
  zvclock::FakeClock clock;
  settings::Current().XSUPERACCESS = 1;
  settings::Current().XNO_SALIR = 1;
  WriteFile("BLOQUEAD.!", "1");
  CheckQuit();
  EXPECT_EQ(settings::Current().XSUPERACCESS, 0);
  EXPECT_EQ(settings::Current().XNO_SALIR, 0);
  ASSERT_EQ(frame_->AlarmWindows().size(), 1u);
  EXPECT_EQ(AlarmLines(*frame_->AlarmWindows()[0]), kForced);
  EXPECT_EQ(frame_->POR_SALIR, 1);
}

TEST_F(CheckQuitTest, TheTimersPostTheChecks) {
  zvclock::FakeClock clock;
  WriteFile("BLOQUEAD.!", "");
  win::SendMessage(frame_->hwnd, win::WM_TIMER, frame::kQuitCheckTimer, 0);
  EXPECT_TRUE(frame_->AlarmWindows().empty()) << "the timer only posts";
  win::DispatchPending();
  EXPECT_EQ(frame_->AlarmWindows().size(), 1u);
  clock.AdvanceMs(120000);
  win::SendMessage(frame_->hwnd, win::WM_TIMER, frame::kForcedQuitTimer, 0);
  EXPECT_TRUE(QuitRequested());
}

}  // namespace
