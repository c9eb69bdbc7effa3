#pragma once
// A folio's lines as statement entries: a line without group is an entry of its own, the lines
// of one group make one entry with their amounts summed. Voided lines are passed over, except
// inside a group, whose lines all count.

#include <string>
#include <vector>

#include "exchange/statement_tables.h"

// One movement of the statement; amounts already in the statement's currency.
struct StatementEntry {
  std::string date;
  std::string document;
  std::string transaction;
  std::string comment;
  double debit = 0;
  double credit = 0;
};

// What a folio's amounts are divided by.
struct FolioRate {
  double rate = 1;                   // the folio's rate; 1 shows amounts as they stand
  bool lines_keep_own_rate = false;  // F_HOTEL3.MANEJO_DOL: a line with its own rate uses it

  // 1 for a folio at rate 1; else the line's own rate when it has one other than 1 and lines
  // keep theirs; else the folio's rate.
  double Divisor(double line_rate) const;
};

// Appends the entries of folio `number` (as NUMERO holds it), in tag DET_FOL13 order.
void AddFolioEntries(StatementTables& tables, const std::string& number, const FolioRate& rate,
                     std::vector<StatementEntry>& entries);
