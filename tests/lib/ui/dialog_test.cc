// Dialogs from templates: ids and texts, term replacement, closing with Escape, rendering.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>

#include "lib/ui/control_window.h"
#include "lib/ui/globals.h"
#include "lib/ui/messages.h"
#include "lib/ui/term_replace.h"
#include "lib/ui/wdiag.h"
#include "platform/win/log.h"
#include "platform/win/window.h"

namespace {

const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

class CountingDialog : public ui::WDIAG {
 public:
  int nc_destroys = 0;
  ui::Result OnNCDESTROY(win::WPARAM, win::LPARAM) override {
    ++nc_destroys;
    return {};
  }
};

TEST(TermReplaceTest, ReplacesOnlyWholeWordsUnlessTheEntrySaysWhole) {
  std::vector<ui::TermEntry> terms = {{"", "x", 1}, {"Cliente", "Huésped", 0}};
  EXPECT_EQ(ui::ReplaceTerms("Cliente nuevo", terms), "Huésped nuevo");
  EXPECT_EQ(ui::ReplaceTerms("Nuevo cliente", terms), "Nuevo Huésped");
  EXPECT_EQ(ui::ReplaceTerms("Clientes", terms), "Clientes");
  EXPECT_EQ(ui::ReplaceTerms("CLIENTE", terms), "Huésped");
  EXPECT_EQ(ui::ReplaceTerms("Clientes", {{"Cliente", "Huésped", 1}}), "Huéspeds");
}

TEST(DialogTest, ExchangeTemplateGivesItsControlsWithReplacedTexts) {
  win::EnsureApplication();
  ui::Globals().XTRADUCT = {{"Sabre", "Test", 0}};
  auto dialog = std::make_shared<CountingDialog>();
  ASSERT_EQ(dialog->Init(nullptr, "EXCHANGE"), dialog.get());
  ui::Globals().XTRADUCT.clear();
  win::Hwnd h = dialog->hwnd;
  ASSERT_NE(h, 0);
  EXPECT_EQ(win::GetWindowText(h), "TARVISEN Data Exchange Server");
  EXPECT_EQ(win::GetWindowText(win::GetDlgItem(h, 201)), "Prueba Test");
  EXPECT_EQ(win::GetWindowText(win::GetDlgItem(h, 205)), "Generar y Enviar Inventario");
  EXPECT_EQ(win::GetWindowText(win::GetDlgItem(h, -9001)), "Logos");
  EXPECT_EQ(win::GetChildren(h).size(), 27u);
  // Push buttons became owner-drawn; the non-resizable style lost its sizing border.
  EXPECT_EQ(win::GetWindowLongPtr(win::GetDlgItem(h, 202), win::GWL_STYLE) & 0xF, 0xB);
  EXPECT_EQ(win::GetWindowLongPtr(h, win::GWL_STYLE) & win::WS_THICKFRAME, 0);
  ui::WEDIT port;
  port.Init(dialog.get(), 511);
  ui::SENDDLGITEMMESSAGE(h, 511, win::WM_SETTEXT, 0, "8080");
  EXPECT_EQ(port.Text(), "8080");

  std::string png = std::string(ZV_RENDER_DIR) + "/EXCHANGE.png";
  EXPECT_TRUE(win::SaveWindowImage(h, png));
  win::DestroyWindow(h);
}

TEST(DialogTest, EscapeClosesTheDialogAndNcDestroyRunsOnce) {
  win::SetLogSink([](std::string_view) {});
  auto dialog = std::make_shared<CountingDialog>();
  ASSERT_NE(dialog->Init(nullptr, "EXCHANGE"), nullptr);
  win::Hwnd h = dialog->hwnd;
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->property("zvHwnd").toLongLong() == h) QApplication::sendEvent(w, &escape);
  }
  EXPECT_FALSE(win::IsWindow(h));
  EXPECT_EQ(dialog->nc_destroys, 1);
  EXPECT_TRUE(dialog->lDestroyed);
  win::SetLogSink({});
}

TEST(DialogTest, MissingTemplateGivesNoWindowAndTellsTheUser) {
  std::vector<std::string> log;
  win::SetLogSink([&](std::string_view line) { log.emplace_back(line); });
  auto dialog = std::make_shared<CountingDialog>();
  EXPECT_EQ(dialog->Init(nullptr, "NOPE"), dialog.get());
  EXPECT_EQ(dialog->hwnd, 0);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("NOPE"), std::string::npos);
  win::SetLogSink({});
}

}  // namespace
