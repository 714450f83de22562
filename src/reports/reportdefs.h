// Stored reports: the definitions loaded from the report table, the kinds of
// parameter a report asks, and the substitution of the answers into its query.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/runtime.h"

namespace qv {

// One row of the report table, in the order of its button.
struct ReportDefinition {
    std::string sqlreport;    // the query after its first word SELECT
    std::string titolo;
    Value numparametri;       // kept as read: a Null or a word fails the run, not the load
    std::string tipopar1, tipopar2;
    std::string promptpar1, promptpar2;
};

// The loaded reports; every row of the table, whatever their number.
extern std::vector<ReportDefinition> gArrayReport;
// The highest button index of the chooser.
extern int gMaxReportIndex;
// The row of the report being shown.
extern int gReportIndex;

// One placeholder of a query and the text that takes its place.
struct Placeholder {
    std::string name;
    std::string value;
};

// Every placeholder replaced at each of its occurrences, letter case counting,
// in one pass over the query: text put in is never searched again.
std::string substitutePlaceholders(const std::string& query, const std::vector<Placeholder>& values);

// Calendar additions: the day is kept, or becomes the last of a shorter month.
DateTime addMonths(const DateTime& d, int months);

enum class ParamKind { Month, Date, TwoDates, Text, Number, None };
// The kind of a stored parameter type; a type none of the five asks nothing.
ParamKind paramKind(const std::string& tipo);

// The placeholders an answer fills for parameter 1 or 2 of a kind, or nothing
// when the answer does not read as that kind wants. Not for TwoDates/None.
std::optional<std::vector<Placeholder>> answerPlaceholders(ParamKind kind, int param, const std::string& answer);
// The two dates of a period: "[P1]" the start, "[P1ARR]" the end.
std::optional<std::vector<Placeholder>> periodPlaceholders(const std::string& start, const std::string& end);
// A date answer, read as typed dates are read everywhere.
std::optional<DateTime> readDateAnswer(const std::string& answer);
// A month answer "MM/YYYY": its first day.
std::optional<DateTime> readMonthAnswer(const std::string& answer);

// The message that refuses an answer of a kind, for parameter 1 or 2.
std::string invalidAnswerMessage(ParamKind kind, int param);

// A stored prompt in English (the four known prompt texts, in order).
std::string translatePrompt(const std::string& prompt);

}  // namespace qv
