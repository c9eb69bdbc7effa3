#include "exchange/folio_entries.h"

#include "lib/data/text_fields.h"
#include "lib/data/card_mask.h"
#include "lib/data/date_time.h"

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

FolioLine ReadLine(const data::TableHandle& lines) {
  auto text = [&](std::string_view name) { return lines->FieldGet(name).str; };
  auto number = [&](std::string_view name) { return lines->FieldGet(name).num; };
  auto date = [&](std::string_view name) {
    return data::Date::FromJulian(lines->FieldGet(name).julian());
  };
  FolioLine line;
  line.voided = number("ANULA") != 0 || number("VOID") != 0;
  line.group = TrimBlanks(text("GRUPO"));
  line.line_rate = number("T_CAMBIO");
  line.transaction = text("COD_TRANS");
  line.origin_transaction = text("COD_TRAN");
  line.rate_plan = text("COD_RACK");
  line.date = date("FECHA_O");
  line.business_date = date("CIERRE_DIA");
  line.origin_room = TrimBlanks(text("HAB_ORIGEN"));
  line.payment = number("PAGO") == 1;
  line.document = text("DOCUMEN");
  line.comment = text("COMENTA");
  line.debit = number("DEBITO");
  line.credit = number("CREDITO");
  return line;
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

bool OnFolio(StatementTables& tables, const std::string& number) {
  const data::TableHandle& lines = tables.DET_FOL;
  return !lines->Eof() && lines->FieldGet("NEGOCIO").str == tables.Negocio &&
         lines->FieldGet("NUMERO").str == number;
}

}  // namespace

double FolioRate::Divisor(double line_rate) const {
  if (rate == 1) return 1;
  if (line_rate != 1 && lines_keep_own_rate) return line_rate;
  return rate;
}

void AddFolioEntries(StatementTables& tables, const std::string& number, const FolioRate& rate,
                     std::vector<StatementEntry>& entries) {
  const data::TableHandle& lines = tables.DET_FOL;
  lines->Seek(tables.Negocio + number);
  while (OnFolio(tables, number)) {
    const FolioLine line = ReadLine(lines);
    lines->Skip();
    if (line.voided) continue;
    const bool single = line.group.empty();
    StatementEntry entry = single ? SingleEntry(tables, line) : GroupEntry(tables, line);
    AddAmounts(entry, line, rate);
    // The rest of the group, voided lines included.
    while (!single && OnFolio(tables, number) &&
           TrimBlanks(lines->FieldGet("GRUPO").str) == line.group) {
      AddAmounts(entry, ReadLine(lines), rate);
      lines->Skip();
    }
    entries.push_back(std::move(entry));
  }
}
