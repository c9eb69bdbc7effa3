#pragma once
// The site settings the frame reads once at start into the settings record: e-mail (DEFMAIL),
// system (F_SYS, with the local temporary folder), fonts (FONTS) and the exchange-rate handling
// of the businesses (NEGOCIOS). Each table is closed after reading. A missing optional field
// keeps its default; a table that lacks a required field raises the data layer's error.

namespace frame {

void ReadMailSettings();
void ReadSystemSettings();
void ReadFontList();
void ReadExchangeRateHandling();

}  // namespace frame
