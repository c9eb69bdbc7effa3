#include "exchange/imp_cta.h"

#include <vector>

#include "exchange/folio_entries.h"
#include "exchange/in_house_stay.h"
#include "exchange/money_text.h"
#include "exchange/statement_tables.h"
#include "exchange/stay_folios.h"
#include "lib/data/text_fields.h"
#include "exchange/xml/correct_xml.h"
#include "exchange/xml/xml_node.h"
#include "lib/data/currency.h"
#include "lib/data/work_areas.h"

namespace {

constexpr char kLabel[] = "STATEMENT";

// The folio's rate: 1, or for a folio stated converted (FACTURA_E 1) the rate from the
// property's reservation currency to the interface's on the business date (0 when none).
FolioRate RateOf(StatementTables& tables, const std::string& number, const std::string& currency,
                 bool lines_keep_own_rate) {
  FolioRate rate{1, lines_keep_own_rate};
  if (tables.ENC_FOL4->Seek(tables.Negocio + number) &&
      tables.ENC_FOL4->FieldGet("FACTURA_E").num == 1) {
    const data::TableHandle& hotel = tables.F_HOTEL;
    rate.rate = data::CAMBIO_SPEC(tables.Negocio, *tables.T_CAMBIO, currency,
                                  hotel->FieldGet("MONEDA_RES").str,
                                  data::Date::FromJulian(hotel->FieldGet("CIERRE_DIA").julian()),
                                  static_cast<int>(hotel->FieldGet("TCAMB_REP").num));
  }
  return rate;
}

std::vector<StatementEntry> StayEntries(StatementTables& tables, const std::string& currency) {
  std::vector<StatementEntry> entries;
  const bool lines_keep_own_rate = tables.F_HOTEL3->FieldGet("MANEJO_DOL").num == 1;
  for (const std::string& number : StayFolioNumbers(tables)) {
    AddFolioEntries(tables, number, RateOf(tables, number, currency, lines_keep_own_rate), entries);
  }
  return entries;
}

std::unique_ptr<TXmlNode> EntryElement(const StatementEntry& entry) {
  return TXmlNode::New(kLabel, "ENTRY",
                       {{"COMMENT", TrimBlanks(entry.comment)},
                        {"CREDIT", MoneyText(entry.credit)},
                        {"DATE", TrimBlanks(entry.date)},
                        {"DEBIT", MoneyText(entry.debit)},
                        {"DOCUMENT", TrimBlanks(entry.document)},
                        {"TRANSACTION", TrimBlanks(entry.transaction)}});
}

}  // namespace

std::string IMP_CTA(const std::string& business, const std::string& room_code,
                    const std::string& currency) {
  const data::AreaSelection keep_selection(data::SelectedArea());
  StatementTables tables(business);
  tables.F_HOTEL->Seek(business);
  tables.F_HOTEL3->Seek(business);

  // Without the stay (gone since the caller found it) the statement is empty: blank stay fields
  // would otherwise match folios that belong to no stay.
  const bool stay_found = tables.DET_RES2->Seek(InHouseStayKey(business, room_code));
  const std::vector<StatementEntry> entries =
      stay_found ? StayEntries(tables, currency) : std::vector<StatementEntry>();

  auto ziruvuz = TXmlNode::New(kLabel, "ZIRUVUZ");
  TXmlNode* statement = ziruvuz->AddBelow(TXmlNode::New(kLabel, "STATEMENT"));
  TXmlNode* movements = statement->AddBelow(TXmlNode::New(kLabel, "MOVEMENTS"));
  for (const StatementEntry& entry : entries) movements->AddBelow(EntryElement(entry));
  const std::string name = stay_found ? tables.DET_RES2->FieldGet("NOMBRE_C").str : "";
  statement->AddBelow(TXmlNode::New(kLabel, "ROOM_INFORMATION",
                                    {{"Name", TrimBlanks(name)}, {"Room", TrimBlanks(room_code)}}));
  return CORRECT_XML(ziruvuz->ToString());
}
