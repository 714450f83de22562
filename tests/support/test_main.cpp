// Every test program runs with a QApplication (offscreen in CI).
//
// Run with QV_TEST_LOCALE_RUN set (ctest runs every program again so, under
// LANG=it_IT.UTF-8 and en_US.UTF-8), a program takes its locales as the
// program itself does: QApplication sets the process locale from LANG and the
// interface locale follows it. Otherwise the interface locale is pinned to
// British English.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "platform/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    const bool localeRun = qEnvironmentVariableIsSet("QV_TEST_LOCALE_RUN");
    if (!localeRun) QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QApplication app(argc, argv);
    qv::app::prepare();
    ::testing::InitGoogleTest(&argc, argv);
    if (localeRun) {
        // A locale that could not be set leaves the process in "C", where
        // every locale fault hides: say so rather than pass.
        const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
        if (!numeric || std::strcmp(numeric, "C") == 0 || std::strcmp(numeric, "POSIX") == 0) {
            std::fprintf(stderr,
                         "LANG=%s, but the process locale could not be set to it (LOCPATH=%s). "
                         "Generate it (Debian's locales package).\n",
                         qgetenv("LANG").constData(), qgetenv("LOCPATH").constData());
            return 1;
        }
    }
    return RUN_ALL_TESTS();
}
