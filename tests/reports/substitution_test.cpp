// Parameter answers and their placeholders, without any window.
#include <gtest/gtest.h>

#include <QLocale>

#include "reports/reportdefs.h"

using namespace qv;

namespace {

const std::string kDates = "'[P1]' '[P1+1M]' '[P1+1A]'";

TEST(ReportSubstitution, AnswersFillTheirPlaceholders) {
    struct Case {
        const char* label;
        ParamKind kind;
        int param;
        std::string answer, query, expected;   // expected "" = refused
    };
    const std::vector<Case> cases = {
        {"month", ParamKind::Month, 1, "02/2010", kDates,
         "'2010-02-01 00:00:00' '2010-03-01 00:00:00' '2011-02-01 00:00:00'"},
        {"month trimmed, year end", ParamKind::Month, 1, " 12/2010 ", "[P1+1M]", "2011-01-01 00:00:00"},
        {"month 13", ParamKind::Month, 1, "13/2010", kDates, ""},
        {"month as a date", ParamKind::Month, 1, "01/02/2010", kDates, ""},
        {"date to a shorter month", ParamKind::Date, 1, "31/01/2010", kDates,
         "'2010-01-31 00:00:00' '2010-02-28 00:00:00' '2011-01-31 00:00:00'"},
        {"leap day plus a year", ParamKind::Date, 1, "29/02/2012", kDates,
         "'2012-02-29 00:00:00' '2012-03-29 00:00:00' '2013-02-28 00:00:00'"},
        {"impossible date", ParamKind::Date, 1, "31/02/2010", kDates, ""},
        {"second parameter", ParamKind::Date, 2, "2010-05-06", "[P1] [P2] [P2+1M]",
         "[P1] 2010-05-06 00:00:00 2010-06-06 00:00:00"},
        {"lower case left alone", ParamKind::Month, 1, "02/2010", "[p1] [P1] [P1+1m]",
         "[p1] 2010-02-01 00:00:00 [P1+1m]"},
        {"text quoted as typed", ParamKind::Text, 1, " O'Neil ", "'[P1]' [P1]", "' O''Neil '  O''Neil "},
        {"number with grouping", ParamKind::Number, 1, "1,234.50", "x > [P1]", "x > 1234.50"},
        {"number with a comma", ParamKind::Number, 1, "-12,5", "[P1]", "-12.5"},
        {"not a number", ParamKind::Number, 1, "12A", "[P1]", ""},
        {"a lone 0 groups nothing", ParamKind::Number, 1, "0,500", "[P1]", "0.500"},
        {"both marks", ParamKind::Number, 1, "1.234,56", "[P1]", "1234.56"},
        {"too many digits", ParamKind::Number, 1, std::string(309, '9'), "[P1]", ""},
        {"number is no SQL", ParamKind::Number, 1, "1 or 1=1", "[P1]", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto values = answerPlaceholders(c.kind, c.param, c.answer);
        if (c.expected.empty()) {
            EXPECT_FALSE(values);
        } else {
            ASSERT_TRUE(values);
            EXPECT_EQ(substitutePlaceholders(c.query, *values), c.expected);
        }
    }
}

TEST(ReportSubstitution, OnePassNeverRescansWhatItPutIn) {
    auto values = *answerPlaceholders(ParamKind::Text, 1, "a [P2] [P1]");
    const auto second = *answerPlaceholders(ParamKind::Number, 2, "7");
    values.insert(values.end(), second.begin(), second.end());
    EXPECT_EQ(substitutePlaceholders("'[P1]' and [P2]", values), "'a [P2] [P1]' and 7");

    // [P1ARR] is a placeholder of its own, not [P1] followed by text.
    const auto period = *periodPlaceholders("01/03/2010", "31/03/2010");
    EXPECT_EQ(substitutePlaceholders("'[P1]' '[P1ARR]' [P1+1M] [P1ARR", period),
              "'2010-03-01 00:00:00' '2010-03-31 00:00:00' [P1+1M] [P1ARR");
    EXPECT_FALSE(periodPlaceholders("01/03/2010", "32/03/2010"));
}

TEST(ReportSubstitution, MonthAndDateAnswersAreDayFirstInAMonthFirstLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(readDateAnswer(" 08/12/2026 "), (DateTime{2026, 12, 8, 0, 0, 0}));
    EXPECT_FALSE(readDateAnswer("12/31/2026"));
    EXPECT_EQ(readMonthAnswer(" 12/2010 "), (DateTime{2010, 12, 1, 0, 0, 0}));
    EXPECT_EQ(readMonthAnswer("2/2010"), (DateTime{2010, 2, 1, 0, 0, 0}));
    EXPECT_FALSE(readMonthAnswer("13/2010"));
    EXPECT_FALSE(readMonthAnswer("00/2010"));
    QLocale::setDefault(before);
}

TEST(ReportSubstitution, KindsPromptsAndCalendar) {
    EXPECT_EQ(paramKind("datamese"), ParamKind::None);   // kinds are matched exactly
    EXPECT_EQ(translatePrompt("la data di arrivo (formato GG/MM/AAAA)"), "the end date (format DD/MM/YYYY)");
    EXPECT_EQ(translatePrompt("il mese di partenza (formato MM/AAAA)"), "the starting month (format MM/YYYY)");
    EXPECT_EQ(translatePrompt("il mese (formato MM/AAAA) o il mese (formato MM/AAAA)"),
              "the month (format MM/YYYY) o the month (format MM/YYYY)");
    EXPECT_EQ(translatePrompt("il cliente"), "il cliente");
    EXPECT_EQ(addMonths({2010, 12, 31, 0, 0, 0}, 2), (DateTime{2011, 2, 28, 0, 0, 0}));
}

}  // namespace
