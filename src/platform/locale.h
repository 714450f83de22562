// The user interface locale: separators, number and currency texts, short dates.
#pragma once

#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/numbers.h"

class QString;

namespace qv::locale {

std::string decimalPoint();     // "," in Italy, "." in England
std::string groupSeparator();   // "." in Italy, "," in England (may be a non-breaking space elsewhere)
NumberMarks numberMarks();      // both of them, and how the locale groups digits
// The locale's own currency format (where the sign goes, its marks and
// grouping) with the given currency sign in place of the locale's own and two
// decimals; its digits ASCII, as the cells' are. A negative value always reads
// with the locale's minus sign before it, never in brackets, and a value that
// rounds to zero as zero.
std::string formatCurrency(double value, const std::string& sign);
// The locale's short date format with a four-digit year.
QString shortDateFormat();
// The locale's short date text of a date.
std::string formatShortDate(const DateTime& d);

// Dates as every date input shows and reads them, the same in every locale:
// shown as dd/mm/yyyy; read as d/m/yyyy (one or two digits for the day and
// the month) or as yyyy-mm-dd with an optional " hh:mm:ss". Never month first.
// The time of day is dropped; impossible dates are refused.
std::string formatInputDate(const DateTime& d);
std::optional<DateTime> parseInputDate(const std::string& text);

}  // namespace qv::locale
