// The SQLite component: one connection, statements and queries whose rows are
// read one by one through a result set shaped as the windows use it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qv {

class Recordset;

class SQLiteComponent {
public:
    SQLiteComponent() = default;
    ~SQLiteComponent();
    SQLiteComponent(const SQLiteComponent&) = delete;
    SQLiteComponent& operator=(const SQLiteComponent&) = delete;

    // Opens an existing database file; a missing or unreadable file raises.
    void open(const std::string& path);
    bool isOpen() const { return db_ != nullptr; }
    // True when the file opened can only be read (SQLite opens a file it may
    // not write for reading only).
    bool readOnly() const;
    // Runs one statement; raises with SQLite's message when it fails. Text
    // after the first statement is refused, so one call is one statement.
    void execute(const std::string& sql);
    // Runs one query; the result set stands on its first row.
    std::unique_ptr<Recordset> query(const std::string& sql);
    // Raises unless the text is one single statement that returns rows and
    // does not write; it is only compiled, never run.
    void checkReadOnlyQuery(const std::string& sql);

    sqlite3* handle() const { return db_; }

    // True while a transaction begun by a statement is open: until it ends,
    // nothing the connection writes reaches the file.
    bool inTransaction() const;

    // Runs fn while this connection holds a read lock on the database file,
    // so that no other connection can change the file meanwhile. False, with
    // fn not run, when the lock cannot be had; why, when given, then tells
    // SQLite's reason (none when a transaction was open already).
    bool whileReading(const std::function<void()>& fn, std::optional<RuntimeError>* why = nullptr);

    // True when a failure means only that the table or row exists already.
    static bool isAlreadyExists(const RuntimeError& e);
    // What a failure means for the user, where it means more than a faulty statement.
    enum class Failure {
        Other,
        ReadOnly,         // the file or its folder cannot be written
        Busy,             // another program holds the database locked
        Full,             // no room left on the disk
        Disk,             // the file cannot be reached, read or written on its disk
        PatternTooLong,   // a LIKE pattern over the engine's limit
        Damaged,          // the file's pages are not a sound database
    };
    static Failure failureOf(const RuntimeError& e);

private:
    sqlite3_stmt* prepareOne(const std::string& sql);
    [[noreturn]] void fail();
    sqlite3* db_ = nullptr;
};

// One field of the current row: its name and value.
class FieldRef {
public:
    FieldRef(const Recordset& rs, int index) : rs_(rs), index_(index) {}
    const std::string& Name() const;
    Value value() const;
private:
    const Recordset& rs_;
    int index_;
};

class Recordset {
public:
    Recordset() = default;   // a fresh, closed result set
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool isOpen() const { return stmt_ != nullptr; }
    bool isEOF() const;          // raises 3704 when closed
    void MoveNext();             // raises 3021 at the end
    void MoveFirst();
    int FieldCount() const;
    FieldRef Fields(int index) const;                 // raises 9 out of range
    FieldRef Fields(const std::string& name) const;   // name ignores case; first match wins; else 3265
    Value valueAt(int index) const;                   // raises 3021 at the end
    // The current row's texts, one per field (Null reads as empty), read in
    // place: valid until the result set moves or closes. Raises 3021 at the end.
    void rowTexts(std::vector<std::string_view>& out) const;
    void Close();

private:
    friend class SQLiteComponent;
    friend class FieldRef;
    void attach(sqlite3_stmt* stmt);
    void step();
    void requireOpen() const;
    sqlite3_stmt* stmt_ = nullptr;
    bool eof_ = true;
    std::vector<std::string> names_;
};

}  // namespace qv
