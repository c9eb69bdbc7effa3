#pragma once
// Amounts as statements show them.

#include <string>

// Two decimals after a point, commas between groups of three digits, no blanks; a minus sign
// stands right before the first digit ("-1,234.50"). Values that round to zero show as "0.00".
std::string MoneyText(double value);
