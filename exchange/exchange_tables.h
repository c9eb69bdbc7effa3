#pragma once
// The tables the exchange keeps open for its whole life, and the hotel's business code that
// prefixes every key it seeks. The server window opens them when it starts and closes them when
// it goes; the actions use these cursors (and open their own for anything else).

#include <string>

#include "lib/data/wtable.h"

struct ExchangeTables {
  data::TableHandle F_DIZU;    // interface settings: stands on its one record
  data::TableHandle NEGOCIOS;  // properties: stands on the business of DEFMAIL
  data::TableHandle U_DIZU;    // interface users
  data::TableHandle DEFMAIL;   // site settings: stands on its one record
  data::TableHandle LOG_XML;   // requests and replies
  data::TableHandle DET_RES2;  // stays
  data::TableHandle ENC_RES;   // reservation headers
  data::TableHandle ENC_RACK;  // rate plans
  std::string Negocio;         // 15 characters, blank-padded

  // Opens the tables of the program directory's BASES folder, each on the tag of its own name,
  // and takes the business code from DEFMAIL. A missing table or field throws data::DataError.
  void Open();
  // Closes every table that is open; safe to call more than once.
  void Close();
};
