#pragma once
// Handles, message numbers and style bits of the window system. The numbers are the classic
// Win32 values, because the window library and its callers speak them.

#include <cstdint>

namespace win {

using Hwnd = intptr_t;
using Hmenu = intptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// A window procedure; also the dialog procedure (non-zero result = handled).
using WndProc = LRESULT (*)(Hwnd, uint32_t, WPARAM, LPARAM);

struct Msg {
  Hwnd hwnd = 0;
  uint32_t message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

constexpr uint16_t LoWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t HiWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
constexpr WPARAM MakeWParam(uint16_t low, uint16_t high) {
  return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}
constexpr LPARAM MakeLParam(uint16_t low, uint16_t high) {
  return static_cast<LPARAM>(static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16));
}

// Window messages.
constexpr uint32_t WM_NULL = 0;
constexpr uint32_t WM_CREATE = 1;
constexpr uint32_t WM_DESTROY = 2;
constexpr uint32_t WM_MOVE = 3;
constexpr uint32_t WM_SIZE = 5;
constexpr uint32_t WM_ACTIVATE = 6;
constexpr uint32_t WM_SETFOCUS = 7;
constexpr uint32_t WM_KILLFOCUS = 8;
constexpr uint32_t WM_ENABLE = 10;
constexpr uint32_t WM_SETTEXT = 12;
constexpr uint32_t WM_GETTEXT = 13;
constexpr uint32_t WM_GETTEXTLENGTH = 14;
constexpr uint32_t WM_PAINT = 15;
constexpr uint32_t WM_CLOSE = 16;
constexpr uint32_t WM_QUIT = 18;
constexpr uint32_t WM_ERASEBKGND = 20;
constexpr uint32_t WM_SHOWWINDOW = 24;
constexpr uint32_t WM_SETCURSOR = 32;
constexpr uint32_t WM_CHILDACTIVATE = 34;
constexpr uint32_t WM_DRAWITEM = 43;
constexpr uint32_t WM_SETFONT = 48;
constexpr uint32_t WM_WINDOWPOSCHANGED = 71;
constexpr uint32_t WM_NCCREATE = 129;
constexpr uint32_t WM_NCDESTROY = 130;
constexpr uint32_t WM_NCACTIVATE = 134;
constexpr uint32_t WM_KEYDOWN = 256;
constexpr uint32_t WM_KEYUP = 257;
constexpr uint32_t WM_SYSKEYDOWN = 260;
constexpr uint32_t WM_INITDIALOG = 272;
constexpr uint32_t WM_COMMAND = 273;
constexpr uint32_t WM_SYSCOMMAND = 274;
constexpr uint32_t WM_TIMER = 275;
constexpr uint32_t WM_HSCROLL = 276;
constexpr uint32_t WM_VSCROLL = 277;
constexpr uint32_t WM_MOUSEWHEEL = 522;
constexpr uint32_t WM_MDIACTIVATE = 546;
constexpr uint32_t WM_MDISETMENU = 560;
constexpr uint32_t WM_CUT = 768;
constexpr uint32_t WM_COPY = 769;
constexpr uint32_t WM_PASTE = 770;
constexpr uint32_t WM_UNDO = 772;
constexpr uint32_t WM_USER = 1024;

// Edit control messages.
constexpr uint32_t EM_GETSEL = 176;
constexpr uint32_t EM_SETSEL = 177;
constexpr uint32_t EM_LINESCROLL = 182;
constexpr uint32_t EM_GETMODIFY = 184;
constexpr uint32_t EM_SETMODIFY = 185;
constexpr uint32_t EM_REPLACESEL = 194;
constexpr uint32_t EM_CANUNDO = 198;
constexpr uint32_t EM_UNDO = 199;
constexpr uint32_t EM_SETREADONLY = 207;

// Button, list box and combo box messages.
constexpr uint32_t BM_GETCHECK = 240;
constexpr uint32_t BM_SETCHECK = 241;
constexpr uint32_t BM_CLICK = 245;
constexpr uint32_t LB_ADDSTRING = 0x180;
constexpr uint32_t LB_RESETCONTENT = 0x184;
constexpr uint32_t LB_SETCURSEL = 0x186;
constexpr uint32_t LB_GETCURSEL = 0x188;
constexpr uint32_t LB_GETCOUNT = 0x18B;
constexpr uint32_t CB_ADDSTRING = 0x143;
constexpr uint32_t CB_GETCOUNT = 0x146;
constexpr uint32_t CB_GETCURSEL = 0x147;
constexpr uint32_t CB_RESETCONTENT = 0x14B;
constexpr uint32_t CB_SETCURSEL = 0x14E;

// Notification codes (high word of WM_COMMAND's wParam).
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t LBN_SELCHANGE = 1;
constexpr uint16_t CBN_SELCHANGE = 1;
constexpr uint16_t EN_CHANGE = 0x300;

constexpr WPARAM SC_CLOSE = 0xF060;

// WM_MOUSEWHEEL: wParam = key state (low word) and signed wheel delta (high word, positive when
// the wheel turns away from the user, 120 per notch); lParam = pointer on the screen (signed
// x low, y high).
constexpr int WHEEL_DELTA = 120;
constexpr uint16_t MK_LBUTTON = 0x1;
constexpr uint16_t MK_RBUTTON = 0x2;
constexpr uint16_t MK_SHIFT = 0x4;
constexpr uint16_t MK_CONTROL = 0x8;
constexpr uint16_t MK_MBUTTON = 0x10;

// Scroll requests (low word of WM_VSCROLL's wParam).
constexpr WPARAM SB_LINEUP = 0;
constexpr WPARAM SB_LINEDOWN = 1;
constexpr WPARAM SB_ENDSCROLL = 8;

// Virtual keys.
constexpr WPARAM VK_UP = 38;
constexpr WPARAM VK_DOWN = 40;
constexpr WPARAM VK_F10 = 121;

// Window styles.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_MINIMIZE = 0x20000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_HSCROLL = 0x00100000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_EX_LAYERED = 0x00080000;
constexpr uint32_t DS_SETFONT = 0x40;
constexpr uint32_t DS_MODALFRAME = 0x80;

constexpr uint32_t ES_CENTER = 0x1;
constexpr uint32_t ES_RIGHT = 0x2;
constexpr uint32_t ES_MULTILINE = 0x4;
constexpr uint32_t ES_UPPERCASE = 0x8;
constexpr uint32_t ES_PASSWORD = 0x20;
constexpr uint32_t ES_AUTOVSCROLL = 0x40;
constexpr uint32_t ES_AUTOHSCROLL = 0x80;
constexpr uint32_t ES_READONLY = 0x800;
constexpr uint32_t ES_WANTRETURN = 0x1000;

constexpr uint32_t BS_PUSHBUTTON = 0x0;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_CHECKBOX = 0x2;
constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
constexpr uint32_t BS_OWNERDRAW = 0xB;
constexpr uint32_t BS_TYPEMASK = 0xF;
constexpr uint32_t BS_MULTILINE = 0x2000;

constexpr uint32_t LBS_NOTIFY = 0x1;
constexpr uint32_t LBS_OWNERDRAWVARIABLE = 0x20;
constexpr uint32_t LBS_USETABSTOPS = 0x80;
constexpr uint32_t CBS_DROPDOWNLIST = 0x3;

// Slots of GetWindowLongPtr / SetWindowLongPtr.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = 8;

// Dialog and message box results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr int kUseDefault = static_cast<int>(0x80000000u);  // "default position" for x / y
constexpr uint32_t kRemoteSessionMetric = 4096;

// Menu flags.
constexpr uint32_t MF_GRAYED = 0x1;
constexpr uint32_t MF_DISABLED = 0x2;
constexpr uint32_t MF_BITMAP = 0x4;
constexpr uint32_t MF_CHECKED = 0x8;
constexpr uint32_t MF_POPUP = 0x10;
constexpr uint32_t MF_HILITE = 0x80;
constexpr uint32_t MF_SEPARATOR = 0x800;
constexpr uint32_t MF_ENABLED = 0x0;
constexpr uint32_t MF_UNCHECKED = 0x0;
constexpr uint32_t kMenuStateError = 0xFFFFFFFF;

}  // namespace win
