#include "lists/amounts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

std::string moneyCell(double amount) { return locale::formatGrouped(amount, 2) + " €"; }

MoneyFormat::MoneyFormat() : decimal_(locale::decimalPoint()), group_(locale::groupSeparator()) {
    // The direct form knows only a leading "-", ASCII digits and groups of
    // three; a locale that writes numbers otherwise keeps the locale's own form.
    usable_ = true;
    for (double probe : {0.0, -0.0, -0.001, 7.0, -0.5, 12.345, 999.995, 1000.0, -1234567.891, 250.5, 1e14 + 0.25}) {
        std::string mine;
        if (!direct(probe, mine) || mine != moneyCell(probe)) {
            usable_ = false;
            break;
        }
    }
}

bool MoneyFormat::direct(double amount, std::string& out) const {
    if (!(std::fabs(amount) < 1e15)) return false;   // NaN, infinities and very large values too
    if (amount == 0) amount = 0.0;   // a negative zero is written without its sign
    char buf[48];
    // Exact decimal rounding, as the locale's own formatting does.
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf - 1, amount, std::chars_format::fixed, 2);
    if (ec != std::errc()) return false;
    *end = '\0';
    const char* p = buf;
    out.clear();
    if (*p == '-') {
        out += '-';
        ++p;
    }
    const char* point = std::strchr(p, '.');
    if (!point) return false;
    const std::size_t whole = static_cast<std::size_t>(point - p);
    for (std::size_t i = 0; i < whole; ++i) {
        if (i > 0 && (whole - i) % 3 == 0) out += group_;
        out += p[i];
    }
    out += decimal_;
    out += point + 1;
    out += " €";
    return true;
}

std::string MoneyFormat::cell(double amount) const {
    std::string out;
    if (usable_ && direct(amount, out)) return out;
    return moneyCell(amount);
}

std::string totalLine(double total) {
    // Every stored amount is in euros, whatever the locale's own currency.
    if (isEnglish()) return "Total amount of displayed cheques: " + locale::formatCurrency(total, "€");
    return "Importo complessivo degli assegni visualizzati: " + moneyCell(total);
}

}  // namespace qv
