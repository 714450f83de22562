#include "reports/reportdefs.h"

#include "core/sqlhelpers.h"
#include "lists/amounts.h"

namespace qv {

std::vector<ReportDefinition> gArrayReport;
int gMaxReportIndex = 0;
int gReportIndex = 0;

std::string substitutePlaceholders(const std::string& query, const std::vector<Placeholder>& values) {
    std::string out;
    out.reserve(query.size());
    std::size_t i = 0;
    while (i < query.size()) {
        // The longest name that starts here wins, so no name can cut another short.
        const Placeholder* hit = nullptr;
        for (const Placeholder& p : values)
            if (!p.name.empty() && query.compare(i, p.name.size(), p.name) == 0 &&
                (!hit || p.name.size() > hit->name.size()))
                hit = &p;
        if (hit) {
            out += hit->value;
            i += hit->name.size();
        } else {
            out += query[i++];
        }
    }
    return out;
}

DateTime addMonths(const DateTime& d, int months) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int index = d.year * 12 + (d.month - 1) + months;
    DateTime r = d;
    r.year = index / 12;
    r.month = index % 12 + 1;
    const bool leap = (r.year % 4 == 0 && r.year % 100 != 0) || r.year % 400 == 0;
    const int last = kDays[r.month - 1] + (r.month == 2 && leap ? 1 : 0);
    if (r.day > last) r.day = last;
    return r;
}

ParamKind paramKind(const std::string& tipo) {
    if (tipo == "DATAMESE") return ParamKind::Month;
    if (tipo == "DATAPRECISA") return ParamKind::Date;
    if (tipo == "DUEDATEPRECISE") return ParamKind::TwoDates;
    if (tipo == "STRINGA") return ParamKind::Text;
    if (tipo == "NUMERICO") return ParamKind::Number;
    return ParamKind::None;
}

std::optional<DateTime> readDateAnswer(const std::string& answer) { return parseDateInput(trim(answer)); }

std::optional<DateTime> readMonthAnswer(const std::string& answer) {
    // The month as the prompt asks it, MM/YYYY: its first day, read as every
    // date is, day first whatever the locale.
    return parseDateInput("01/" + trim(answer));
}

namespace {
std::vector<Placeholder> datePlaceholders(int param, const DateTime& d) {
    const std::string p = "[P" + std::to_string(param);
    return {{p + "]", FormattaData(d)},
            {p + "+1M]", FormattaData(addMonths(d, 1))},
            {p + "+1A]", FormattaData(addMonths(d, 12))}};
}
}  // namespace

std::optional<std::vector<Placeholder>> answerPlaceholders(ParamKind kind, int param, const std::string& answer) {
    const std::string name = "[P" + std::to_string(param) + "]";
    switch (kind) {
        case ParamKind::Month:
            if (const auto d = readMonthAnswer(answer)) return datePlaceholders(param, *d);
            return std::nullopt;
        case ParamKind::Date:
            if (const auto d = readDateAnswer(answer)) return datePlaceholders(param, *d);
            return std::nullopt;
        case ParamKind::Text:
            // As typed, blanks included; only the quotes are doubled.
            return std::vector<Placeholder>{{name, Pad(answer)}};
        case ParamKind::Number:
            // Plain digits with a point, whatever the locale: never the typed text.
            if (const auto n = parseAmount(answer)) return std::vector<Placeholder>{{name, *n}};
            return std::nullopt;
        case ParamKind::TwoDates:
        case ParamKind::None:
            break;
    }
    return std::nullopt;
}

std::optional<std::vector<Placeholder>> periodPlaceholders(const std::string& start, const std::string& end) {
    const auto a = readDateAnswer(start);
    const auto b = readDateAnswer(end);
    if (!a || !b) return std::nullopt;
    return std::vector<Placeholder>{{"[P1]", FormattaData(*a)}, {"[P1ARR]", FormattaData(*b)}};
}

std::string invalidAnswerMessage(ParamKind kind, int param) {
    switch (kind) {
        case ParamKind::Month: return "Formato del mese non valido";
        case ParamKind::Date: return param == 1 ? "Formato data non valida" : "Formato della data non valido";
        case ParamKind::TwoDates: return "Formato data non valida";
        case ParamKind::Number: return "Formato numerico non valido";
        default: return {};
    }
}

std::string translatePrompt(const std::string& prompt) {
    static const std::pair<const char*, const char*> kRows[] = {
        {"il mese (formato MM/AAAA)", "the month (format MM/YYYY)"},
        {"il mese di partenza (formato MM/AAAA)", "the starting month (format MM/YYYY)"},
        {"la data di partenza (formato GG/MM/AAAA)", "the starting date (format DD/MM/YYYY)"},
        {"la data di arrivo (formato GG/MM/AAAA)", "the end date (format DD/MM/YYYY)"},
    };
    std::string text = prompt;
    for (const auto& [italian, english] : kRows) {
        const std::string from = italian, to = english;
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace qv
