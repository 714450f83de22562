#include "platform/locale.h"

#include <QDate>
#include <QLocale>

namespace qv::locale {

std::string decimalPoint() { return QString(QLocale().decimalPoint()).toStdString(); }
std::string groupSeparator() { return QString(QLocale().groupSeparator()).toStdString(); }

std::string formatGrouped(double value, int decimals) {
    QLocale l;
    l.setNumberOptions(l.numberOptions() & ~QLocale::OmitGroupSeparator);
    return l.toString(value, 'f', decimals).toStdString();
}

std::string formatCurrency(double value, const std::string& sign) {
    const QLocale l;
    return l.toCurrencyString(value, QString::fromStdString(sign), 2).toStdString();
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

std::optional<DateTime> parseShortDate(const std::string& text) {
    const QDate d = QLocale().toDate(QString::fromStdString(text), shortDateFormat());
    if (!d.isValid()) return std::nullopt;
    return DateTime{d.year(), d.month(), d.day(), 0, 0, 0};
}

}  // namespace qv::locale
