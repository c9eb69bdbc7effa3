#include "exchange/add_cargo.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

#include "lib/data/text_fields.h"
#include "lib/data/consecutive.h"
#include "lib/data/currency.h"
#include "lib/data/date_time.h"
#include "lib/data/work_areas.h"
#include "lib/data/write_protocol.h"
#include "lib/settings/settings.h"
#include "platform/xbase/number_format.h"

namespace {

// Key parts: the in-house state of a stay, a guest folio (not a master account), the stay's
// main folio.
constexpr char kInHouse[] = "1";
constexpr char kGuestFolio[] = "0";
constexpr char kMainFolio[] = "1";
constexpr char kTaxComment[] = "Room Serv ";

std::function<void(int)>& WriteProbe() {
  static std::function<void(int)> probe;
  return probe;
}

// The tables of one posting; each handle closes its table when it is dropped.
struct CargoTables {
  explicit CargoTables(const std::string& business)
      : NEGOCIOS(data::USE({}, "NEGOCIOS", "NEGOCIOS")),
        DET_RES2(data::USE({}, "DET_RES2", "DET_RS34")),
        TRANSACS(data::USE({}, "TRANSACS", "TRANSACS1")),
        ENC_FOL(data::USE({}, "ENC_FOL", "ENC_FOL")),
        DET_FOL(data::USE({}, "DET_FOL", "DET_FOL")),
        DET_FOL2(data::USE({}, "DET_FOL2", "DET_FOL2")),
        F_HOTEL(data::USE({}, "F_HOTEL", "F_HOTEL")),
        F_VENTAS(data::USE({}, "F_VENTAS", "F_VENTAS")),
        T_CAMBIO(data::USE({}, "T_CAMBIO", "T_CAMBIO")) {
    F_HOTEL->Seek(business);
    F_VENTAS->Seek(business);
    NEGOCIOS->Seek(business);
  }
  data::TableHandle NEGOCIOS, DET_RES2, TRANSACS, ENC_FOL, DET_FOL, DET_FOL2, F_HOTEL, F_VENTAS,
      T_CAMBIO;
};

void SetOrder(const data::TableHandle& table, const char* tag) {
  data::AreaSelection selection(table->Area);
  data::SelectedCursor().SetOrder(tag);
}

// Walks the reservation's in-house lines to the one of `room`; the stays cursor stays on it.
bool FindStayLine(data::WDBTable& stays, const std::string& business,
                  const std::string& reservation, const std::string& room) {
  if (!stays.Seek(business + kInHouse + reservation)) return false;
  for (; !stays.Eof(); stays.Skip()) {
    if (stays.FieldGet("NEGOCIO").str != business || stays.FieldGet("COD_RES").str != reservation ||
        stays.FieldGet("ESTADO").num != 1) {
      return false;
    }
    if (stays.FieldGet("COD_ROOMS").str == room) return true;
  }
  return false;
}

// Puts the folio cursor on the guest folio: the stay's main folio, else another of its folios.
bool FindFolio(CargoTables& tables, const std::string& business, const std::string& reservation,
               const std::string& room, const std::string& folio) {
  data::WDBTable& headers = *tables.ENC_FOL;
  if (!folio.empty()) {
    SetOrder(tables.ENC_FOL, "ENC_FOL4");
    return headers.Seek(business + folio);
  }
  std::string key = business + reservation + room;
  if (FindStayLine(*tables.DET_RES2, business, reservation, room)) {
    SetOrder(tables.ENC_FOL, "ENC_FOL5");
    key += tables.DET_RES2->FieldGet("COD_HAB").str + tables.DET_RES2->FieldGet("CODIGO").str;
  } else {
    SetOrder(tables.ENC_FOL, "ENC_FOL13");
  }
  key += kGuestFolio;
  return headers.Seek(key + kMainFolio) || headers.Seek(key);
}

// A header without a number cannot take lines: they would belong to no folio.
bool FindNumberedFolio(CargoTables& tables, const std::string& business,
                       const std::string& reservation, const std::string& room,
                       const std::string& folio) {
  return FindFolio(tables, business, reservation, room, folio) &&
         !TrimBlanks(tables.ENC_FOL->FieldGet("NUMERO").str).empty();
}

// The group after `group`: its number plus one in four digits; an empty group gives "0001".
// Past "9999" the field would repeat an older group and merge two postings, so the posting fails.
std::string NextGroup(const std::string& group) {
  const double number = std::floor(xbase::ParseNumber(group)) + 1;
  if (!(number >= 0 && number <= 9999)) throw PostingFailed("no group after " + group);
  char text[8];
  std::snprintf(text, sizeof text, "%04d", static_cast<int>(number));
  return text;
}

// `value` for the numeric field `name`. A value the field cannot hold would be stored as
// asterisks and read back as another amount, so it fails the posting instead.
xbase::Value FittingNumber(const std::vector<xbase::FieldInfo>& fields, std::string_view name,
                           double value) {
  for (const xbase::FieldInfo& field : fields) {
    if (field.name != name) continue;
    if (xbase::FormatNumber(value, field.length, field.decimals).find('*') != std::string::npos) {
      throw PostingFailed(std::string(name) + " cannot hold " + std::to_string(value));
    }
    break;
  }
  return xbase::Value::Numeric(value);
}

struct CargoInput {
  const std::string& currency;
  const std::string& business;
  const std::string& room;
  const std::string& transaction;
  const std::string& document;
  double amount;
  const std::vector<ItemLine>& item_lines;
  const std::array<CargoTax, 3>& taxes;
};

// One posting to the folio the header cursor stands on.
class FolioPosting {
 public:
  FolioPosting(CargoTables& tables, const CargoInput& input)
      : tables_(tables),
        input_(input),
        date_(data::XDATE()),
        time_(data::XTIME()),
        stamp_(" " + data::DateToText(date_) + " " + time_),
        line_fields_(tables.DET_FOL->DBStruct()),
        item_fields_(tables.DET_FOL2->DBStruct()) {}

