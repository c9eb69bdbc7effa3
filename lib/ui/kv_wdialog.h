#pragma once
// The dialog base: members and the table that turns messages into method calls.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lib/ui/control_window.h"
#include "lib/ui/handler_chain.h"
#include "lib/ui/window_object.h"

namespace ui {

using Result = std::optional<intptr_t>;  // nullopt: "nothing", counts as 0

// The methods of the message table, one per message, each "nothing" by default.
#define ZV_DIALOG_HANDLERS(X)                                                                      \
  X(OnDRAWITEM)                                                                                    \
  X(OnERASEBKGND)                                                                                  \
  X(OnPAINT)                                                                                       \
  X(OnMEASUREITEM)                                                                                 \
  X(OnWinIniChange)                                                                                \
  X(OnSYSCOLORCHANGE)                                                                              \
  X(OnMOUSEMOVE)                                                                                   \
  X(OnNCHITTEST)                                                                                   \
  X(OnVKEYTOITEM)                                                                                  \
  X(OnVSCROLL) X(OnCOMMAND) X(Show) X(OnACTIVATE) X(OnCHARTOITEM) X(OnCLOSE) X(OnDESTROY)          \
      X(OnDROPFILES) X(OnENABLE) X(OnHSCROLL) X(OnINITDIALOG) X(OnINITMENU) X(OnKILLFOCUS)         \
          X(OnLBUTTONDBLCLK) X(OnLBUTTONDOWN) X(OnLBUTTONUP) X(OnMOVE) X(OnNCDESTROY)              \
              X(OnNEXTDLGCTL) X(OnSETFOCUS) X(OnSETFONT) X(OnSHOWWINDOW) X(OnSIZE) X(OnSYSCOMMAND) \
                  X(OnTIMER)

class KV_WDIALOG : public WindowObject, public std::enable_shared_from_this<KV_WDIALOG> {
 public:
  win::Hwnd WindowHandle() const override { return hwnd; }

  Hwnd hwnd = 0;
  Hwnd hWnd_Public = 0;
  WindowObject* oParent = nullptr;
  Hwnd hWndParent = 0;
  std::string cDlgName, cIniEntry;
  std::vector<WCONTROLWINDOW*> aItems;
  bool lDestroyed = false;
  bool lNoCancel = false;
  int Executing_Init = 0, Executing_CloseIt = 0, Executing_Eval = 0;
  std::pair<int, int> last_client_size;  // aWDIALOG[5]

  // First look at every message; a value ends the dispatch.
  virtual Result HandleMessage(uint32_t, WPARAM, LPARAM) { return {}; }
  virtual intptr_t OnCTLCOLOR(WPARAM, LPARAM, uint32_t) { return 0; }
#define ZV_DECLARE_HANDLER(name) \
  virtual Result name(WPARAM, LPARAM) { return {}; }
  ZV_DIALOG_HANDLERS(ZV_DECLARE_HANDLER)
#undef ZV_DECLARE_HANDLER

 protected:
  // The message table; a result of nothing counts as 0.
  intptr_t DispatchTable(uint32_t message, WPARAM wparam, LPARAM lparam);
};

}  // namespace ui
