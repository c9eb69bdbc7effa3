#include "frame/site_settings.h"

#include <string>
#include <string_view>

#include "frame/temp_dir.h"
#include "lib/data/text_fields.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"

namespace frame {
namespace {

// Reads the current record of an open table, field by field, when the field exists.
class RecordReader {
 public:
  explicit RecordReader(data::WDBTable& table) : table_(table) {}
  bool Has(std::string_view field) { return table_.FieldPos(field) > 0; }
  int Number(std::string_view field) { return static_cast<int>(table_.FieldGet(field).num); }
  std::string Text(std::string_view field) { return TrimBlanks(table_.FieldGet(field).str); }
  void Number(std::string_view field, int& target) {
    if (Has(field)) target = Number(field);
  }
  void Number(std::string_view field, std::optional<int>& target) {
    if (Has(field)) target = Number(field);
  }
  void Text(std::string_view field, std::string& target) {
    if (Has(field)) target = Text(field);
  }

 private:
  data::WDBTable& table_;
};

// Closes the table however the reading ends.
struct Closing {
  const data::TableHandle& table;
  ~Closing() { data::KILLTABLA(table); }
};

void ReadColours(RecordReader& record, settings::Settings& globals) {
  if (!record.Has("RGB1")) return;
  // RGB1-RGB6 are for screens of at most 20 colours; the screens the toolkit drives are all
  // true-colour screens, which take RGB7-RGB12.
  const int first = 7;
  auto triple = [&](int from, std::vector<int>& colour) {
    std::vector<int> values;
    for (int i = from; i < from + 3; ++i) {
      std::string field = "RGB" + std::to_string(i);
      values.push_back(record.Has(field) ? record.Number(field) : 0);
    }
    if (values != std::vector<int>{0, 0, 0}) colour = values;
  };
  triple(first, globals.XO_COLOUR);
  triple(first + 3, globals.XH_COLOUR);
}

}  // namespace

void ReadMailSettings() {
  settings::Settings& globals = settings::Current();
  data::TableHandle table = data::USE({}, "DEFMAIL", "DEFMAIL");
  Closing closing{table};
  table->GoTop();
  RecordReader record(*table);
  globals.XEMAIL_SMTP_PORT.reset();
  globals.XEMAIL_POP3_PORT.reset();
  record.Number("SMTP_PORT", globals.XEMAIL_SMTP_PORT);
  record.Number("POP3_PORT", globals.XEMAIL_POP3_PORT);
  std::string* texts[] = {&globals.XEMAILHOST, &globals.XEMAILNAME, &globals.XEMAILADDR,
                          &globals.XEMAIL_ID,  &globals.XEMAILDEST, &globals.XEMAIL_AU,
                          &globals.XEMAIL_AP,  &globals.XEMAIL_CC1, &globals.XEMAIL_CC2};
  const char* fields[] = {"HOST",      "USERNAME",  "USERADDR", "ID_NAME", "DESTINO",
                          "AUTH_USER", "AUTH_PASS", "CC_CONF1", "CC_CONF2"};
  for (size_t i = 0; i < std::size(fields); ++i) {
    *texts[i] = record.Has(fields[i]) ? record.Text(fields[i]) : std::string();
  }
  globals.XEMAILSEND = record.Has("SENDMAIL") ? record.Number("SENDMAIL") : 0;
  globals.XEMAILAUTH = record.Has("AUTORIZA") ? record.Number("AUTORIZA") : 0;
}

void ReadSystemSettings() {
  settings::Settings& globals = settings::Current();
  data::TableHandle table = data::USE({}, "F_SYS");
  Closing closing{table};
  table->GoTop();
  RecordReader record(*table);
  record.Text("T_FONT");  // required, though nothing here uses the font
  if (record.Has("P_FONT")) {
    globals.XPRINT_FONT = record.Text("P_FONT");
    if (globals.XPRINT_FONT.empty()) globals.XPRINT_FONT = "Calibri";
  }
  record.Text("D_FONT", globals.XGLOBAL_FONT_NAME);
  record.Number("FIESTA1", globals.XFIESTAHOUSECOUNT);
  if (record.Has("NO_DATE")) globals.XSEL_DATE = record.Number("NO_DATE") == 1 ? "NO" : "";
  if (record.Has("REFRESH_B")) globals.XREFRESH_BROWSE = record.Number("REFRESH_B") == 1 ? 0 : 1;
  if (record.Has("WS_SOCKET")) {
    int socket = record.Number("WS_SOCKET");
    globals.XWS_SOCKET = socket != 0 ? socket : 4129;
  }
  globals.XMAXCOMMIT = record.Number("MAXCOMMIT");
  globals.XGRAYED = record.Number("GRAYED");
  if (record.Has("MULTITASK")) globals.XMULTITASK = {1, record.Number("MULTITASK")};
  record.Number("DLGSIZE", globals.XDLGSIZE);
  if (record.Has("DGROUP")) {
    int limit = record.Number("DGROUP");
    globals.XDGROUPLIMIT = limit != 0 ? limit : 6000;
  }
  if (record.Has("NOFLATBUTT") && record.Number("NOFLATBUTT") == 1) globals.XFLAT_SHOW = 0;
  if (record.Has("NO_SIM_P") && record.Number("NO_SIM_P") == 1) globals.XSIM_PRINT = 0;
  if (record.Has("LOCAL_TEMP")) {
    std::string path = record.Has("LOCAL_PATH") ? record.Text("LOCAL_PATH") : std::string();
    globals.XTEMPPATH = ProbeTempDirectory(record.Number("LOCAL_TEMP"), path);
  }
  ReadColours(record, globals);
  globals.XAPP_MAX_MESSAGETIME = 600000;
  if (record.Has("MAXTIMEOUT") && record.Number("MAXTIMEOUT") != 0) {
    globals.XAPP_MAX_MESSAGETIME = static_cast<uint32_t>(record.Number("MAXTIMEOUT")) * 60 * 1000;
  }
  globals.XAPP_MESSAGE_NOCHECK = record.Has("NO_TIMEOUT") ? record.Number("NO_TIMEOUT") : 0;
}

void ReadFontList() {
  data::TableHandle table = data::USE({}, "FONTS", "FONTS");
  Closing closing{table};
  std::vector<std::string> fonts;
  for (table->GoTop(); !table->Eof(); table->Skip())
    fonts.push_back(TrimBlanks(table->FieldGet("T_FONT").str));
  settings::Current().XAVAILABLE_FONTS = std::move(fonts);
}

void ReadExchangeRateHandling() {
  data::TableHandle table = data::USE({}, "NEGOCIOS", "NEGOCIOS");
  Closing closing{table};
  if (table->FieldPos("MANEJO_TC") == 0) return;
  // Seeking the empty business code finds the first record.
  table->Seek(std::string(), true);
  if (!table->Eof())
    settings::Current().XMANEJO_TC = static_cast<int>(table->FieldGet("MANEJO_TC").num);
}

}  // namespace frame
