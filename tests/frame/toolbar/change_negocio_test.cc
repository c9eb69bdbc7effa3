// The business change: the check of name and password against USUARIOS (scrambled and plain
// passwords, blocked users, attempts counted against INTENTOS) and what an accepted user brings:
// the current business, the user's settings and rights, and the rate warning.
#include "frame/toolbar/change_negocio.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

#include "lib/data/password_scramble.h"
#include "tests/frame/toolbar/toolbar_fixture.h"

namespace {

using testing_support::Day;
using testing_support::Number;
using testing_support::Text;

const std::string kDenied = "[Serie Tarvisen] Acceso Denegado";
const std::string kBlocked = "[ERROR] Ud. tiene temporalmente bloqueado el Acceso al Sistema";
const std::string kExceeded =
    "[ERROR] Se ha excedido el n\xFAmero m\xE1ximo de Intentos permitidos";

struct User {
  std::string name;
  std::string password;  // as stored
  int scrambled = 0;     // ADASIPA
  int supervisor = 0;
  int blocked = 0;
};

class ChangeNegocioTest : public testing_support::ToolbarFixture {
 protected:
  uint32_t AddUser(const User& user, const std::string& business = "HTL02") {
    return Add("USUARIOS", {{"NEGOCIO", Text(business)},
                            {"NOMBRE", Text(user.name)},
                            {"PASSWORD", Text(user.password)},
                            {"ADASIPA", Number(user.scrambled)},
                            {"SUPERVISOR", Number(user.supervisor)},
                            {"BLOQUEADO", Number(user.blocked)},
                            {"CODIGO", Number(7)},
                            {"ABREVIA", Text("ANA")},
                            {"IDIOMA", Number(1)},
                            {"F_CLAVE", Day(2023, 12, 1)}});
  }
  xbase::Value UserField(uint32_t recno, const char* field) {
    xbase::Cursor users(TablePath("USUARIOS"));
    users.GoTo(recno);
    return users.Get(field);
  }
  // The dialog's check run directly, as "&Ok" runs it.
  bool Check(frame::CHANGE_NEGOCIO& dialog, const std::string& name, const std::string& pass) {
    dialog.uName = name;
    dialog.uPass = pass;
    return dialog.Verif_CHANGE();
  }
};

TEST_F(ChangeNegocioTest, ChecksNameAndPasswordAndScramblesAPlainOne) {
  struct Case {
    const char* what;
    User stored;
    std::string name, typed;
    bool accepted;
    std::vector<std::string> boxes;
    std::string stored_after;  // PASSWORD after the attempt
    int scrambled_after;
  } cases[] = {
      {"plain, scrambled on success",
       {"ANA", "SECRETO"},
       "ANA",
       "SECRETO",
       true,
       {},
       data::ENCRYPT_STRING("SECRETO   ", 1),
       1},
      {"name upper-cased",
       {"ANA", "SECRETO"},
       "ana",
       "SECRETO",
       true,
       {},
       data::ENCRYPT_STRING("SECRETO   ", 1),
       1},
      {"typed beyond ten characters",
       {"ANA", "CLAVE12345"},
       "ANA",
       "CLAVE12345XYZ",
       true,
       {},
       data::ENCRYPT_STRING("CLAVE12345", 1),
       1},
      {"already scrambled",
       {"ANA", data::ENCRYPT_STRING("SECRETO   ", 1), 1},
       "ANA",
       "SECRETO",
       true,
       {},
       data::ENCRYPT_STRING("SECRETO   ", 1),
       1},
      {"small letters never match",
       {"ANA", "secreto"},
       "ANA",
       "SECRETO",
       false,
       {kDenied},
       "secreto   ",
       0},
      {"wrong password", {"ANA", "SECRETO"}, "ANA", "OTRA", false, {kDenied}, "SECRETO   ", 0},
      {"no such user", {"ANA", "SECRETO"}, "LUIS", "SECRETO", false, {kDenied}, "SECRETO   ", 0},
      {"blocked user",
       {"ANA", "SECRETO", 0, 0, 1},
       "ANA",
       "SECRETO",
       false,
       {kBlocked, kDenied},
       data::ENCRYPT_STRING("SECRETO   ", 1),
       1},
      {"blocked supervisor",
       {"ANA", "SECRETO", 0, 1, 1},
       "ANA",
       "SECRETO",
       true,
       {},
       data::ENCRYPT_STRING("SECRETO   ", 1),
       1},
      // Scrambled, "AB#" would end in a blank and never read back: it stays plain.
      {"password that cannot be scrambled",
       {"ANA", "AB#"},
       "ANA",
       "AB#",
       true,
       {},
       "AB#       ",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(TablePath("USUARIOS"));
    std::filesystem::remove(Bases() + "/USUARIOS.CDX");
    Create("USUARIOS");
    uint32_t recno = AddUser(c.stored);
    settings::Reset();
    settings::Current().PATH = dir_.path().string() + "/";
    settings::Current().XUSER_ABREVIA = "OLD";
    frame::CHANGE_NEGOCIO dialog;
    dialog.Negocio = "HTL02";
    EXPECT_EQ(Check(dialog, c.name, c.typed), c.accepted);
    EXPECT_EQ(TakeBoxes(), c.boxes);
    EXPECT_EQ(UserField(recno, "PASSWORD").str, c.stored_after);
    EXPECT_EQ(UserField(recno, "ADASIPA").num, c.scrambled_after);
    // Only an accepted user's settings are taken.
    EXPECT_EQ(settings::Current().XUSER_ABREVIA, c.accepted ? "ANA " : "OLD");
    EXPECT_EQ(settings::Current().XUSER_NUMBER, c.accepted ? std::optional<int>(7) : std::nullopt);
    EXPECT_EQ(settings::Current().XIDIOMA, c.accepted ? 2 : 1);
    EXPECT_EQ(settings::Current().XSUPERACCESS, c.accepted ? c.stored.supervisor : 0);
  }
}

TEST_F(ChangeNegocioTest, TooManyFailuresBlockAnExistingUserAndCloseTheDialog) {
  {
    xbase::Cursor businesses(TablePath("NEGOCIOS"));
    for (businesses.GoTop(); !businesses.Eof(); businesses.Skip(1)) {
      businesses.RLock();
      businesses.Put("INTENTOS", Number(3));
      businesses.Unlock();
    }
  }
  struct Case {
    const char* what;
    User stored;
    std::string name;
    bool blocked_after;
    bool closed_after_third;
  } cases[] = {
      {"operator", {"ANA", "SECRETO"}, "ANA", true, true},
      {"supervisor", {"ANA", "SECRETO", 0, 1}, "ANA", false, true},
      {"no such user", {"ANA", "SECRETO"}, "LUIS", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(TablePath("USUARIOS"));
    std::filesystem::remove(Bases() + "/USUARIOS.CDX");
    Create("USUARIOS");
    uint32_t recno = AddUser(c.stored);
    frame::MTOOLBAR& toolbar = MakeToolbar();
    ChooseBusiness(toolbar, 1);
    auto dialog = toolbar.ChangeDialog();
    ASSERT_TRUE(dialog);
    for (int attempt = 1; attempt <= 2; ++attempt) EXPECT_FALSE(Check(*dialog, c.name, "MAL"));
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>(2, kDenied));
    EXPECT_FALSE(Check(*dialog, c.name, "MAL"));
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{kDenied, kExceeded}));
    win::DispatchPending();
    EXPECT_EQ(win::IsWindow(dialog->hWnd), !c.closed_after_third);
    EXPECT_EQ(UserField(recno, "BLOQUEADO").num, c.blocked_after ? 1 : 0);
    EXPECT_EQ(UserField(recno, "INFO_BLOQ").str.find("01/01/24 12:00:00") != std::string::npos,
              c.name == "ANA");
    if (c.closed_after_third) {
      EXPECT_EQ(frame::GET_NEGOCIO(), "HTL01          ");  // the list went back
    } else {
      EXPECT_FALSE(Check(*dialog, c.name, "MAL"));  // the count goes on
      EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{kDenied, kExceeded}));
    }
  }
}

