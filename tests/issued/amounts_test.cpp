// The shared cheque helpers: typed amounts and dates, money cells and the total line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lists/amounts.h"
#include "locale_scope.h"
#include "platform/environment.h"
#include "platform/locale.h"
#include "platform/numbers.h"

using namespace qv;
using qvtest::LocaleScope;

namespace {

struct AmountCase {
    const char* typed;
    std::optional<std::string> sql;   // nullopt: refused
};

void expectAmounts(const std::vector<AmountCase>& cases) {
    for (const auto& c : cases) EXPECT_EQ(parseAmount(c.typed), c.sql) << "typed [" << c.typed << "]";
}

TEST(AmountParser, EnglishLocale) {
    LocaleScope pin(LocaleScope::english());
    expectAmounts({
        {"150,50", "150.50"},       // a lone comma before two digits is the decimal mark
        {"1,500", "1500"},          // the locale's grouping
        {"1,234,567.89", "1234567.89"},
        {"1.5", "1.5"},
        {" -20 ", "-20"},
        {"+7", "7"},
        {"0", "0"},
        {"000123", "000123"},
        {"1,2345", "1.2345"},       // not a locale number: one mark, then digits
        {"12A", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"1,50,000", std::nullopt},   // groups of three only
        {"1.234,56", "1234.56"},      // both marks: the last one is the decimal mark
        {"12.345.678,9", "12345678.9"},
        {"1.234,567", std::nullopt},  // three digits after the last mark: ambiguous
        {"1.23,45", std::nullopt},
        {"0,500", "0.500"},           // no locale groups digits after a lone 0
        {"0,001", "0.001"},
        {"-0,500", "-0.500"},
        {"0.500", "0.500"},
        {"0,500,000", std::nullopt},
        {"01,500", "01500"},          // a leading zero before a group is only a zero
        {"012,345", "012345"},
        {"0.234,56", std::nullopt},
        {"9999999999999.99", "9999999999999.99"},   // 13 whole digits
        {"9,999,999,999,999.99", "9999999999999.99"},
        {"0000009999999999999", "0000009999999999999"},
        {"10000000000000", std::nullopt},           // 14 whole digits
        {"-10,000,000,000,000", std::nullopt},
        {"0.00000000000000001", "0.00000000000000001"},
        {"1,234.5.6", std::nullopt},
        {"1e5", std::nullopt},
        {"1 000", std::nullopt},
        {"--5", std::nullopt},
        {"5-", std::nullopt},
    });
}

TEST(AmountParser, ItalianLocale) {
    LocaleScope pin(LocaleScope::italian());
    expectAmounts({
        {"150,50", "150.50"},
        {"1.234,56", "1234.56"},
        {"1.500", "1500"},          // grouped thousands, never 1.5
        {"1.234.567,8", "1234567.8"},
        {"1,500", "1.500"},
        {"1.5", "1.5"},             // not grouped by three: a decimal point
        {"-0,5", "-0.5"},
        {"0.500", "0.500"},         // a lone 0 is never a group of thousands
        {"0.050", "0.050"},
        {"01.500", "01500"},
        {"-0.500", "-0.500"},
        {"0,500", "0.500"},
        {"1,234.56", "1234.56"},    // both marks: the last one is the decimal mark
        {"1,234,567.8", "1234567.8"},
        {"1,234.567", std::nullopt},
        {"1,234.56.7", std::nullopt},
        {"9.999.999.999.999,99", "9999999999999.99"},
        {"10.000.000.000.000", std::nullopt},
        {"12.34.56", std::nullopt},
        {"1.234,5,6", std::nullopt},
        {"abc", std::nullopt},
        {"12A", std::nullopt},
    });
}

// Other locales' marks: the grouping a keyboard types is read, and a mark
// that is none of the locale's before three digits is never guessed at.
TEST(AmountParser, LocalesWithOtherMarks) {
    LocaleScope french(QLocale(QLocale::French, QLocale::France));   // "," and U+202F
    expectAmounts({
        {"1.000", std::nullopt},    // a thousand, or one?
        {"2.500", std::nullopt},
        {"1 234,56", "1234.56"},    // a plain blank, a no-break space, the locale's own
        {"1\u00a0234,56", "1234.56"},
        {"1\u202f234\u202f567", "1234567"},
        {"1 000", "1000"},
        {"1 23 456", std::nullopt},
        {"12.5", "12.5"},
        {"0.500", "0.500"},         // zeros are never a group of thousands
        {"1,000", "1.000"},
        {"1.234,56", "1234.56"},
    });
    LocaleScope swiss(QLocale(QLocale::German, QLocale::Switzerland));   // "." and U+2019
    expectAmounts({
        {"2,500", std::nullopt},
        {"2,50", "2.50"},
        {"1.000", "1.000"},
        {"1\u2019234.50", "1234.50"},
        {"1'234'567", "1234567"},
        {"1.234,56", "1234.56"},
    });
    LocaleScope indian(QLocale(QLocale::English, QLocale::India));   // "1,00,000"
    expectAmounts({
        {"1,00,000", "100000"},
        {"12,34,567.89", "1234567.89"},
        {"1,00,00,000", "10000000"},
        {"100,000", "100000"},
        {"1,234,567", "1234567"},
        {"1,0,000", std::nullopt},
        {"123,45,678", std::nullopt},
        {"1,00,0000", std::nullopt},
    });
}

// Zeros before a mark and a decimal mark standing alone at either end.
TEST(AmountParser, LeadingZerosAndLoneMarksInBothLocales) {
    struct Case {
        const char* typed;
        std::optional<std::string> english, italian;   // nullopt: refused
    };
    const std::vector<Case> cases = {
        {"00,500", "00.500", "00.500"},   // zeros are never a group of thousands
        {"000,500", "000.500", "000.500"},
        {"00.500", "00.500", "00.500"},
        {"-00,500", "-00.500", "-00.500"},
        {"00,500,000", std::nullopt, std::nullopt},
        {"001,500", "001500", "001.500"},
        {",5", std::nullopt, "0.5"},    // the locale's decimal mark may lead ...
        {"-,5", std::nullopt, "-0.5"},
        {"12,", std::nullopt, "12"},    // ... or end the number
        {"1.234,", std::nullopt, "1234"},
        {".5", "0.5", std::nullopt},
        {"-.5", "-0.5", std::nullopt},
        {"12.", "12", std::nullopt},
        {"1,234.", "1234", std::nullopt},
        {",", std::nullopt, std::nullopt},
        {".", std::nullopt, std::nullopt},
        {"-,", std::nullopt, std::nullopt},
        {",5,", std::nullopt, std::nullopt},
        {"12,,", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        {
            LocaleScope pin(LocaleScope::english());
            EXPECT_EQ(parseAmount(c.typed), c.english) << "English [" << c.typed << "]";
        }
        LocaleScope pin(LocaleScope::italian());
        EXPECT_EQ(parseAmount(c.typed), c.italian) << "Italian [" << c.typed << "]";
    }
}

TEST(AmountParser, NoAmountBecomesInfinite) {
    const std::string huge(309, '9');
    for (const QLocale& l : {LocaleScope::english(), LocaleScope::italian()}) {
        LocaleScope pin(l);
        EXPECT_EQ(parseAmount(huge), std::nullopt);
        EXPECT_EQ(parseAmount("-" + huge + ",5"), std::nullopt);
        EXPECT_TRUE(readsAsNumber(huge));   // a cheque number is text of any length
        EXPECT_FALSE(readsAsNumber("12A"));
    }
}

TEST(AmountParser, LoadedAmountSavedUntouchedKeepsItsValue) {
    for (const QLocale& l : {LocaleScope::english(), LocaleScope::italian()}) {
        LocaleScope pin(l);
        SCOPED_TRACE(l.name().toStdString());
        for (const char* stored : {"150.5", "1500", "-20", "1234.56", "0.01", "1.0e+12", "2.5e-05"}) {
            const std::string shown = amountForInput(Value(stored));
            const auto sql = parseAmount(shown);
            ASSERT_TRUE(sql) << stored << " shown as " << shown;
            EXPECT_EQ(parsePlainNumber(*sql), parsePlainNumber(stored)) << stored << " shown as " << shown;
        }
        EXPECT_EQ(amountForInput(Value::Null()), "");
    }
    LocaleScope pin(LocaleScope::italian());
    EXPECT_EQ(amountForInput(Value("1234.56")), "1234,56");
    // Shown in plain digits, but past what an amount may hold.
    EXPECT_EQ(amountForInput(Value("1.0e+20")), "100000000000000000000");
    EXPECT_EQ(parseAmount(amountForInput(Value("1.0e+20"))), std::nullopt);
}

struct DateCase {
    const char* typed;
    std::optional<DateTime> date;
};

void expectDates(const std::vector<DateCase>& cases) {
    for (const auto& c : cases) {
        const auto d = parseDateInput(c.typed);
        EXPECT_EQ(d.has_value(), c.date.has_value()) << "typed [" << c.typed << "]";
        if (d && c.date) {
            EXPECT_EQ(*d, *c.date) << "typed [" << c.typed << "]";
        }
    }
}

// The same rule in every locale: day first, never the locale's own order.
TEST(DateField, EveryLocaleReadsDayFirst) {
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const QLocale& l : {LocaleScope::italian(), LocaleScope::english(), german}) {
        SCOPED_TRACE(l.name().toStdString());
        LocaleScope pin(l);
        expectDates({
            {"25/11/2010", DateTime{2010, 11, 25}},
            {" 1/2/2010 ", DateTime{2010, 2, 1}},
            {"08/12/2026", DateTime{2026, 12, 8}},
            {"2010-11-25", DateTime{2010, 11, 25}},
            {"2010-11-25 14:05:09", DateTime{2010, 11, 25}},   // the time of day is dropped
            {"29/02/2012", DateTime{2012, 2, 29}},
            {"11/25/2010", std::nullopt},   // month first: no 25th month
            {"31/02/2010", std::nullopt},
            {"29/02/2010", std::nullopt},
            {"2010-02-31", std::nullopt},
            {"2010-11-25 25:00:00", std::nullopt},
            {"2010-11-25T14:05:09", std::nullopt},
            {"25/11/10", std::nullopt},   // a two-digit year would guess the century
            {"25.11.2010", std::nullopt},
            {"9 Dec 2026", std::nullopt},
            {"", std::nullopt},
            {"oggi", std::nullopt},
            {"25/11", std::nullopt},
            {"1/2/3/2010", std::nullopt},
        });
    }
}

TEST(DateField, StoredDateShownForEditingReadsBackAsTheSameDay) {
    for (const QLocale& l : {LocaleScope::english(), LocaleScope::italian()}) {
        LocaleScope pin(l);
        for (const char* stored : {"2010-02-01 00:00:00", "2010-12-31 00:00:00", "1999-07-04 00:00:00"}) {
            const std::string shown = dateForInput(Value(stored));
            const auto back = parseDateInput(shown);
            ASSERT_TRUE(back) << l.name().toStdString() << ": " << stored << " shown as " << shown;
            EXPECT_EQ(*back, parseDateInput(stored).value()) << l.name().toStdString() << ": " << shown;
        }
    }
    for (const QLocale& l : {LocaleScope::english(), LocaleScope::italian()}) {
        LocaleScope pin(l);
        EXPECT_EQ(dateForInput(Value("2010-02-01 00:00:00")), "01/02/2010");
    }
    EXPECT_EQ(dateForInput(Value("not a date")), "not a date");
    EXPECT_EQ(dateForInput(Value::Null()), "");
}

// The number of a total line, from its first digit to its last, as the grid reads it.
std::optional<double> totalNumber(const std::string& line) {
    const std::size_t first = line.find_first_of("0123456789"), last = line.find_last_of("0123456789");
    if (first == std::string::npos) return std::nullopt;
    return readCellNumber(line.substr(first, last - first + 1), locale::numberMarks());
}

TEST(MoneyCells, CellsAndTotalInBothLocales) {
    struct Case {
        QLocale locale;
        bool english;
        std::vector<std::string> cells;   // 100, 250.5, 1000, -20, -0.001
        std::string total;                // of 100 + 250.5 + 1000
    };
    const std::vector<Case> cases = {
        {LocaleScope::english(), true, {"100.00 €", "250.50 €", "1,000.00 €", "-20.00 €", "0.00 €"},
         "Total amount of displayed cheques: €1,350.50"},
        {LocaleScope::italian(), false, {"100,00 €", "250,50 €", "1.000,00 €", "-20,00 €", "0,00 €"},
         "Importo complessivo degli assegni visualizzati: 1.350,50 €"},
    };
    for (const auto& c : cases) {
        LocaleScope pin(c.locale);
        env::setEnglish(c.english);
        EXPECT_EQ((std::vector<std::string>{moneyCell(100), moneyCell(250.5), moneyCell(1000), moneyCell(-20),
                                            moneyCell(-0.001)}),
                  c.cells);
        EXPECT_EQ(totalLine(100 + 250.5 + 1000), c.total);
    }
    env::setEnglish(true);
}

TEST(MoneyCells, TheEnglishTotalIsInEurosInTheLocalesFormat) {
    struct Case {
        QLocale locale;
        const char* total;      // of 1350.5
        const char* negative;   // of -1234567.891
        const char* zero;       // of 0.30 - 0.10 - 0.20, a little below zero
    };
    const std::vector<Case> cases = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "€1,350.50", "-€1,234,567.89", "€0.00"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "€1,350.50", "-€1,234,567.89", "€0.00"},   // never bracketed
        {LocaleScope::italian(), "1.350,50\u00a0€", "-1.234.567,89\u00a0€", "0,00\u00a0€"},   // a no-break space
        {QLocale::c(), "1,350.50€", "-1,234,567.89€", "0.00€"},   // grouped, as its cells are
        {QLocale(QLocale::English, QLocale::India), "€1,350.50", "-€12,34,567.89", "€0.00"},   // its own grouping
        // The cells' ASCII digits, with the locale's own marks (U+066B, U+066C) and signs.
        {QLocale(QLocale::Arabic, QLocale::SaudiArabia), "1\u066c350\u066b50\u00a0€",
         "\u061c-1\u066c234\u066c567\u066b89\u00a0€", "0\u066b00\u00a0€"},
        {QLocale(QLocale::Persian, QLocale::Iran), "\u200e€\u00a01\u066c350\u066b50",
         "\u200e\u2212\u200e€\u00a01\u066c234\u066c567\u066b89", "\u200e€\u00a00\u066b00"},
        {QLocale(QLocale::Bangla, QLocale::Bangladesh), "1,350.50€", "-12,34,567.89€", "0.00€"},
    };
    env::setEnglish(true);
    const std::string head = "Total amount of displayed cheques: ";
    // Where the invisible direction marks (U+200E, U+200F) stand differs between Qt's versions.
    const auto seen = [](std::string t) {
        for (const char* mark : {"\u200e", "\u200f"})
            for (std::size_t at; (at = t.find(mark)) != std::string::npos;) t.erase(at, 3);
        return t;
    };
    for (const auto& c : cases) {
        LocaleScope pin(c.locale);
        EXPECT_EQ(seen(totalLine(1350.5)), seen(head + c.total)) << c.locale.name().toStdString();
        EXPECT_EQ(seen(totalLine(-1234567.891)), seen(head + c.negative)) << c.locale.name().toStdString();
        EXPECT_EQ(seen(totalLine(0.30 - 0.10 - 0.20)), seen(head + c.zero)) << c.locale.name().toStdString();
        EXPECT_EQ(totalNumber(totalLine(-1234567.891)), 1234567.89) << c.locale.name().toStdString();
    }
}

