#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace qv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view stripBlanks(std::string_view t) {
    while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
    return t;
}

// A value too large or too small for a double: infinite when its order of
// magnitude is above one, else zero (what the C library's reader gives).
double outOfRange(std::string_view t, bool negative) {
    std::size_t i = 0;
    long long order = 0;
    bool seen = false;   // a non-zero digit
    for (; i < t.size() && isDigit(t[i]); ++i) {
        if (t[i] != '0') seen = true;
        if (seen) ++order;
    }
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && isDigit(t[i]); ++i) {
            if (t[i] != '0') seen = true;
            if (!seen) --order;
        }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        const bool down = i < t.size() && t[i] == '-';
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        // An exponent this large outweighs the digits of any text: keep it
        // there rather than let it grow without end.
        constexpr long long kLargest = 1'000'000'000'000'000;
        long long exp = 0;
        for (; i < t.size() && isDigit(t[i]); ++i) exp = std::min(kLargest, exp * 10 + (t[i] - '0'));
        order += down ? -exp : exp;
    }
    const double v = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -v : v;
}

// The whole part with the given grouping: ungrouped digits, or groups of
// three, or groups of `higher` digits before the last three. The one reader
// of grouped digits, typed or shown in a cell.
std::optional<std::string> wholePart(std::string_view s, std::string_view group, int higher = 3) {
    if (allDigits(s)) return std::string(s);
    if (group.empty()) return std::nullopt;
    std::size_t p = s.find(group);
    if (p == std::string_view::npos) return std::nullopt;
    const std::string_view first = s.substr(0, p);
    // No locale groups the digits after nothing but zeros: "0,500" and
    // "00,500" are not five hundred.
    if (!allDigits(first) || first.find_first_not_of('0') == std::string_view::npos) return std::nullopt;
    std::string digits(first);
    bool threes = first.size() <= 3, highers = higher >= 1 && first.size() <= static_cast<std::size_t>(higher);
    for (;;) {
        const std::size_t start = p + group.size();
        p = s.find(group, start);
        const std::string_view chunk = s.substr(start, p == std::string_view::npos ? p : p - start);
        if (!allDigits(chunk)) return std::nullopt;
        digits += chunk;
        if (p == std::string_view::npos) {
            if (chunk.size() != 3) return std::nullopt;
            break;
        }
        threes = threes && chunk.size() == 3;
        highers = highers && chunk.size() == static_cast<std::size_t>(higher);
    }
    if (!threes && !highers) return std::nullopt;
    return digits;
}

// The group marks a user may type for the locale's own: a keyboard types a
// blank where the locale groups with a no-break space, "'" for "’".
std::vector<std::string_view> typedGroups(std::string_view group) {
    constexpr std::string_view noBreak = "\xC2\xA0", narrowNoBreak = "\xE2\x80\xAF", apostrophe = "\xE2\x80\x99";
    if (group == noBreak || group == narrowNoBreak || group == " ") return {noBreak, narrowNoBreak, " "};
    if (group == apostrophe || group == "'") return {apostrophe, "'"};
    return {group};
}

// The locale's own number. Its decimal mark may stand first (",5" in Italy)
// or last ("12,"), as the locale itself reads numbers.
std::optional<std::string> localeNumber(std::string_view s, const NumberMarks& marks) {
    const std::string_view dec = marks.decimal;
    const std::size_t d = dec.empty() ? std::string_view::npos : s.find(dec);
    if (d != std::string_view::npos && s.find(dec, d + dec.size()) != std::string_view::npos) return std::nullopt;
    const std::string_view whole = d == std::string_view::npos ? s : s.substr(0, d);
    const std::string_view frac = d == std::string_view::npos ? std::string_view() : s.substr(d + dec.size());
    if (d != std::string_view::npos) {
        if (whole.empty() && frac.empty()) return std::nullopt;
        if (!frac.empty() && !allDigits(frac)) return std::nullopt;
        if (whole.empty()) return "0." + std::string(frac);
    }
    std::optional<std::string> digits;
    for (std::string_view group : typedGroups(marks.group))
        if ((digits = wholePart(whole, group, marks.higherGroup))) break;
    if (!digits) return std::nullopt;
    if (frac.empty()) return *digits;
    return *digits + "." + std::string(frac);
}

// Both "," and "." in one text: the last one is the decimal mark when one or
// two digits follow it and the other groups the whole part in threes.
std::optional<std::string> bothMarks(std::string_view s) {
    const std::size_t mark = s.find_last_of(",.");
    if (mark == std::string_view::npos) return std::nullopt;
    const char other = s[mark] == ',' ? '.' : ',';
    const std::string_view whole = s.substr(0, mark), frac = s.substr(mark + 1);
    if (whole.find(s[mark]) != std::string_view::npos || whole.find(other) == std::string_view::npos)
        return std::nullopt;
    if (frac.size() > 2 || !allDigits(frac)) return std::nullopt;
    auto digits = wholePart(whole, std::string_view(&other, 1));
    if (!digits) return std::nullopt;
    return *digits + "." + std::string(frac);
}

}  // namespace

std::optional<std::int64_t> parseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return std::nullopt;
    for (std::size_t j = i; j < text.size(); ++j)
        if (!isDigit(text[j])) return std::nullopt;
    if (text[0] == '+') text.remove_prefix(1);
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<double> parsePlainNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exp = 0;
        while (i < n && isDigit(text[i])) ++i, ++exp;
        if (exp == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || negative) text.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) return outOfRange(text, negative);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return negative ? -v : v;
}

