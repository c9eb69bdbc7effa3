#include "exchange/folio_entries.h"

#include <stdexcept>

#include "lib/data/card_mask.h"
#include "lib/data/date_time.h"
#include "lib/data/text_fields.h"
#include "platform/xbase/field_codec.h"

namespace {

// The fields of one folio line that a statement shows.
struct FolioLine {
  bool voided = false;
  std::string group;
  double line_rate = 1;
  // Codes as the fields hold them (blank-padded), so that seeks on them match whole codes.
  std::string transaction;         // COD_TRANS
  std::string origin_transaction;  // COD_TRAN: what a group was posted for
  std::string rate_plan;           // COD_RACK
  data::Date date;                 // FECHA_O
  data::Date business_date;        // CIERRE_DIA
  std::string origin_room;         // HAB_ORIGEN
  bool payment = false;
  std::string document;
  std::string comment;
  double debit = 0;
  double credit = 0;
};

// Reads folio lines from the bytes of DET_FOL records, with each field looked up once.
class FolioLineReader {
 public:
  explicit FolioLineReader(const data::TableHandle& lines)
      : lines_(lines), fields_(lines->DBStruct()) {}

  // Whether the record is a line of the folio (business code and number as the fields hold
  // them).
  bool OnFolio(const xbase::RunRecord& record, const std::string& business,
               const std::string& number) const {
    return Text(record, negocio_) == business && Text(record, numero_) == number;
  }

  FolioLine Read(const xbase::RunRecord& record) const {
    FolioLine line;
    line.voided = Number(record, anula_) != 0 || Number(record, void_) != 0;
    line.group = TrimBlanks(Text(record, grupo_));
    line.line_rate = Number(record, t_cambio_);
    line.transaction = Text(record, cod_trans_);
    line.origin_transaction = Text(record, cod_tran_);
    line.rate_plan = Text(record, cod_rack_);
    line.date = DateOf(record, fecha_o_);
    line.business_date = DateOf(record, cierre_dia_);
    line.origin_room = TrimBlanks(Text(record, hab_origen_));
    line.payment = Number(record, pago_) == 1;
    line.document = Text(record, documen_);
    line.comment = Text(record, comenta_);
    line.debit = Number(record, debito_);
    line.credit = Number(record, credito_);
    return line;
  }

 private:
  // A field the table lacks fails as reading it by name does, with the table layer's error.
  int IndexOf(std::string_view name) const {
    const int index = xbase::FindField(fields_, name);
    if (index >= 0) return index;
    lines_->FieldGet(name);
    throw std::out_of_range("DET_FOL has no field " + std::string(name));
  }
  xbase::Value Value(const xbase::RunRecord& record, int field) const {
    return xbase::DecodeField(fields_[static_cast<size_t>(field)], record.bytes.data());
  }
  std::string Text(const xbase::RunRecord& record, int field) const {
    return Value(record, field).str;
  }
  double Number(const xbase::RunRecord& record, int field) const {
    return Value(record, field).num;
  }
  data::Date DateOf(const xbase::RunRecord& record, int field) const {
    return data::Date::FromJulian(Value(record, field).julian());
  }

