// Small stateless helpers that build SQL text and the words shown for database
// values. Each traced one reports its own run-time errors with the standard
// error text and returns its empty default.
#pragma once

#include <string>

#include "platform/environment.h"
#include "platform/runtime.h"

namespace qv {

// Replaces every occurrence of `find` (letter case ignored); inserted text is
// never searched again. `find` must not be empty. (basGeneral)
std::string StringReplace(const std::string& source, const std::string& find,
                          const std::string& replacement);

// Every single quote doubled. (basGeneral)
std::string Pad(const std::string& text);

// A typed comma-separated list as the items of an IN clause, each between single
// quotes; the argument is left holding the result, which is also returned.
// (basGeneral)
std::string PutTicksIn(std::string& list);

// Every comma turned into a point. (basGeneralCustom)
std::string Punto(const std::string& value);

// "YYYY-MM-DD HH:MM:SS". (basDbDialect)
std::string FormattaData(const DateTime& d);

// " (ifnull(a,'') || ifnull(b,'') || ifnull(c,'')) ". (basDbDialect)
std::string concatSql(const std::string& a, const std::string& b, const std::string& c);

// A flag read as a whole number: "True"/"False" in English, "Vero"/"Falso" in
// Italian. A value that is not a number shows the standard error text and
// gives "". (basDbDialect)
std::string BooleanToString(const Value& v);

// The flag word for a grid cell: a Null or empty cell gives "" with no message;
// anything else as BooleanToString.
std::string flagWord(const Value& v);

// "True" for a check-box value of 1, else "False". (basGeneralCustom)
std::string wrapbooleanchk(int v);

// The empty text, or the Italian message for a code that is not five digits.
// In English mode nothing is checked. (basGeneralCustom)
std::string checkABICAB(const std::string& code, const std::string& label);

// True for the flag columns SuPiazza, GirataPiena, Trasferibile and Sbarrato
// (exact letter case). (basGeneral)
bool isBooleanField(const std::string& fieldName);

}  // namespace qv
