// Pins the UI locale for one test and puts the previous one back; the
// locale a test program runs in, and the example's money texts in it.
#pragma once

#include <QLocale>
#include <QtGlobal>

#include <string>
#include <vector>

namespace qvtest {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

    static QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale italian() { return QLocale(QLocale::Italian, QLocale::Italy); }
    // The run's own interface locale: British English, or in the locale runs
    // the one LANG names, as in the program.
    static QLocale run() {
        return qEnvironmentVariableIsSet("QV_TEST_LOCALE_RUN") ? QLocale::system()
                                                               : QLocale(QLocale::English, QLocale::UnitedKingdom);
    }

private:
    QLocale saved_;
};

// The cells of the example cheques of 100, 250.50 and 1000 and their total,
// as the run's locale writes them.
struct ExampleMoney {
    std::vector<std::string> cells;
    std::string total;
};
inline ExampleMoney exampleMoney() {
    const QString name = LocaleScope::run().name();
    if (name == QLatin1String("it_IT")) return {{"100,00 €", "250,50 €", "1.000,00 €"}, "1.350,50 €"};
    if (name == QLatin1String("en_US") || name == QLatin1String("en_GB"))
        return {{"100.00 €", "250.50 €", "1,000.00 €"}, "1,350.50 €"};
    return {{"no example for " + name.toStdString()}, ""};
}

}  // namespace qvtest
