#include "core/sqlhelpers.h"

#include <cstdio>

#include "core/translation.h"
#include "platform/procedure.h"

namespace qv {

namespace {

const Owner kGeneral = Owner::module("basGeneral");
const Owner kGeneralCustom = Owner::module("basGeneralCustom");
const Owner kDbDialect = Owner::module("basDbDialect");

std::string replaceNoCase(std::string text, const std::string& find, const std::string& replacement) {
    if (find.empty()) return text;
    std::size_t hit = findNoCase(text, find);
    while (hit != std::string::npos) {
        text.replace(hit, find.size(), replacement);
        hit = findNoCase(text, find, hit + replacement.size());
    }
    return text;
}

// Characters, not bytes: a code typed with an accented letter is five
// characters long and fails on the character, not on the length.
std::size_t characterCount(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char ch : s)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

std::string StringReplace(const std::string& source, const std::string& find,
                          const std::string& replacement) {
    return runProc(kGeneral, "StringReplace", [&] { return replaceNoCase(source, find, replacement); });
}

std::string Pad(const std::string& text) {
    return runProc(kGeneral, "Pad", [&] { return StringReplace(text, "'", "''"); });
}

std::string PutTicksIn(std::string& list) {
    return runProc(kGeneral, "PutTicksIn", [&] {
        list = StringReplace(list, ",", ", ");
        list = StringReplace(list, "  ", " ");
        list = StringReplace(list, ", ", "', '");
        list = "'" + list + "'";
        return list;
    });
}

std::string Punto(const std::string& value) {
    return runProc(kGeneralCustom, "Punto", [&] {
        std::string out = value;
        for (char& ch : out)
            if (ch == ',') ch = '.';
        return out;
    });
}

std::string FormattaData(const DateTime& d) {
    return runProc(kDbDialect, "FormattaData", [&] {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                      d.minute, d.second);
        return std::string(buf);
    });
}

std::string concatSql(const std::string& a, const std::string& b, const std::string& c) {
    return runProc(kDbDialect, "concatSql", [&] {
        return " (ifnull(" + a + ",'') || ifnull(" + b + ",'') || ifnull(" + c + ",'')) ";
    });
}

std::string BooleanToString(const Value& v) {
    return runProc(kDbDialect, "BooleanToString", [&]() -> std::string {
        const bool on = v.toLong() != 0;
        if (isEnglish()) return on ? "True" : "False";
        return on ? "Vero" : "Falso";
    });
}

std::string flagWord(const Value& v) {
    if (v.isNull() || trim(v.str()).empty()) {
        // Same trace as the word of a filled cell, but an empty cell is no error.
        traceProc(kDbDialect.name, "BooleanToString");
        return "";
    }
    return BooleanToString(v);
}

std::string wrapbooleanchk(int v) {
    return runProc(kGeneralCustom, "wrapbooleanchk", [&]() -> std::string { return v == 1 ? "True" : "False"; });
}

std::string checkABICAB(const std::string& code, const std::string& label) {
    return runProc(kGeneralCustom, "checkABICAB", [&]() -> std::string {
        if (isEnglish()) return "";
        if (characterCount(code) != 5) return "Lunghezza del codice " + label + " non valida";
        for (unsigned char ch : code)
            if (ch < '0' || ch > '9') return "Il codice " + label + " contiene caratteri non validi";
        return "";
    });
}

bool isBooleanField(const std::string& fieldName) {
    return runProc(kGeneral, "isBooleanField", [&] {
        return fieldName == "SuPiazza" || fieldName == "GirataPiena" || fieldName == "Trasferibile" ||
               fieldName == "Sbarrato";
    });
}

}  // namespace qv
