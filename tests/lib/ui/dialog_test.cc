// Dialogs from templates: ids and texts, term replacement, closing with Escape, rendering.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>
#include <cstdlib>

#include "lib/settings/settings.h"
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
  std::vector<settings::TermPair> terms = {{"", "x", 1}, {"Cliente", "Huésped", 0}};
  EXPECT_EQ(ui::ReplaceTerms("Cliente nuevo", terms), "Huésped nuevo");
  EXPECT_EQ(ui::ReplaceTerms("Nuevo cliente", terms), "Nuevo Huésped");
  EXPECT_EQ(ui::ReplaceTerms("Clientes", terms), "Clientes");
  EXPECT_EQ(ui::ReplaceTerms("CLIENTE", terms), "Huésped");
  EXPECT_EQ(ui::ReplaceTerms("Clientes", {{"Cliente", "Huésped", 1}}), "Huéspeds");
}

TEST(DialogTest, ExchangeTemplateGivesItsControlsWithReplacedTexts) {
  win::EnsureApplication();
  settings::Current().XTRADUCT = {{"Sabre", "Test", 0}};
  auto dialog = std::make_shared<CountingDialog>();
  ASSERT_EQ(dialog->Init(nullptr, "EXCHANGE"), dialog.get());
  settings::Current().XTRADUCT.clear();
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

// Records the commands that reach the dialog's message table.
class CommandDialog : public ui::WDIAG {
 public:
  std::vector<win::WPARAM> commands;
  ui::Result HandleMessage(uint32_t message, win::WPARAM w, win::LPARAM) override {
    if (message == win::WM_COMMAND) commands.push_back(w);
    return {};
  }
};

TEST(DialogTest, ButtonLookChangesTheFaceButNotTheCommand) {
  win::EnsureApplication();
  struct Case {
    int style;
    uint32_t button_bits;  // low four bits and the multi-line bit of push button 202
    bool blue_face;
  } cases[] = {{0, win::BS_PUSHBUTTON | win::BS_MULTILINE, false},
               {2, win::BS_OWNERDRAW, true},
               {3, win::BS_OWNERDRAW, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    settings::Current().XBUTTON_STYLE = c.style;
    auto dialog = std::make_shared<CommandDialog>();
    ASSERT_NE(dialog->Init(nullptr, "EXCHANGE"), nullptr);
    win::Hwnd button = win::GetDlgItem(dialog->hwnd, 202);
    auto style = static_cast<uint32_t>(win::GetWindowLongPtr(button, win::GWL_STYLE));
    EXPECT_EQ(style & (0xF | win::BS_MULTILINE), c.button_bits);
    EXPECT_TRUE(style & win::WS_TABSTOP);

    win::SendMessage(button, win::BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->commands, (std::vector<win::WPARAM>{win::MakeWParam(202, win::BN_CLICKED)}));

    if (c.style != 0) {  // the owner draws a gradient face: light above, darker below
      std::string png = std::string(ZV_RENDER_DIR) + "/button.png";
      ASSERT_TRUE(win::SaveWindowImage(button, png));
      QImage face(QString::fromStdString(png));
      QRgb top = face.pixel(face.width() / 2, 3),
           bottom = face.pixel(face.width() / 2, face.height() - 4);
      EXPECT_GT(qGray(top), qGray(bottom));
      EXPECT_EQ(qBlue(top) > qRed(top), c.blue_face);
    }
    win::DestroyWindow(dialog->hwnd);
  }
  settings::Current().XBUTTON_STYLE = 3;
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
