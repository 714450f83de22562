// Amounts and dates as the user types them, and money as the lists show it.
#pragma once

#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/numbers.h"
#include "platform/runtime.h"

namespace qv {

// An amount typed by the user, as SQL wants it: plain digits with "." as the
// decimal mark, the sign kept. Read as readTypedNumber reads it in the
// user's locale; nothing past kAmountWholeDigits whole digits.
std::optional<std::string> parseAmount(const std::string& typed);
constexpr std::size_t kAmountWholeDigits = 13;
// Whether a text reads as a number by the same rules, of any size (a
// cheque number is kept as text).
bool readsAsNumber(const std::string& typed);
// A stored amount shown for editing, so that saving it untouched keeps its
// value: the locale's decimal mark, no grouping.
std::string amountForInput(const Value& stored);

// A date typed by the user, in every locale: d/m/yyyy (dd/mm/yyyy too) or
// "YYYY-MM-DD[ HH:MM:SS]", never month first. The time of day is dropped.
// Impossible dates refused.
std::optional<DateTime> parseDateInput(const std::string& typed);
// A stored date text ("YYYY-MM-DD HH:MM:SS") shown for editing, as dd/mm/yyyy;
// a stored text that is no date is shown as it is.
std::string dateForInput(const Value& stored);

// "#,##0.00" followed by " €", with the locale's separators, in every locale
// and Qt version: groups of three, ASCII digits.
std::string moneyCell(double amount);

// moneyCell for many cells: the locale is read once, when it is made.
class MoneyFormat {
public:
    MoneyFormat();
    std::string cell(double amount) const;

private:
    NumberMarks marks_;
};
// The total line under a cheque list, picked by the language switch.
std::string totalLine(double total);

}  // namespace qv
