#include "lib/ui/kv_wdialog.h"

#include "lib/ui/app.h"
#include "lib/ui/globals.h"
#include "lib/ui/run_loop.h"
#include "platform/win/window.h"

namespace ui {
namespace {

constexpr uint32_t kShowMessage = 4117;
constexpr uint32_t kZOrderBehind = 4111;

}  // namespace

intptr_t KV_WDIALOG::DispatchTable(uint32_t message, WPARAM w, LPARAM l) {
  if (Result first = HandleMessage(message, w, l)) return *first;
  KV_APP* app = Globals().OAPP;
  Result result;
  switch (message) {
    case win::WM_DRAWITEM:
      result = OnDRAWITEM(w, l);
      break;
    case win::WM_ERASEBKGND:
      result = OnERASEBKGND(w, l);
      break;
    case win::WM_PAINT:
      OnPAINT(w, l);
      return 0;
    case 306:
    case 307:
    case 308:
    case 309:
    case 310:
    case 311:
    case 312:
      return OnCTLCOLOR(w, l, message);
    case 44:
      result = OnMEASUREITEM(w, l);
      break;
    case win::WM_SETCURSOR:
      if (app && app->lLockApplication) return 1;
      break;
    case 26:
      result = OnWinIniChange(w, l);
      break;
    case 21:
      result = OnSYSCOLORCHANGE(w, l);
      break;
    case 512:
      result = OnMOUSEMOVE(w, l);
      break;
    case 132:
      result = OnNCHITTEST(w, l);
      break;
    case 46:
      result = OnVKEYTOITEM(w, l);
      break;
    case win::WM_VSCROLL:
      result = OnVSCROLL(w, l);
      break;
    case win::WM_COMMAND:
      result = OnCOMMAND(w, l);
      break;
    case kShowMessage:
      result = Show(w, l);
      break;
    case win::WM_ACTIVATE:
      if (app && win::LoWord(w) > 0) {
        app->hglobal = hwnd;
        app->hglobalLast = 0;
      } else if (app) {
        app->hglobal = 0;
        app->hglobalLast = hwnd;
      }
      result = OnACTIVATE(w, l);
      break;
    case 47:
      result = OnCHARTOITEM(w, l);
      break;
    case win::WM_CLOSE:
      result = OnCLOSE(w, l);
      break;
    case win::WM_DESTROY:
      if (app) app->DeleteDlgHandle(hwnd);
      LOCALEXEC();
      result = OnDESTROY(w, l);
      break;
    case 563:
      result = OnDROPFILES(w, l);
      break;
    case win::WM_ENABLE:
      result = OnENABLE(w, l);
      break;
    case win::WM_HSCROLL:
      result = OnHSCROLL(w, l);
      break;
    case win::WM_INITDIALOG: {
      if (app) app->AddDlgHandle({hwnd, 0, cDlgName, true});
      win::Rect client = win::GetClientRect(hwnd);
      last_client_size = {client.right, client.bottom};
      result = OnINITDIALOG(w, l);
      break;
    }
    case 278:
      result = OnINITMENU(w, l);
      break;
    case win::WM_KILLFOCUS:
      result = OnKILLFOCUS(w, l);
      break;
    case 515:
      result = OnLBUTTONDBLCLK(w, l);
      break;
    case 513:
      result = OnLBUTTONDOWN(w, l);
      break;
    case 514:
      result = OnLBUTTONUP(w, l);
      break;
    case win::WM_MOVE:
      result = OnMOVE(w, l);
      break;
    case win::WM_NCDESTROY:
      result = OnNCDESTROY(w, l);
      break;
    case 40:
      result = OnNEXTDLGCTL(w, l);
      break;
    case 55:
      return 0;  // no dialog icon
    case win::WM_SETFOCUS:
      result = OnSETFOCUS(w, l);
      break;
    case win::WM_SETFONT:
      result = OnSETFONT(w, l);
      break;
    case win::WM_SHOWWINDOW:
      result = OnSHOWWINDOW(w, l);
      break;
    case win::WM_SIZE:
      result = OnSIZE(w, l);
      break;
    case win::WM_SYSCOMMAND:
      OnSYSCOMMAND(w, l);
      return 0;
    case win::WM_TIMER:
      result = OnTIMER(w, l);
      break;
    case kZOrderBehind:
      return 0;  // stacking is left to the MDI area
    default:
      break;
  }
  return result.value_or(0);
}

}  // namespace ui
