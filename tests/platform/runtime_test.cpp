// Strict number reading and pattern matching used across the program.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime.h"

using namespace qv;

TEST(RuntimeTest, WholeAndPlainNumbers) {
    struct Case {
        std::string text;
        std::optional<std::int64_t> whole;
        std::optional<double> plain;
    };
    const std::vector<Case> cases = {
        {"7", 7, 7.0},          {"-12", -12, -12.0},     {"+3", 3, 3.0},
        {"7.5", std::nullopt, 7.5}, {"", std::nullopt, std::nullopt}, {"abc", std::nullopt, std::nullopt},
        {" 7", std::nullopt, std::nullopt}, {"1,5", std::nullopt, std::nullopt}, {"1e3", std::nullopt, 1000.0},
        {"9223372036854775807", 9223372036854775807LL, 9223372036854775807.0},
        {"99999999999999999999", std::nullopt, 1e20}, {"-", std::nullopt, std::nullopt}, {".5", std::nullopt, 0.5},
        // Stored values have a decimal point whatever the process locale.
        {"250.50", std::nullopt, 250.5}, {"-0.25", std::nullopt, -0.25}, {"12.", std::nullopt, 12.0},
        {"1.5E-2", std::nullopt, 0.015}, {"1e400", std::nullopt, HUGE_VAL}, {"-1e400", std::nullopt, -HUGE_VAL},
        {"1e-400", std::nullopt, 0.0}, {"0.5e400", std::nullopt, HUGE_VAL}, {"-0.001e-400", std::nullopt, -0.0},
        // Exponents past any integer type.
        {"99e9223372036854775807", std::nullopt, HUGE_VAL}, {"1e-99999999999999999999", std::nullopt, 0.0},
        {"-1e+99999999999999999999", std::nullopt, -HUGE_VAL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseWholeNumber(c.text), c.whole) << c.text;
        EXPECT_EQ(parsePlainNumber(c.text), c.plain) << c.text;
    }
    try {
        requireWholeNumber("7.5");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 13);
        EXPECT_EQ(e.Description(), "Type mismatch");
    }
}

TEST(RuntimeTest, PatternsAndCaseInsensitiveSearch) {
    struct Case {
        std::string text, pattern;
        bool match;
    };
    const std::vector<Case> cases = {
        {"Expr1000", "Expr100*", true}, {"expr1000", "Expr100*", false}, {"TIPOLOGIAID", "*ID", true},
        {"Tipologiaid", "*ID", false},  {"Data Assegno", "Data*", true},  {"Cheque Date", "Data*", false},
        {"ID", "*ID", true},            {"", "*", true},                 {"abc", "a*c*", true},
    };
    for (const auto& c : cases) EXPECT_EQ(likePattern(c.text, c.pattern), c.match) << c.text << " ~ " << c.pattern;
    EXPECT_EQ(findNoCase("select a from t where b", " WHERE "), 15u);
    EXPECT_EQ(findNoCase("select a from twhere", " WHERE "), std::string::npos);
    EXPECT_TRUE(equalsNoCase("Cognome", "COGNOME"));
}
