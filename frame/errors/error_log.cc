#include "frame/errors/error_log.h"

#include "lib/data/text_fields.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"
#include "platform/win/log.h"

namespace frame {
namespace {

using xbase::Value;

Value Text(std::string text) { return Value::Character(std::move(text)); }
Value DateValue(data::Date date) { return Value::Date(date.julian()); }

// The login record's error summary on one line.
std::string LoginSummary(const std::string& message_line, const std::string& detail) {
  std::string flat;
  for (char c : detail) {
    if (c == '\n') continue;
    flat += c == '\r' ? ' ' : c;
  }
  const std::string kCalledFrom = "Called from";
  for (size_t at = flat.find(kCalledFrom); at != std::string::npos;
       at = flat.find(kCalledFrom, at + 1)) {
    flat.replace(at, kCalledFrom.size(), ">");
  }
  return TrimBlanks(message_line) + "|" + flat;
}

int own_writes = 0;

}  // namespace

void WriteOwnTables(const char* what, const std::function<void()>& write) {
  ++own_writes;
  try {
    write();
  } catch (const std::exception& e) {
    win::Log(std::string(what) + ": " + e.what());
  }
  --own_writes;
}

bool WritingOwnTables() { return own_writes > 0; }

uint32_t WriteErrorRecord(const std::string& message_line, const std::string& detail) {
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle log = data::USE({}, "ERROR");
  data::ADD_NEW_REC();
  log->FieldPut("FECHA", DateValue(data::XDATE()));
  log->FieldPut("HORA", Text(data::XTIME()));
  log->FieldPut("DESCRIP", Text(message_line));
  log->FieldPut("DETALLE", Text(detail));
  log->Commit();
  data::UNLOCK_NEW_REC();
  const uint32_t recno = log->RecNo();
  data::KILLTABLA(log);
  return recno;
}

void MarkLoginRecord(const std::string& message_line, const std::string& detail) {
  const std::optional<uint32_t> recno = settings::Current().XREC_E_S;
  if (!recno) return;
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle logins = data::USE({}, "LOG_E_S");
  logins->GoTo(*recno);
  data::LOCK_FOR_MODIFY();
  logins->FieldPut("FECHA_SAL", DateValue(data::XDATE()));
  logins->FieldPut("HORA_SAL", Text(data::XTIME()));
  if (logins->FieldPos("DESC_ERR") > 0) {
    logins->FieldPut("DESC_ERR", Text(LoginSummary(message_line, detail)));
  }
  if (logins->FieldPos("ERR_CHECK") > 0) logins->FieldPut("ERR_CHECK", Text("*"));
  data::UNLOCK_FOR_MODIFY();
  data::KILLTABLA(logins);
}

void QueueErrorMail(const std::string& body) {
  const settings::Settings& globals = settings::Current();
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle queue = data::USE({}, "E_MSGS");
  data::ADD_NEW_REC();
  queue->FieldPut("FECHA", DateValue(data::LocalDate()));
  queue->FieldPut("HORA", Text(data::LocalTime()));
  queue->FieldPut("TO_USER", Text(globals.XEMAILDEST));
  queue->FieldPut("SUBJECT", Text("Error: " + globals.XEMAIL_ID));
  queue->FieldPut("BODY", Text(body));
  queue->FieldPut("USERNAME", Text(globals.XEMAILNAME));
  queue->FieldPut("USERADDR", Text(globals.XEMAILADDR));
  queue->FieldPut("ENVIADO", Value::Numeric(0));
  queue->FieldPut("LISTO", Value::Numeric(1));
  data::UNLOCK_NEW_REC();
  data::KILLTABLA(queue);
}

}  // namespace frame
