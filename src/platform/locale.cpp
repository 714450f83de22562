#include "platform/locale.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
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

// A number the locale wrote, grouped again as the locale groups, whatever Qt's
// version: newer ones leave four-digit numbers ungrouped in some locales.
QString regrouped(const QString& number, const QLocale& l) {
    const QString group = l.groupSeparator();
    QString plain = number;
    plain.remove(group);
    const qsizetype point = plain.indexOf(l.decimalPoint());
    const QList<uint> whole = plain.left(point).toUcs4();
    const int higher = higherGroup(l);
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const qsizetype after = whole.size() - i;   // digits from here to the end of the whole part
        if (i > 0 && after >= 3 && (after - 3) % higher == 0) out += group;
        out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&whole[i]), 1);
    }
    return point < 0 ? out : out + plain.mid(point);
}
}  // namespace

std::string decimalPoint() { return QString(QLocale().decimalPoint()).toStdString(); }
std::string groupSeparator() { return QString(QLocale().groupSeparator()).toStdString(); }
NumberMarks numberMarks() { return {decimalPoint(), groupSeparator(), higherGroup(grouping())}; }

std::string formatCurrency(double value, const std::string& sign) {
    // The C locale omits the grouping by default; the total groups as the cells do.
    const QLocale l = grouping();
    const QString symbol = QString::fromStdString(sign);
    // A sum that rounds to zero is zero, never "(€0.00)" nor "-€0.00".
    const bool zero = l.toString(std::fabs(value), 'f', 2) == l.toString(0.0, 'f', 2);
    const bool negative = value < 0 && !zero;
    const double shown = zero ? 0.0 : std::fabs(value);
    const QString number = l.toString(shown, 'f', 2);
    QString text = l.toCurrencyString(shown, symbol, 2);
    if (const qsizetype at = text.indexOf(number); at >= 0) text.replace(at, number.size(), regrouped(number, l));
    // Some locales bracket a negative sum, "(€649.75)"; it reads with a minus
    // sign, as the money cells beside it do.
    return ((negative ? l.negativeSign() : QString()) + text).toStdString();
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
