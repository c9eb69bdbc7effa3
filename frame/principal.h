#pragma once
// The main frame window: an MDI frame whose identity (title, module code, login) follows from the
// module identifier, with the module's menu, the toolbar, the status bar, the quit-request check
// and the ways the program ends. For this module it opens the exchange server window by itself at
// start and minimises itself.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "frame/status_bar.h"
#include "frame/toolbar/frame_rights.h"
#include "lib/ui/app.h"
#include "lib/ui/wdiag.h"

namespace frame {

// Private messages the frame posts to itself.
inline constexpr uint32_t kMsgQuitCheckTimer1 = 2215;
inline constexpr uint32_t kMsgQuitCheck = 2216;
inline constexpr uint32_t kMsgForcedQuitCheck = 2217;
inline constexpr uint32_t kMsgStartModule = 2219;
inline constexpr uint32_t kMsgBusinessChanged = 2220;
inline constexpr uint32_t kMsgInactivityLock = 2223;
// The operating system asks the program to end (Ctrl-C, a service manager's stop).
inline constexpr uint32_t kMsgStopRequested = 2230;

// The module menu's command that opens the exchange server window.
inline constexpr int kCmdOpenModuleWindow = 6125;
inline constexpr uintptr_t kQuitCheckTimer = 2;
inline constexpr uintptr_t kForcedQuitTimer = 3;
inline constexpr uint32_t kQuitCheckIntervalMs = 60000;
inline constexpr uint32_t kForcedQuitIntervalMs = 30000;

// Opens the module's working window inside the frame for the given business.
using ModuleWindowOpener =
    std::function<void(ui::WindowObject* frame, const std::string& business)>;
// Registers what command 6125 runs (the program entry does it before the frame is made).
void SetModuleWindowOpener(ModuleWindowOpener opener);

class PRINCIPAL : public ui::MDIFRAME, public FrameRights {
 public:
  ~PRINCIPAL() override;

  // Builds the frame (identity, site settings, menu, toolbar, status bar, handler, timer) and
  // posts the module's start-up message. Returns this, or null when the window could not be made.
  PRINCIPAL* Init(const std::string& class_name, const std::string& caption);

  void MenuSet(const std::string& user, const std::string& business, bool flag);
  // A business change rebuilds the menu bar for the new business, with no user.
  void MenuSetForBusiness(const std::string& business) override;
  bool GET_RIGHTS(int id) const;
  bool GET_CHECKS(int id) const;
  void Chequear(int id, std::optional<bool> flag = {});
  void Sombrear(int id, std::optional<bool> flag = {});
  void Disponible(int id, std::optional<bool> flag = {});

  void CHECK_QUIT();
  // Ends the program once a forced quit's grace period has run out (timer 3).
  void CheckForcedQuit();
  // Asks to confirm the end; quits on OK, else returns false.
  bool Salir();
  void SALIR_M();
  void Exit();
  void EXIT_LOGIN();
  void LOGOUT_USER();
  void ADS_xINFO();
  // After a business change (2220): makes the signed-in user set a new password once it has
  // outlived its days; the program ends when the user declines.
  void CheckPasswordAge();
  // The dialog "ACT_CLAVE"; 1 once a new password was saved, 0 when the user cancelled.
  intptr_t ACT_CLAVE();

  std::string ID_MODULO = "EX_ZIRUVUZ";
  bool DO_LOGIN = true;
  ui::WindowObject* TOOLBAR = nullptr;
  std::unique_ptr<XSTATUS_BAR> STATUSBAR;
  bool NO_NEG = false;
  int ACTIVO = 1;
  int POR_SALIR = 0;
  // Tick count of a forced-quit announcement, or the time text of a supervisor notice.
  std::variant<std::monostate, uint32_t, std::string> TIME_SALIR;
  int CUAL = 0;
  bool CAPTURA = false;
  int INWNDPROC = 0;
  bool LUSENOEDITCOLOR = false;
  bool NETWORKREFRESH = true;
  bool SET_CUTTEXTMODE = false;

  // The warning windows opened by the quit-request check, newest last.
  const std::vector<std::shared_ptr<ui::WDIAG>>& AlarmWindows() const { return alarms_; }

 protected:
  bool OnClose() override;
  void OnSize() override;
  int ReservedBottom() const override;
  void CloseAllTables() override;

 private:
  void DEF_MODULO();
  void DoSubClPr(ui::Hwnd hwnd);
  intptr_t WndProcPR(int prev, ui::Hwnd hwnd, uint32_t message, ui::WPARAM wparam,
                     ui::LPARAM lparam);
  void ActOn(uint32_t message, ui::WPARAM wparam, ui::LPARAM lparam);
  void StartModule();
  void OpenModuleWindow();
  ui::WDIAG* OpenAlarm();
  void SetAlarmLines(ui::WDIAG& alarm, const std::vector<std::string>& lines);
  bool SaveNewPassword(ui::Hwnd dialog);
  void EndProgram();

  std::vector<std::shared_ptr<ui::WDIAG>> alarms_;
  // The answer of the confirmation asked for the close request being handled.
  std::optional<bool> close_answer_;
  int below_pr_ = 0;  // chain position under WndProcPR
};

}  // namespace frame