  const data::TableHandle& lines_;
  const std::vector<xbase::FieldInfo> fields_;
  const int negocio_ = IndexOf("NEGOCIO"), numero_ = IndexOf("NUMERO"), anula_ = IndexOf("ANULA"),
            void_ = IndexOf("VOID"), grupo_ = IndexOf("GRUPO"), t_cambio_ = IndexOf("T_CAMBIO"),
            cod_trans_ = IndexOf("COD_TRANS"), cod_tran_ = IndexOf("COD_TRAN"),
            cod_rack_ = IndexOf("COD_RACK"), fecha_o_ = IndexOf("FECHA_O"),
            cierre_dia_ = IndexOf("CIERRE_DIA"), hab_origen_ = IndexOf("HAB_ORIGEN"),
            pago_ = IndexOf("PAGO"), documen_ = IndexOf("DOCUMEN"), comenta_ = IndexOf("COMENTA"),
            debito_ = IndexOf("DEBITO"), credito_ = IndexOf("CREDITO");
};

// Lines read ahead at a time: each read takes the index lock once instead of once per line.
constexpr size_t kLinesPerRead = 64;

// The folio's lines in tag DET_FOL13 order.
std::vector<FolioLine> ReadFolioLines(StatementTables& tables, const std::string& number) {
  const data::TableHandle& lines = tables.DET_FOL;
  const FolioLineReader reader(lines);
  const std::string key = tables.Negocio + number;
  std::vector<FolioLine> folio;
  if (!lines->Seek(key)) return folio;
  std::vector<xbase::RunRecord> run;
  do {
    run.clear();
    lines->ReadRun(key, kLinesPerRead, run);
    for (const xbase::RunRecord& record : run) {
      // The fields decide, as the index may lag behind a record another station just wrote.
      if (!reader.OnFolio(record, tables.Negocio, number)) return folio;
      folio.push_back(reader.Read(record));
    }
  } while (run.size() == kLinesPerRead);
  return folio;
}

// An amount in the statement's currency; no rate (0) shows as nothing.
double Converted(double amount, double divisor) { return divisor == 0 ? 0 : amount / divisor; }

// The document (a card number shows masked on payments), a blank and the comment.
std::string CommentOf(const FolioLine& line) {
  const std::string document =
      line.payment ? data::SHOW_CREDITCARD(line.document) : TrimBlanks(line.document);
  return document + " " + line.comment;
}

// Adds the line's amounts, in the statement's currency, to the entry.
void AddAmounts(StatementEntry& entry, const FolioLine& line, const FolioRate& rate) {
  const double divisor = rate.Divisor(line.line_rate);
  entry.debit += Converted(line.debit, divisor);
  entry.credit += Converted(line.credit, divisor);
}

// The entry of a line without group, without amounts yet.
StatementEntry SingleEntry(StatementTables& tables, const FolioLine& line) {
  return {data::DTOC2(line.date, 2),
          "(" + line.origin_room + ") " + line.transaction,
          tables.descriptions.Of(tables.TRANSACS, tables.Negocio + line.transaction),
          CommentOf(line),
          0,
          0};
}

// The entry of a group, described by its opening line and without amounts yet.
StatementEntry GroupEntry(StatementTables& tables, const FolioLine& opening) {
  const bool by_transaction = !TrimBlanks(opening.origin_transaction).empty();
  return {
      data::DTOC2(opening.date.IsEmpty() ? opening.business_date : opening.date, 2),
      "(" + opening.origin_room + ") " +
          TrimBlanks(by_transaction ? "T" + opening.origin_transaction : "R" + opening.rate_plan),
      by_transaction
          ? tables.descriptions.Of(tables.TRANSACS, tables.Negocio + opening.origin_transaction)
          : tables.descriptions.Of(tables.ENC_RACK, tables.Negocio + opening.rate_plan),
      CommentOf(opening),
      0,
      0};
}

}  // namespace

double FolioRate::Divisor(double line_rate) const {
  if (rate == 1) return 1;
  if (line_rate != 1 && lines_keep_own_rate) return line_rate;
  return rate;
}

void AddFolioEntries(StatementTables& tables, const std::string& number, const FolioRate& rate,
                     std::vector<StatementEntry>& entries) {
  const std::vector<FolioLine> lines = ReadFolioLines(tables, number);
  for (size_t next = 0; next < lines.size();) {
    const FolioLine& line = lines[next++];
    if (line.voided) continue;
    const bool single = line.group.empty();
    StatementEntry entry = single ? SingleEntry(tables, line) : GroupEntry(tables, line);
    AddAmounts(entry, line, rate);
    // The rest of the group, voided lines included.
    while (!single && next < lines.size() && lines[next].group == line.group) {
      AddAmounts(entry, lines[next++], rate);
    }
    entries.push_back(std::move(entry));
  }
}
