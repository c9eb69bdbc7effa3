#include "lib/ui/dialog_log.h"

#include <cstdio>
#include <exception>

#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"

namespace ui {
namespace {

// Dialogs that open and close too often to be worth a record.
constexpr const char* kNotLogged[] = {"XLOGINUSR", "CHECK_DB",    "OBSEARCH", "WAIT",
                                      "PSETGEN",   "WHILE_PRINT", "VER_ARTI", "PREVIEW800"};
constexpr int64_t kRecycleAfterDays = 240;

bool IsLogged(const std::string& name) {
  for (const char* prefix : kNotLogged) {
    if (name.rfind(prefix, 0) == 0) return false;
  }
  return true;
}

void WriteRecord(const std::string& template_name) {
  settings::Settings& globals = settings::Current();
  data::TableHandle log = data::USE({}, "LOG_DIAG", "LOG_DIA2");
  data::Date today = data::XDATE();
  log->GoTop();
  bool recycled = false;
  if (!log->Eof()) {
    data::Date oldest = data::Date::FromJulian(log->FieldGet("FECHA").julian());
    recycled = today - oldest > kRecycleAfterDays && log->RLock();
  }
  if (!recycled) data::ADD_NEW_REC();
  if (globals.XU_COMP) log->FieldPut("NEGOCIO", xbase::Value::Character(*globals.XU_COMP));
  log->FieldPut("ID_DIAG", xbase::Value::Numeric(globals.XID_MENU.value_or(0)));
  log->FieldPut("USUARIO", xbase::Value::Character(globals.XUSER_ABREVIA));
  log->FieldPut("INFO_USER", xbase::Value::Character(data::INFO_USER()));
  log->FieldPut("DIALOGO", xbase::Value::Character(template_name));
  log->FieldPut("FECHA", xbase::Value::Date(today.julian()));
  log->FieldPut("HORA", xbase::Value::Character(data::XTIME()));
  log->FieldPut("MODULO", xbase::Value::Character(globals.EXT_MODULO));
  log->Unlock();
  data::KILLTABLA(log);
}

}  // namespace

void LogDialogOpening(const std::string& template_name) {
  if (!IsLogged(template_name)) return;
  int previous = data::SelectedArea();
  try {
    WriteRecord(template_name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dialog log: %s\n", e.what());
  }
  data::SelectArea(previous);
  settings::Current().XID_MENU.reset();
}

}  // namespace ui
