#pragma once
// The application object: KV_APP (the frame window and its procedure), WAPP (run loop and
// menu command dispatch) and MDIFRAME (the MDI client in which every dialog lives).

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "lib/ui/bitmap.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/window_object.h"

namespace ui {

class WMENU;
class WTOOLBARDIALOG;

struct DialogEntry {
  Hwnd hwnd = 0;
  int flag = 0;
  std::string name;
  bool open = true;
};

class KV_APP : public WindowObject {
 public:
  // Stops being the application object (OAPP) when it goes.
  ~KV_APP() override;
  win::Hwnd WindowHandle() const override { return hwnd; }

  // Becomes OAPP, joins the socket layer to the window system (InstallSocketHooks), registers
  // the class, creates the frame and subclasses it with WndProc. False on failure.
  bool Init(const std::string& class_name, const std::string& caption, int width = 640,
            int height = 480);

  std::string cClassName, cCaption;
  Hwnd hwnd = 0;
  Hwnd hMasterWnd = 0;
  std::string cRESLIB;
  std::vector<DialogEntry> aDlgWnd;
  Hwnd hglobal = 0, hglobalLast = 0, hActive = 0;
  bool lLockApplication = false;
  bool lSavePos = true;
  std::vector<intptr_t> aVars = std::vector<intptr_t>(10, 0);
  std::vector<intptr_t> aEVars = std::vector<intptr_t>(16, 0);

  // The frame's first look at messages; a value ends the dispatch with it.
  virtual std::optional<intptr_t> HandleMessage(uint32_t, WPARAM, LPARAM) { return {}; }
  // Saves the frame's placement (unless it has a master window); true allows closing.
  virtual bool OnClose();
  virtual void OnDestroy() {}
  virtual void OnCreate() {}
  virtual void OnSetfocus() {}
  virtual void OnMove() {}
  virtual void OnSize() {}
  // Menu command dispatch (WAPP).
  virtual void OnCommand(WPARAM wparam, LPARAM lparam) = 0;
  // Shows the frame's menu bar (asked for by dialogs as they are activated).
  virtual void MENUSET() {}
  // The data layer closes its tables here on WM_DESTROY.
  virtual void CloseAllTables() {}

  void AddDlgHandle(const DialogEntry& entry);
  void DeleteDlgHandle(Hwnd dialog);
  // Posts WM_SYSCOMMAND SC_CLOSE to the frame.
  void QUIT();
  bool Busy() const { return aEVars[7] != 0; }
  void SetBusy(bool busy) { aEVars[7] = busy ? 1 : 0; }

  // For the MDI frame: the client and the dialog bookkeeping of the active child.
  Hwnd hMDIClient = 0;
  Hwnd ACTIVE_CHILD = 0;
  Hwnd NEXT_ACTIVE = 0;

 protected:
  intptr_t WndProc(Hwnd hwnd, uint32_t message, WPARAM wparam, LPARAM lparam);
  int chain_position_ = 0;

 private:
  intptr_t CloseApp(int mode);
};

class WAPP : public KV_APP {
 public:
  // Runs the program's message loop until WM_QUIT; returns its exit code.
  int EXEC22();
  void OnCommand(WPARAM wparam, LPARAM lparam) override;
  void MENUSET() override;
  WMENU* MENU = nullptr;
};

class MDIFRAME : public WAPP {
 public:
  ~MDIFRAME() override;
  // Makes the frame and its MDI client.
  bool Init(const std::string& class_name, const std::string& caption);
  void OnSize() override { UpdateClient(); }
  // Lays the toolbar strip and the MDI client out in the frame's client area.
  void UpdateClient();
  // Height kept free below the MDI client (a status bar's).
  virtual int ReservedBottom() const { return 0; }
  // Restores the saved placement (section "Fenster") and shows the frame.
  void Show(int command);
  std::vector<int> aClient = {0, 0, 0, 0};
  WTOOLBARDIALOG* oToolBar = nullptr;  // the strip above the MDI client, when there is one

  // Pictures painted into control -9001 of a dialog.
  struct PictureState {
    DibHandle dib = 0;  // the picture shown, owned by the frame
    std::string kind = "BMP";
  };
  PictureState v_Datos;
  // Loads BMP/<file_name> from the program directory (replacing the picture shown before) and
  // paints it into control -9001 of `dialog`. An empty name does nothing.
  void DO_FOTO(const std::string& file_name, Hwnd dialog);
  // Makes the control paint the frame's picture (once per control).
  void SUBCL_FOTO(Hwnd control);

 private:
  // WM_PAINT of a picture control: the picture as wide as the control, its height in
  // proportion, from the top left; then the control's own painting.
  intptr_t WndProcFoto(int below, Hwnd control, uint32_t message, WPARAM wparam, LPARAM lparam);
  std::set<Hwnd> picture_controls_;
};

}  // namespace ui
