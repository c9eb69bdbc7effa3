// GETINFO: the room's in-house stay, checked against the guest's first name and surname.
#include <cmath>
#include <cstdio>

#include "exchange/actions.h"
#include "exchange/in_house_stay.h"
#include "exchange/reply_body.h"
#include "exchange/request_arguments.h"
#include "exchange/send_data.h"
#include "lib/data/text_fields.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "platform/xbase/case_table.h"

namespace {

// Names compare on their first 20 characters, upper-cased with the suite's case table.
constexpr size_t kNameWidth = 20;

std::string ComparableName(std::string_view name) {
  return xbase::UpperCase(PadCut(name, kNameWidth));
}

// A count in a four-character field: its digits, or "****" when it does not fit.
std::string WholeNumber(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= -999 && rounded <= 9999)) return "****";  // a damaged number too
  return std::to_string(static_cast<int>(rounded));
}

std::string IsoDate(const xbase::Value& value) {
  const data::Date date = data::Date::FromJulian(value.julian());
  if (date.IsEmpty()) return "0000-00-00";
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
  return text;
}

std::string FieldText(const data::TableHandle& table, std::string_view field) {
  return TrimBlanks(table->FieldGet(field).str);
}

std::string StayReply(ExchangeTables& tables) {
  const data::TableHandle& stay = tables.DET_RES2;
  // A missing reservation or rate plan leaves the cursor at the end, with blank fields.
  tables.ENC_RES->Seek(tables.Negocio + stay->FieldGet("COD_RES").str);
  tables.ENC_RACK->Seek(tables.Negocio + tables.ENC_RES->FieldGet("COD_RACK").str);

  auto actions = TXmlNode::New("GETINFO", "ACTIONS");
  auto add = [&](const char* name, std::string text) {
    actions->AddBelow(TXmlNode::New("GETINFO", name, {}, std::move(text)));
  };
  add("Action", "GETINFO");
  add("Room", FieldText(stay, "COD_ROOMS"));
  add("Adults", WholeNumber(stay->FieldGet("N_ADULT").num));
  add("Childs", WholeNumber(stay->FieldGet("N_NINHO").num));
  add("email", FieldText(stay, "EMAIL"));
  add("Arrival", IsoDate(stay->FieldGet("F_INICIO")));
  add("Departure", IsoDate(stay->FieldGet("F_FINAL")));
  add("OpenCredit", "1");
  add("RatePlan", FieldText(tables.ENC_RACK, "DESCRIP"));
  return actions->ToString();
}

// The reply body: the stay, or the error reply of the first failing check.
std::string GetInfoReply(ExchangeTables& tables, const TXmlDocument& request) {
  // Request handling only gets here once ACTIONS has been found.
  const TXmlNode& actions = *request.FindFirst("ACTIONS");
  ArgumentText room = FindArgumentText(actions, "Room");
  if (!room.ok()) return CREATE_XML(room.error);
  ArgumentText first_name = FindArgumentText(actions, "FirstName");
  if (!first_name.ok()) return CREATE_XML(first_name.error);
  ArgumentText last_name = FindArgumentText(actions, "LastName");
  if (!last_name.ok()) return CREATE_XML(last_name.error);

  // Only the first in-house stay of the room counts, even when its names differ.
  data::SelectArea(tables.DET_RES2->Area);
  data::SelectedCursor().SetOrder("DET_RS30");
  if (!tables.DET_RES2->Seek(InHouseStayKey(tables.Negocio, PadCut(room.text, kRoomWidth)))) {
    return CREATE_XML("Not registered");
  }
  if (ComparableName(tables.DET_RES2->FieldGet("NOMBRE").str) != ComparableName(first_name.text) ||
      ComparableName(tables.DET_RES2->FieldGet("APELLIDO1").str) !=
          ComparableName(last_name.text)) {
    return CREATE_XML("Name Mismatch");
  }
  return StayReply(tables);
}

}  // namespace

void GetInfo(const ExchangeContext& context, int connection, const TXmlDocument& request) {
  SEND_DATA(context, connection, GetInfoReply(context.tables, request));
}
