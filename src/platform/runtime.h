// Run-time errors and the variant value the windows read from result sets.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/numbers.h"

namespace qv {

// Error numbers as the rest of the program names them.
enum ErrNo : long {
    kErrSubscript = 9,          // subscript out of range
    kErrTypeMismatch = 13,      // type mismatch
    kErrFileNotFound = 53,
    kErrPathFileAccess = 75,
    kErrObjectNotSet = 91,
    kErrNotSupported = 438,     // object doesn't support this property or method
    kErrNoCurrentRow = 3021,
    kErrObjectClosed = 3704,
    kErrSqlite = 3146,          // any failure reported by SQLite, with its own message
};

std::string errorDescription(long number);

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long number, std::string description, int sqliteCode = 0);
    explicit RuntimeError(long number);

    long Number() const { return number_; }
    const std::string& Description() const { return description_; }
    // SQLite's extended result code when the error came from the engine, else 0.
    int sqliteCode() const { return sqliteCode_; }
    // Whether the user has been shown this error already: it is passed up
    // only so that the callers stop, and no one tells it again.
    bool told() const { return told_; }
    RuntimeError asTold() const {
        RuntimeError e = *this;
        e.told_ = true;
        return e;
    }

private:
    long number_;
    std::string description_;
    int sqliteCode_;
    bool told_ = false;
};

// A field value: SQL NULL or a text form. Every value the windows show goes
// through its text form.
class Value {
public:
    Value() = default;
    Value(std::string text) : text_(std::move(text)) {}
    Value(const char* text) : text_(std::string(text)) {}
    static Value Null() { return Value(); }

    bool isNull() const { return !text_.has_value(); }
    // The text form; Null gives the empty text (as the grids show it).
    const std::string& str() const;
    // Strict conversions: a Null or a text that is not a number raises 13.
    std::string toText() const;
    double toDouble() const;
    std::int64_t toLong() const;

private:
    std::optional<std::string> text_;
};

std::string trim(const std::string& s);
std::string toUpperAscii(std::string s);
std::string toLowerAscii(std::string s);
// Case-insensitive search; returns npos when absent.
std::size_t findNoCase(const std::string& haystack, const std::string& needle, std::size_t from = 0);
bool equalsNoCase(const std::string& a, const std::string& b);
// Pattern test with '*' for any run of characters, case-sensitive.
bool likePattern(const std::string& text, const std::string& pattern);

}  // namespace qv
