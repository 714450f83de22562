#include "platform/locale.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace qv::locale {

namespace {
// A locale with its grouping mark written, which the C locale omits by default.
QLocale grouping() {
    QLocale l;
    l.setNumberOptions(l.numberOptions() & ~QLocale::OmitGroupSeparator);
    return l;
}

// The digits a locale puts in each group before the last one: two in India,
// "12,34,56,78,901", else three.
int higherGroup(const QLocale& l) {
    const QStringList groups = l.toString(qlonglong(12345678901)).split(l.groupSeparator());
    if (groups.size() < 3) return 3;
    const auto digits = groups[groups.size() - 2].toUcs4().size();
    return digits >= 1 && digits <= 9 ? static_cast<int>(digits) : 3;
}
}  // namespace

std::string decimalPoint() { return QString(QLocale().decimalPoint()).toStdString(); }
std::string groupSeparator() { return QString(QLocale().groupSeparator()).toStdString(); }
NumberMarks numberMarks() { return {decimalPoint(), groupSeparator(), higherGroup(grouping())}; }

std::string formatCurrency(double value, const std::string& sign) {
    // The number as the cells beside it write theirs, ASCII digits and the
    // same marks, only grouped as the locale groups. A sum that rounds to zero
    // is zero, never "(€0.00)" nor "-€0.00".
    const std::string number = formatLocaleGrouped(std::fabs(value), 2, numberMarks());
    const bool negative = value < 0 && number.find_first_of("123456789") != std::string::npos;
    // What the locale writes around its number: its currency text of a probe,
    // less everything from its first digit to its last, whatever its digits.
    const QLocale l;
    const std::u32string probe = l.toCurrencyString(1.0, QString::fromStdString(sign), 2).toStdU32String();
    const auto digit = [](char32_t c) { return QChar::isDigit(c); };
    const auto first = std::find_if(probe.begin(), probe.end(), digit);
    const auto last = first == probe.end() ? first : std::find_if(probe.rbegin(), probe.rend(), digit).base();
    // The probe is positive, as some locales bracket a negative sum,
    // "(€649.75)": it reads with a minus sign, as the money cells beside it do.
    const QString before = QString::fromStdU32String(std::u32string(probe.begin(), first));
    const QString after = QString::fromStdU32String(std::u32string(last, probe.end()));
    return ((negative ? l.negativeSign() : QString()) + before).toStdString() + number + after.toStdString();
}

QString shortDateFormat() {
    // Short formats often have a two-digit year, which reads back in the wrong century.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

std::string formatShortDate(const DateTime& d) {
    return QLocale().toString(QDate(d.year, d.month, d.day), shortDateFormat()).toStdString();
}

std::string formatInputDate(const DateTime& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
    return buf;
}

namespace {
bool digits(std::string_view s, std::size_t minLen, std::size_t maxLen) {
    if (s.size() < minLen || s.size() > maxLen) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
int number(std::string_view s) {
    int v = 0;
    for (char c : s) v = v * 10 + (c - '0');
    return v;
}
std::optional<DateTime> dateOf(int y, int m, int d) {
    if (y < 1 || m < 1 || m > 12 || d < 1) return std::nullopt;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > days[m - 1] + (m == 2 && leap ? 1 : 0)) return std::nullopt;
    return DateTime{y, m, d, 0, 0, 0};
}
// " hh:mm:ss", or nothing.
bool timeOrNothing(std::string_view rest) {
    if (rest.empty()) return true;
    if (rest.size() != 9 || rest[0] != ' ' || rest[3] != ':' || rest[6] != ':') return false;
    const auto part = [&](std::size_t at, int below) {
        const std::string_view p = rest.substr(at, 2);
        return digits(p, 2, 2) && number(p) < below;
    };
    return part(1, 24) && part(4, 60) && part(7, 60);
}
}  // namespace

std::optional<DateTime> parseInputDate(const std::string& text) {
    std::string_view s(text);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    if (s.size() >= 10 && s[4] == '-' && s[7] == '-') {
        const std::string_view y = s.substr(0, 4), m = s.substr(5, 2), d = s.substr(8, 2);
        if (!digits(y, 4, 4) || !digits(m, 2, 2) || !digits(d, 2, 2) || !timeOrNothing(s.substr(10)))
            return std::nullopt;
        return dateOf(number(y), number(m), number(d));
    }
    const std::size_t a = s.find('/');
    const std::size_t b = a == std::string_view::npos ? a : s.find('/', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    const std::string_view d = s.substr(0, a), m = s.substr(a + 1, b - a - 1), y = s.substr(b + 1);
    if (!digits(d, 1, 2) || !digits(m, 1, 2) || !digits(y, 4, 4)) return std::nullopt;
    return dateOf(number(y), number(m), number(d));
}

}  // namespace qv::locale
