#include "frame/errors/rollback.h"

#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/data/wtable.h"
#include "lib/settings/settings.h"

namespace frame {

void ROLLBACK_TRANSACTION() {
  settings::Settings& globals = settings::Current();
  // The server client offers no transactions of its own yet, so what is left to do here is to
  // record the rollback and mark the transaction closed.
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle log = data::USE({}, "LOG_ROLL");
  data::ADD_NEW_REC();
  log->FieldPut("NEGOCIO", xbase::Value::Character(""));
  log->FieldPut("FECHA", xbase::Value::Date(data::XDATE().julian()));
  log->FieldPut("HORA", xbase::Value::Character(data::XTIME()));
  log->FieldPut("USUARIO", xbase::Value::Character(globals.XUSER_ABREVIA));
  log->FieldPut("INFO_USER", xbase::Value::Character(data::INFO_USER()));
  log->FieldPut("MOTIVO", xbase::Value::Character(globals.XADS_T_ERR));
  log->FieldPut("TRANS_ID", xbase::Value::Numeric(0));
  data::UNLOCK_NEW_REC();
  data::KILLTABLA(log);
  globals.XADSTRANS = 0;
}

void RollbackOpenTransaction(const std::string& message_line) {
  settings::Settings& globals = settings::Current();
  if (globals.DEF_RDD != "ADSCDX" || globals.XADSTRANS != 1) return;
  data::AreaSelection keep(data::SelectedArea());
  data::TableHandle businesses = data::USE({}, "NEGOCIOS");
  globals.XADS_T_ERR = message_line;
  data::SelectArea(businesses->Area);
  ROLLBACK_TRANSACTION();
  data::KILLTABLA(businesses);
  globals.XADSTRANS = 0;
}

}  // namespace frame
