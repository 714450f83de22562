#include "platform/runtime.h"

#include <cctype>
#include <cmath>

namespace qv {

std::string errorDescription(long number) {
    switch (number) {
        case kErrSubscript: return "Subscript out of range";
        case kErrTypeMismatch: return "Type mismatch";
        case kErrFileNotFound: return "File not found";
        case kErrPathFileAccess: return "Path/File access error";
        case kErrObjectNotSet: return "Object variable or With block variable not set";
        case kErrNotSupported: return "Object doesn't support this property or method";
        case kErrNoCurrentRow:
            return "Either BOF or EOF is True, or the current record has been deleted. "
                   "Requested operation requires a current record.";
        case kErrObjectClosed: return "Operation is not allowed when the object is closed.";
        default: return "Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(long number, std::string description, int sqliteCode)
    : std::runtime_error(description), number_(number), description_(std::move(description)),
      sqliteCode_(sqliteCode) {}

RuntimeError::RuntimeError(long number) : RuntimeError(number, errorDescription(number)) {}

const std::string& Value::str() const {
    static const std::string empty;
    return text_ ? *text_ : empty;
}

std::string Value::toText() const {
    if (!text_) throw RuntimeError(kErrTypeMismatch);
    return *text_;
}

double Value::toDouble() const { return requirePlainNumber(trim(toText())); }

std::int64_t Value::toLong() const {
    const std::string t = trim(toText());
    if (auto w = parseWholeNumber(t)) return *w;
    const double d = requirePlainNumber(t);
    if (!(std::fabs(d) < 9.2e18)) throw RuntimeError(kErrTypeMismatch);
    return static_cast<std::int64_t>(std::llround(d));
}

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string toUpperAscii(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string toLowerAscii(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::size_t findNoCase(const std::string& haystack, const std::string& needle, std::size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : std::string::npos;
    if (needle.size() > haystack.size()) return std::string::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() &&
               std::tolower(static_cast<unsigned char>(haystack[i + k])) ==
                   std::tolower(static_cast<unsigned char>(needle[k])))
            ++k;
        if (k == needle.size()) return i;
    }
    return std::string::npos;
}

bool equalsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && findNoCase(a, b) == 0;
}

bool likePattern(const std::string& text, const std::string& pattern) {
    // Greedy matcher with backtracking on the last '*'.
    std::size_t t = 0, p = 0, star = std::string::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p, ++t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace qv