TEST_F(ChangeNegocioTest, EnterWalksFromNameToPasswordToOkAndPressesAFocusedButton) {
  frame::MTOOLBAR& toolbar = MakeToolbar();
  ChooseBusiness(toolbar, 1);
  auto dialog = toolbar.ChangeDialog();
  ASSERT_TRUE(dialog);
  win::Hwnd name = win::GetDlgItem(dialog->hWnd, 500);
  win::Hwnd password = win::GetDlgItem(dialog->hWnd, 501);
  EXPECT_EQ(win::GetWindowText(dialog->hWnd),
            "Acceso a Compa\xF1\xED"
            "a");
  auto press_enter = [] {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QWidget* focus = testing_support::WidgetOf(win::GetFocus());
    ASSERT_NE(focus, nullptr);
    QApplication::sendEvent(focus, &enter);
  };
  win::SetFocus(name);
  press_enter();
  EXPECT_EQ(win::GetFocus(), password);
  press_enter();
  EXPECT_EQ(win::GetFocus(), win::GetDlgItem(dialog->hWnd, win::IDOK));
  EXPECT_TRUE(TakeBoxes().empty());
  press_enter();  // on "&Ok": the check runs with the empty name
  EXPECT_EQ(TakeBoxes(), std::vector<std::string>{kDenied});
  EXPECT_EQ(win::GetFocus(), name);
  EXPECT_TRUE(win::SaveWindowImage(dialog->hWnd, std::string(ZV_RENDER_DIR) + "/CHANGE_NEG.png"));

  win::SetFocus(win::GetDlgItem(dialog->hWnd, win::IDCANCEL));
  press_enter();  // on "&Cancelar": the dialog goes without a check
  EXPECT_FALSE(win::IsWindow(dialog->hWnd));
  EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ChangeNegocioTest, AcceptedUserBecomesTheCurrentBusinessWithRightsAndRateWarning) {
  uint32_t ana = AddUser({"ANA", "SECRETO"});
  {
    xbase::Cursor users(TablePath("USUARIOS"));
    users.GoTo(ana);
    users.RLock();
    users.Put("PERMISO1", Number(1));
    users.Put("BUTTONSTYL", Number(1));
    users.Put("SUBBASE", Text("S1"));
    users.Unlock();
  }
  Add("SUBBASES", {{"CODIGO", Text("S1")}, {"DIRECTORIO", Text("SUB1")}});
  Add("MENUS", {{"NEGOCIO", Text("HTL02")},
                {"USUARIO", Number(7)},
                {"ID_MENU", Number(2004)},
                {"CHECK_ID", xbase::Value::Logical(true)}});
  {
    xbase::Cursor businesses(TablePath("NEGOCIOS"));
    for (businesses.GoTop(); !businesses.Eof(); businesses.Skip(1)) {
      businesses.RLock();
      businesses.Put("CHECK_MON", Number(1));
      businesses.Put("CANT_MON", Number(30));
      businesses.Put("MANEJO_TC", Number(1));
      businesses.Unlock();
    }
  }
  Add("MONEDAS",
      {{"NEGOCIO", Text("HTL02")}, {"MONEDA", Text("01")}, {"DESCRIP", Text("Colones")}});
  Add("MONEDAS",
      {{"NEGOCIO", Text("HTL02")}, {"MONEDA", Text("02")}, {"DESCRIP", Text("Dolares")}});
  Add("T_CAMBIO", {{"NEGOCIO", Text("HTL02")},
                   {"MONEDA1", Text("02")},
                   {"MONEDA2", Text("01")},
                   {"FECHA", Day(2023, 11, 17)},  // 45 days ago
                   {"CAMBIO", Number(520)}});

  frame::MTOOLBAR& toolbar = MakeToolbar();
  ChooseBusiness(toolbar, 1);
  auto dialog = toolbar.ChangeDialog();
  ASSERT_TRUE(dialog);
  win::SetWindowText(win::GetDlgItem(dialog->hWnd, 500), "ANA");
  win::SetWindowText(win::GetDlgItem(dialog->hWnd, 501), "SECRETO");
  win::SetFocus(win::GetDlgItem(dialog->hWnd, win::IDOK));
  EXPECT_TRUE(dialog->PROCESAR());
  EXPECT_FALSE(win::IsWindow(dialog->hWnd));
  win::DispatchPending();

  EXPECT_EQ(toolbar.Cur_Neg, "HTL02          ");
  EXPECT_EQ(frame::GET_NEGOCIO(), "HTL02          ");
  EXPECT_EQ(settings::Current().XU_COMP, "HTL02          ");
  EXPECT_EQ(settings::Current().XMANEJO_TC, 1);
  EXPECT_EQ(win::GetWindowText(win::GetDlgItem(toolbar.hwnd, 999)), "ANA ");
  EXPECT_EQ(frame_->menus_built, std::vector<std::string>{"HTL02          "});
  EXPECT_EQ(frame_->ACT_NEG, "HTL02          ");
  EXPECT_EQ(frame_->ACT_USER, "ANA");
  EXPECT_EQ(frame_->ACT_UID, 7);
  ASSERT_EQ(frame_->MENU_VEC.size(), 5001u);
  EXPECT_TRUE(frame_->MENU_VEC[4]);    // menu 2004 from MENUS
  EXPECT_FALSE(frame_->MENU_VEC[5]);   // nothing in MENUS
  EXPECT_TRUE(frame_->MENU_VEC[9]);    // entry 10, always
  EXPECT_TRUE(frame_->MENU_VEC[904]);  // entry 905: PERMISO1
  EXPECT_EQ(settings::Current().XBUTTON_STYLE, 0);
  EXPECT_EQ(settings::Current().XDBACCESS[0], "SUB1");
  EXPECT_EQ(settings::Current().XDBACCESS[1], "S1");
  EXPECT_EQ(frame_->MENU_CHK, std::vector<bool>(5001, false));
  EXPECT_EQ(TakeBoxes(),
            std::vector<std::string>{
                "[Atenci\xF3n] Debe actualizar la definici\xF3n de tipos de cambio de Dolares a "
                "Colones\r"});
}

}  // namespace
