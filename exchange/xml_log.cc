#include "exchange/xml_log.h"

#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"

void LogXml(ExchangeTables& tables, const std::string& text) {
  data::SelectArea(tables.LOG_XML->Area);
  data::ADD_NEW_REC();
  xbase::Cursor& log = data::SelectedCursor();
  log.Put("INFO", xbase::Value::Character(text));
  log.Put("FECHA", xbase::Value::Date(data::XDATE().julian()));
  log.Put("HORA", xbase::Value::Character(data::XTIME()));
  data::UNLOCK_NEW_REC();
}