  void Post() {
    try {
      WriteAll();
    } catch (const std::exception& e) {
      Undo();
      throw PostingFailed(e.what());
    }
  }

 private:
  struct Line {
    std::string transaction;
    std::string comment;
    std::string consecutive;
    double amount;
    bool tax;
  };

  void WriteAll() {
    data::WDBTable& header = *tables_.ENC_FOL;
    data::SelectArea(header.Area);
    // The header is read again under the lock and held until its counters are advanced.
    data::LOCK_FOR_MODIFY();
    header_locked_ = true;
    folio_ = header.FieldGet("NUMERO").str;
    group_ = header.FieldGet("GRUPO").str;
    std::string consecutive = header.FieldGet("CONSECUT").str;
    const std::string next_group = NextGroup(group_);
    folio_currency_ = data::GET_MON_FOLIO({}, header, *tables_.NEGOCIOS);
    const double kind = tables_.F_VENTAS->FieldGet("T_CAMBIO").num;
    rate_ = data::CAMBIO_ACT(input_.business, *tables_.T_CAMBIO, folio_currency_, input_.currency,
                             std::nullopt, std::nullopt, static_cast<int>(kind));

    const std::string comment = TrimBlanks(input_.document) + stamp_;
    WriteLine({input_.transaction, comment, consecutive, input_.amount, false});
    for (const ItemLine& item : input_.item_lines) WriteItem(item, consecutive);
    consecutive = data::NextConsecutive(consecutive);
    for (const CargoTax& tax : input_.taxes) {
      if (tax.amount == 0) continue;
      WriteLine({tax.transaction, kTaxComment + comment, consecutive, tax.amount, true});
      consecutive = data::NextConsecutive(consecutive);
    }
    // One number is passed over at the end of every posting.
    consecutive = data::NextConsecutive(consecutive);

    BeforeWrite();
    data::SelectArea(header.Area);
    header.FieldPut("GRUPO", xbase::Value::Character(next_group));
    header.FieldPut("CONSECUT", xbase::Value::Character(consecutive));
    data::UNLOCK_FOR_MODIFY();
    header_locked_ = false;
  }

  void WriteLine(const Line& line) {
    data::WDBTable& lines = *tables_.DET_FOL;
    BeforeWrite();
    data::SelectArea(lines.Area);
    data::ADD_NEW_REC();
    written_lines_.push_back(lines.RecNo());
    auto put = [&](const char* field, xbase::Value value) { lines.FieldPut(field, value); };
    auto text = [](std::string value) { return xbase::Value::Character(std::move(value)); };
    auto number = [](double value) { return xbase::Value::Numeric(value); };
    const xbase::Value business_date = tables_.F_HOTEL->FieldGet("CIERRE_DIA");
    put("NEGOCIO", text(input_.business));
    put("NUMERO", text(folio_));
    put("ROOM", text(input_.room));
    put("HAB_ORIGEN", text(input_.room));
    put("FECHA", xbase::Value::Date(date_.julian()));
    put("HORA", text(time_));
    put("COD_TRANS", text(line.transaction));
    put("COD_TRAN", text(input_.transaction));
    put("GRUPO", text(group_));
    put("DOCUMEN", text(input_.document));
    put("COMENTA", text(line.comment));
    if (!line.tax) {
      put("VOID", number(0));
      put("ANULA", number(0));
    }
    put("SI_IMP", number(line.tax ? 1 : 0));
    put("MONEDA", text(input_.currency));
    put("CONSECUT", text(line.consecutive));
    put("T_CAMBIO", FittingNumber(line_fields_, "T_CAMBIO", rate_));
    put("CIERRE_DIA", business_date);
    put("FECHA_O", business_date);
    put("USUARIO", text(settings::Current().XUSER_ABREVIA));
    // The amount is converted with the rate as the line stores it.
    const double amount = line.amount * lines.FieldGet("T_CAMBIO").num;
    const char* side = PostsOnCredit(line.transaction) ? "CREDITO" : "DEBITO";
    put(side, FittingNumber(line_fields_, side, amount));
    if (line.tax) {
      put("ODEBITO", lines.FieldGet("DEBITO"));
      put("OCREDITO", lines.FieldGet("CREDITO"));
      put("OMONEDA", lines.FieldGet("MONEDA"));
      put("OCAMBIO", lines.FieldGet("T_CAMBIO"));
    }
    data::UNLOCK_FOR_MODIFY();
  }