std::int64_t requireWholeNumber(std::string_view text) {
    if (auto v = parseWholeNumber(text)) return *v;
    throw RuntimeError(kErrTypeMismatch);
}

double requirePlainNumber(std::string_view text) {
    if (auto v = parsePlainNumber(text)) return *v;
    throw RuntimeError(kErrTypeMismatch);
}

std::optional<std::string> readTypedNumber(std::string_view typed, const NumberMarks& marks) {
    std::string_view s = stripBlanks(typed);
    std::string sign;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        if (s[0] == '-') sign = "-";
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    if (auto n = localeNumber(s, marks)) return sign + *n;
    if (auto n = bothMarks(s)) return sign + *n;
    // Not the locale's number: one "," or "." as the decimal mark.
    const std::size_t mark = s.find_first_of(",.");
    if (mark == std::string_view::npos || s.find_first_of(",.", mark + 1) != std::string_view::npos)
        return std::nullopt;
    const std::string_view whole = s.substr(0, mark), frac = s.substr(mark + 1);
    if (!allDigits(whole) || !allDigits(frac)) return std::nullopt;
    // A mark that is none of the locale's, before what could be a group of
    // thousands, could mean either: never guess between a thousand and one.
    const std::string_view m = s.substr(mark, 1);
    if (m != marks.decimal && m != marks.group && frac.size() == 3 && whole.size() <= 3 &&
        whole.find_first_not_of('0') != std::string_view::npos)
        return std::nullopt;
    return sign + std::string(whole) + "." + std::string(frac);
}

namespace {
// "#,##0.00" with `higher` digits in each group before the last three.
std::string formatWithGroups(double value, int decimals, const NumberMarks& marks, int higher) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buf[352];   // the largest double has 309 whole digits
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, std::clamp(decimals, 0, 20));
    if (ec != std::errc()) return "nan";
    std::string_view t(buf, static_cast<std::size_t>(end - buf));
    std::string out;
    out.reserve(t.size() + t.size() / 2 * marks.group.size() + marks.decimal.size());
    if (t.front() == '-') {
        t.remove_prefix(1);
        if (t.find_first_not_of("0.") != std::string_view::npos) out += '-';   // never "-0.00"
    }
    const std::size_t point = t.find('.');
    const std::string_view whole = t.substr(0, point);
    const std::size_t size = static_cast<std::size_t>(std::max(higher, 1));
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::size_t after = whole.size() - i;   // digits from here to the end of the whole part
        if (i > 0 && after >= 3 && (after - 3) % size == 0) out += marks.group;
        out += whole[i];
    }
    if (point != std::string_view::npos) {
        out += marks.decimal;
        out += t.substr(point + 1);
    }
    return out;
}
}  // namespace

std::string formatGrouped(double value, int decimals, const NumberMarks& marks) {
    return formatWithGroups(value, decimals, marks, 3);
}

std::string formatLocaleGrouped(double value, int decimals, const NumberMarks& marks) {
    return formatWithGroups(value, decimals, marks, marks.higherGroup);
}

std::optional<double> readCellNumber(std::string_view t, const NumberMarks& marks) {
    t = stripBlanks(t);
    if (t.empty()) return std::nullopt;
    const unsigned char first = static_cast<unsigned char>(t.front());
    // Most texts are words: leave them at once.
    if (!(isDigit(static_cast<char>(first)) || first == '+' || first == '-' || first == '.' || first == ',' ||
          first == '$' || first >= 0x80))
        return std::nullopt;
    {   // Whole numbers, the common case, without the general reader.
        // Up to 15 digits a double holds them exactly; longer runs take the general reader.
        constexpr std::size_t kExact = 15;
        std::size_t i = (first == '+' || first == '-') ? 1 : 0;
        const std::size_t digits = t.size() - i;
        std::int64_t v = 0;
        if (digits > 0 && digits <= kExact) {
            while (i < t.size() && isDigit(t[i])) v = v * 10 + (t[i++] - '0');
            if (i == t.size()) return static_cast<double>(first == '-' ? -v : v);
        }
    }
    for (std::string_view sign : {std::string_view("\xE2\x82\xAC"), std::string_view("$"), std::string_view("\xC2\xA3")}) {
        if (t.starts_with(sign)) {
            t = stripBlanks(t.substr(sign.size()));
            break;
        }
        if (t.ends_with(sign)) {
            t = stripBlanks(t.substr(0, t.size() - sign.size()));
            break;
        }
    }
    if (t.empty()) return std::nullopt;
    if (auto plain = parsePlainNumber(t)) return plain;
    // Sign, the whole part grouped as the locale groups, then the decimals.
    const std::size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    const std::string_view decimal = marks.decimal;
    const std::size_t point = decimal.empty() ? std::string_view::npos : t.find(decimal, i);
    const auto digits =
        wholePart(t.substr(i, point == std::string_view::npos ? point : point - i), marks.group, marks.higherGroup);
    if (!digits) return std::nullopt;
    std::string plain(t.substr(0, i));
    plain += *digits;
    if (point != std::string_view::npos) {
        const std::string_view decimals = t.substr(point + decimal.size());
        if (!allDigits(decimals)) return std::nullopt;
        plain += '.';
        plain += decimals;
    }
    return parsePlainNumber(plain);
}

}  // namespace qv
