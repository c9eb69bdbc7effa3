#pragma once
// The one process-wide settings record: every value that start-up creates with a fixed default
// and that the rest of the program reads, under the names the program uses for them. Values that
// start out "empty" and later hold a number, a date or a flag are optionals; object references of
// layers above this one (frame, toolbar, table handles, loaded libraries) are held as std::any.

#include <any>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace settings {

// One slot of the text-search registration, per area number.
struct TextSearchSlot {
  int flag = 0;                // 1: the table in this area feeds the word index
  std::string document_field;  // name of the field that identifies a record's document
  std::string table;           // the table's file name
  std::string reserved;        // third text of the slot, kept for the suite's other modules
};

// A table that feeds the word index and the field naming its documents.
struct TextSearchFile {
  std::string table;
  std::string document_field;
};

struct TempPath {
  int flag = 0;  // 1 = in use
  std::string path;
};

struct TermPair {
  std::string word;
  std::string replacement;
  int whole = 0;
};

inline constexpr int kTextSearchSlots = 5000;

struct Settings {
  Settings();

  std::string PATH;  // program directory with a trailing separator
  // OAPP, OCURMENU and OSTACK are objects of the window library, which keeps them typed
  // (ui::Globals()).
  std::intptr_t XAPPHANDLE = 0;
  std::any XAPPSELF;
  std::string DEF_RDD;  // "ADSCDX" or "DBFCDX"; set by start-up
  std::vector<std::string> XADSPARAMS = std::vector<std::string>(26);
  std::string XADSDIRECTORY;
  int XADSCACHERECORDS = 0;
  std::string XADS_TS = std::string(100, '0');
  std::optional<std::string> XADS_DIR;
  std::optional<bool> XADS_MYCONNECTION;
  int XADSTRANS = 0;
  std::vector<std::any> XADSFILEBAG;
  std::string XADS_T_ERR;
  std::any XDUMMYADSTABLE;
  TempPath XTEMPPATH;
  std::vector<std::string> XDBACCESS = std::vector<std::string>(3);  // [0]: data sub-folder
  std::string EXT_MODULO = "XXX";
  std::string USER_NAME = std::string(10, ' ');
  int USER_NUMBER = 1;
  std::string XUSER_ABREVIA;
  std::optional<std::string> XU_COMP;
  std::optional<int> XUSER_NUMBER;
  std::optional<int64_t> XFECHA_CLAVE;  // Julian day
  int XIDIOMA = 1;
  int XDO_CHAT = 0;
  int XSUPERACCESS = 0;
  int XNO_SALIR = 0;
  int IN_CH_STRUC = 0;
  bool XINERRORSYS = false;
  std::optional<uint32_t> XREC_E_S;
  std::string XEMAILADDR, XEMAILHOST, XEMAILNAME, XEMAILDEST, XEMAIL_AU, XEMAIL_AP, XEMAIL_CC1,
      XEMAIL_CC2;
  std::string XEMAIL_ID = "Desconocido";
  int XEMAILSEND = 0;
  int XEMAILAUTH = 0;
  std::optional<int> XEMAIL_SMTP_PORT, XEMAIL_POP3_PORT;
  std::vector<TermPair> XTRADUCT;
  std::any XTBARSELF;
  std::optional<int> XID_MENU = 0;
  int SNID = 30000;
  std::vector<std::any> OMENUENTRYPOINT;
  int XCONSTRUCTINGMENU = 0;
  int XBUTTON_STYLE = 3;
  std::vector<int> XMULTITASK = {1, 3};
  int XINMULTITASK = 0;
  int XDOTRANSPARENCY = 1;
  int XREMOTE_SESSION = 0;
  std::any XSPLASHOBJ;
  std::string XLOGOFILE;
  std::string XLOGO2;
  uint32_t XAPP_MAX_MESSAGETIME = 300000;
  uint32_t XAPP_LAST_MESSAGETIME = 0;  // tick count at start
  std::any XCSC32LIB;
  std::string XPRINT_FONT = "Times New Roman";
  int XGLOBAL_FONT_SIZE = 8;
  std::vector<std::string> XAVAILABLE_FONTS = {
      "Arial",   "Arial Black", "Arial Narrow", "AvantGarde", "Century",         "Courier",
      "Calibri", "Cambria",     "Eurostyle",    "Tahoma",     "Times New Roman", "Helvetica"};
  std::vector<TextSearchSlot> XTXT_SRCH_VECTOR =
      std::vector<TextSearchSlot>(kTextSearchSlots);  // index = area number
  std::vector<TextSearchFile> XTXT_SRCH_FILES;
  int XNUMCOLORS = 256;
  int XMANEJO_TC = 0;
  std::string XGLOBAL_FONT_NAME;  // dialog font override when not empty
  int XDGROUPLIMIT = 10000;
  std::vector<int> XWIN_ATRIB = {0, 0};  // slot 2 (index 1) = 1: dialogs stay at (0, 0)
  // Site settings the frame reads from F_SYS at start.
  int XMAXCOMMIT = 0;
  int XGRAYED = 1;
  std::string XSEL_DATE;
  int XREFRESH_BROWSE = 1;
  int XWS_SOCKET = 0;
  int XDLGSIZE = 0;
  int XFLAT_SHOW = 1;
  int XSIM_PRINT = 1;
  int XFIESTAHOUSECOUNT = 0;
  std::vector<int> XO_COLOUR = {192, 192, 192};
  std::vector<int> XH_COLOUR = {200, 0, 0};
  int XAPP_MESSAGE_NOCHECK = 0;
  // The last mouse-move parameters (names beginning "__L_") live with the window library, which
  // alone reads them; a leading double underscore is reserved in C++.
};

// The process's settings record, created with the defaults on first use.
Settings& Current();

// Puts every value back to its default (start-up does this first; tests between cases).
void Reset();

}  // namespace settings
