#include "lists/amounts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/translation.h"
#include "platform/locale.h"

namespace qv {

std::optional<std::string> parseAmount(const std::string& typed) {
    auto n = readTypedNumber(typed, locale::numberMarks());
    if (!n) return std::nullopt;
    // Past 13 whole digits the database no longer keeps the cents exactly
    // (and far past them the value becomes infinite).
    const std::size_t start = n->find_first_not_of("-0");
    const std::size_t end = n->find('.');
    if (start != std::string::npos && start < end && std::min(end, n->size()) - start > kAmountWholeDigits)
        return std::nullopt;
    const auto value = parsePlainNumber(*n);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return n;
}

bool readsAsNumber(const std::string& typed) { return readTypedNumber(typed, locale::numberMarks()).has_value(); }

std::string amountForInput(const Value& stored) {
    if (stored.isNull()) return {};
    std::string t = stored.str();
    // Very large or small values come back in exponent form, which no typed
    // amount may use: write them out in plain digits (shortest exact form).
    if (t.find_first_of("eE") != std::string::npos) {
        if (const auto v = parsePlainNumber(t)) {
            char buf[400];
            const auto r = std::to_chars(buf, buf + sizeof buf, *v, std::chars_format::fixed);
            if (r.ec == std::errc()) t.assign(buf, r.ptr);
        }
    }
    const std::size_t p = t.find('.');
    if (p != std::string::npos) t.replace(p, 1, locale::decimalPoint());
    return t;
}

std::optional<DateTime> parseDateInput(const std::string& typed) { return locale::parseInputDate(typed); }

std::string dateForInput(const Value& stored) {
    if (stored.isNull()) return {};
    if (auto d = parseDateInput(stored.str())) return locale::formatInputDate(*d);
    return stored.str();
}

std::string moneyCell(double amount) { return MoneyFormat().cell(amount); }

MoneyFormat::MoneyFormat() : marks_(locale::numberMarks()) {}

std::string MoneyFormat::cell(double amount) const { return formatGrouped(amount, 2, marks_) + " €"; }

std::string totalLine(double total) {
    // Every stored amount is in euros, whatever the locale's own currency.
    if (isEnglish()) return "Total amount of displayed cheques: " + locale::formatCurrency(total, "€");
    return "Importo complessivo degli assegni visualizzati: " + moneyCell(total);
}

}  // namespace qv