// Every locale Qt knows writes ASCII digits in groups of three with its own
// marks, and the grid reads each cell back to its cents, so amounts sort by
// value; its total is in ASCII digits as well.
TEST(MoneyCells, EveryLocaleWritesGroupsOfThreeThatReadBackToTheCents) {
    std::mt19937_64 random(21);
    std::vector<long long> cents = {0, 1, -1, 99, 100000, 99999999, 123456789, -100000000000};
    while (cents.size() < 10000) {
        long long scale = 1;
        for (auto digits = random() % 16; digits > 0; --digits) scale *= 10;   // up to 13 whole digits
        const auto c = static_cast<long long>(random() % static_cast<unsigned long long>(scale));
        cents.push_back(random() % 2 ? -c : c);
    }
    std::sort(cents.begin(), cents.end());
    // The cell as the pattern writes it, from the whole cents.
    auto expected = [](long long c, const std::string& decimal, const std::string& group) {
        const std::string digits = std::to_string(c < 0 ? -c : c);
        const std::string whole = digits.size() > 2 ? digits.substr(0, digits.size() - 2) : "0";
        std::string text = c < 0 ? "-" : "";
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0) text += group;
            text += whole[i];
        }
        return text + decimal + ("00" + digits).substr(digits.size()) + " €";
    };
    std::set<QString> seen;   // locales that write numbers alike behave alike: one of each
    for (const QLocale& l : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (!seen.insert(l.toString(-1234567.891, 'f', 2) + l.toString(1234.5, 'f', 2)).second) continue;
        LocaleScope pin(l);
        const std::string decimal = QString(l.decimalPoint()).toStdString(), group = QString(l.groupSeparator()).toStdString();
        const MoneyFormat format;
        const NumberMarks marks = locale::numberMarks();
        double previous = -HUGE_VAL;
        for (long long c : cents) {
            const std::string cell = format.cell(static_cast<double>(c) / 100);
            ASSERT_EQ(cell, expected(c, decimal, group)) << l.name().toStdString();
            const auto back = readCellNumber(cell, marks);
            ASSERT_EQ(back, static_cast<double>(c) / 100) << l.name().toStdString() << " " << cell;
            ASSERT_LE(previous, *back) << l.name().toStdString() << " " << cell;
            previous = *back;
        }
        // Its total too, in the locale's currency format.
        const std::string total = locale::formatCurrency(-12345678.9, "€");
        for (char32_t c : QString::fromStdString(total).toStdU32String())
            ASSERT_TRUE(!QChar::isDigit(c) || (c >= '0' && c <= '9')) << l.name().toStdString() << " " << total;
        ASSERT_EQ(totalNumber(total), 12345678.9) << l.name().toStdString() << " " << total;
    }
}

}  // namespace