  void WriteItem(const ItemLine& item, const std::string& consecutive) {
    data::WDBTable& details = *tables_.DET_FOL2;
    BeforeWrite();
    data::SelectArea(details.Area);
    data::ADD_NEW_REC();
    written_items_.push_back(details.RecNo());
    auto put = [&](const char* field, xbase::Value value) { details.FieldPut(field, value); };
    put("NEGOCIO", xbase::Value::Character(input_.business));
    put("NUMERO", xbase::Value::Character(folio_));
    put("CONSECUT", xbase::Value::Character(consecutive));
    put("PRECIO", FittingNumber(item_fields_, "PRECIO", item.amount * (100 - item.discount) / 100));
    put("COD_H_ART", xbase::Value::Character(""));
    put("CANTIDAD", FittingNumber(item_fields_, "CANTIDAD", item.quantity));
    put("COD_TRANS", xbase::Value::Character(input_.transaction));
    put("DESCRIP", xbase::Value::Character(item.description));
    put("GRUPO", xbase::Value::Character(group_));
    data::UNLOCK_NEW_REC();
  }

  bool PostsOnCredit(const std::string& transaction) {
    data::WDBTable& codes = *tables_.TRANSACS;
    return codes.Seek(input_.business + transaction) && codes.FieldGet("CREDITO").num != 0;
  }

  void BeforeWrite() {
    if (WriteProbe()) WriteProbe()(writes_done_);
    ++writes_done_;
  }

  // Marks what was written deleted and releases the header without touching its counters. A
  // record that cannot be marked is left for the hotel's integrity checks; the posting has
  // failed either way and the caller says so.
  void Undo() noexcept {
    MarkDeleted(tables_.DET_FOL, written_lines_);
    MarkDeleted(tables_.DET_FOL2, written_items_);
    if (header_locked_) {
      try {
        tables_.ENC_FOL->Unlock();
      } catch (const std::exception&) {
      }
    }
  }

  static void MarkDeleted(const data::TableHandle& table, const std::vector<uint32_t>& records) {
    for (uint32_t record : records) {
      try {
        data::SelectArea(table->Area);
        table->GoTo(record);
        data::LOCK_FOR_MODIFY();
        table->Delete();
        data::UNLOCK_FOR_MODIFY();
      } catch (const std::exception&) {
      }
    }
  }

  CargoTables& tables_;
  const CargoInput& input_;
  const data::Date date_;
  const std::string time_;
  const std::string stamp_;  // " dd/mm/yy HH:MM:SS", the end of every comment
  const std::vector<xbase::FieldInfo> line_fields_;
  const std::vector<xbase::FieldInfo> item_fields_;
  std::string folio_;
  std::string group_;
  std::string folio_currency_;
  double rate_ = 0;
  int writes_done_ = 0;
  bool header_locked_ = false;
  std::vector<uint32_t> written_lines_;
  std::vector<uint32_t> written_items_;
};

}  // namespace

std::string ADD_CARGO(const std::string& currency, const std::string& business,
                      const std::string& room, const std::string& transaction,
                      const std::string& document, double amount, const std::string& reservation,
                      const std::vector<ItemLine>& item_lines, const std::array<CargoTax, 3>& taxes,
                      const std::string& folio) {
  data::AreaSelection keep_selection(data::SelectedArea());
  CargoTables tables(business);
  if (!FindNumberedFolio(tables, business, reservation, room, folio)) return {};
  const CargoInput input{currency, business, room,       transaction,
                         document, amount,   item_lines, taxes};
  FolioPosting posting(tables, input);
  posting.Post();
  return tables.ENC_FOL->FieldGet("NUMERO").str;
}

void SetPostingWriteProbe(std::function<void(int writes_done)> probe) {
  WriteProbe() = std::move(probe);
}
