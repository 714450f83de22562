// Pins the UI locale for one test and puts the previous one back.
#pragma once

#include <QLocale>

namespace issuedtest {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

    static QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale italian() { return QLocale(QLocale::Italian, QLocale::Italy); }

private:
    QLocale saved_;
};

}  // namespace issuedtest
