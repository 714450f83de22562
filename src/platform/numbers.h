// The one place where text becomes a number. None of these readers follows
// the process's C locale (which the application takes from LANG): stored
// values are always written with a decimal point, and the marks of typed
// amounts and of grid cells are those of the user interface locale, passed in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The decimal mark and the digit-grouping mark of a locale.
struct NumberMarks {
    std::string decimal = ".";
    std::string group = ",";
    // How many digits the locale puts in each group before the last three:
    // 2 in India ("1,00,000"), else 3.
    int higherGroup = 3;
};

// Stored values, as the database writes them.
// A whole number: optional sign and digits only.
std::optional<std::int64_t> parseWholeNumber(std::string_view text);
// Optional sign, digits, optional "." and digits, optional exponent. No group
// separators, no locale.
std::optional<double> parsePlainNumber(std::string_view text);
std::int64_t requireWholeNumber(std::string_view text);   // raises 13
double requirePlainNumber(std::string_view text);          // raises 13

// A number as the user types it, given as plain digits with "." as the
// decimal mark and the sign kept. Accepts the locale's number (grouped in
// threes or as the locale groups, never after a first group of zeros, also
// with the group mark a keyboard types: a blank for a no-break space, "'"
// for "’"; its decimal mark, which may also lead or end the number); a text
// grouped by one of "," and "." whose last mark, the other one, has one or
// two digits after it; else a single "," or "." between digits, unless that
// mark is none of the locale's and three digits after it could as well be
// a group of thousands ("1.000" in France): such a text is refused.
std::optional<std::string> readTypedNumber(std::string_view typed, const NumberMarks& marks);

// "#,##0.00" with the given number of decimals (0 to 20): a leading "-", ASCII
// digits grouped in threes by the group mark, the decimal mark before the
// decimals. A value that rounds to zero has no sign.
std::string formatGrouped(double value, int decimals, const NumberMarks& marks);
// The same, grouped as the locale groups its own numbers: "12,34,567.89" in India.
std::string formatLocaleGrouped(double value, int decimals, const NumberMarks& marks);

// The number a grid cell shows, if it shows one: trimmed, without a currency
// sign (€, $, £) before or after it, a plain number or one written with the
// locale's marks, grouped in threes ("1.234,50 €" in Italy) or as the locale
// groups, as a typed number is.
std::optional<double> readCellNumber(std::string_view text, const NumberMarks& marks);

}  // namespace qv
