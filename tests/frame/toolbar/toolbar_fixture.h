#pragma once
// A program directory with the toolbar's tables, an MDI frame that takes the sign-in rights, and
// the window system's log (where headless message boxes go) captured. Today is 1 January 2024,
// 12:00:00 on the fake clock.

#include <QApplication>
#include <QComboBox>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "frame/toolbar/mtoolbar.h"
#include "frame/toolbar/teclado.h"
#include "lib/ui/app.h"
#include "platform/clock/clock.h"
#include "platform/progdir/program_dir.h"
#include "platform/win/log.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "platform/xbase/julian_date.h"
#include "tests/lib/data/data_fixture.h"
#include "tests/support/widget_lookup.h"

namespace testing_support {

inline const bool kToolbarOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

class TestFrame : public ui::MDIFRAME, public frame::FrameRights {
 public:
  void MenuSetForBusiness(const std::string& business) override { menus_built.push_back(business); }
  std::vector<std::string> menus_built;
};

inline xbase::Value Day(int year, int month, int day) {
  return xbase::Value::Date(xbase::JulianDay(year, month, day));
}

class ToolbarFixture : public DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    win::EnsureApplication();
    progdir::SetProgramDirectory(dir_.path().string());
    win::SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
    for (const char* table : {"NEGOCIOS", "USUARIOS", "MENUS", "SUBBASES", "MONEDAS", "T_CAMBIO",
                              "TRADUCT", "F_INV", "ENC_PPRE", "DET_PPRE", "DET_PREC"}) {
      Create(table);
    }
    // Added out of code order: the list follows tag NEGOCIOS.
    AddBusiness("HTL03", "Hotel Tres", "TRES.BMP");
    AddBusiness("HTL01", "Hotel Uno", "UNO.BMP");
    AddBusiness("HTL02", "Hotel Dos", "DOS.BMP");
  }
  void TearDown() override {
    CloseFrame();
    win::SetLogSink({});
    progdir::SetProgramDirectory("");
    DataFixture::TearDown();
  }

  void AddBusiness(const std::string& code, const std::string& name, const std::string& logo) {
    Add("NEGOCIOS", {{"CODIGO", Text(code)},
                     {"DESCRIP", Text(name)},
                     {"MONEDA_CON", Text("01")},
                     {"LOGO", Text(logo)},
                     {"LOGO2", Text("2" + logo)}});
  }

  // The frame (the application object) with its toolbar, replacing the one made before.
  frame::MTOOLBAR& MakeToolbar() {
    CloseFrame();
    frame_ = std::make_unique<TestFrame>();
    EXPECT_TRUE(frame_->Init("TOOLBARTEST", "frame"));
    settings::Current().XAPPHANDLE = frame_->hwnd;
    EXPECT_NE(frame::NewFrameToolbar(frame_.get()), nullptr);
    return *frame::FrameToolbar();
  }

  void CloseFrame() {
    if (frame_ && win::IsWindow(frame_->hwnd)) win::DestroyWindow(frame_->hwnd);
    if (win::IsWindow(frame::KeyboardWindow())) win::DestroyWindow(frame::KeyboardWindow());
    win::Msg msg;  // the frame's end posted WM_QUIT, which only a main loop takes
    while (win::PeekMessage(&msg, win::PM_REMOVE)) {
    }
    settings::Current().XTBARSELF.reset();
    frame_.reset();
    win::UnregisterClass("TOOLBARTEST");
  }

  // The operator picks entry `index` of the business list.
  void ChooseBusiness(frame::MTOOLBAR& toolbar, int index) {
    auto* combo = qobject_cast<QComboBox*>(WidgetOf(toolbar.oNegocios.hWnd));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
  }

  // The message boxes shown since the last call, as "[caption] text".
  std::vector<std::string> TakeBoxes() {
    std::vector<std::string> boxes;
    for (const std::string& line : log_) {
      if (line.rfind("message box ", 0) == 0) boxes.push_back(line.substr(12));
    }
    log_.clear();
    return boxes;
  }

  zvclock::FakeClock clock_;
  std::unique_ptr<TestFrame> frame_;
  std::vector<std::string> log_;
};

}  // namespace testing_support
