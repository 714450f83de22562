#include "platform/sqlite_component.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

namespace qv {

namespace {
constexpr long kErrItemNotFound = 3265;

bool onlyBlanksOrComments(const char* tail) {
    const std::string t = tail ? tail : "";
    std::size_t i = 0;
    while (i < t.size()) {
        const unsigned char c = static_cast<unsigned char>(t[i]);
        if (std::isspace(c) || c == ';') {
            ++i;
        } else if (t.compare(i, 2, "--") == 0) {
            while (i < t.size() && t[i] != '\n') ++i;
        } else if (t.compare(i, 2, "/*") == 0) {
            const auto e = t.find("*/", i + 2);
            if (e == std::string::npos) return true;   // an unclosed comment is ignored by SQLite too
            i = e + 2;
        } else {
            return false;
        }
    }
    return true;
}
}  // namespace

SQLiteComponent::~SQLiteComponent() {
    if (db_) sqlite3_close_v2(db_);
}

void SQLiteComponent::fail() {
    throw RuntimeError(kErrSqlite, sqlite3_errmsg(db_), sqlite3_extended_errcode(db_));
}

void SQLiteComponent::open(const std::string& path) {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    sqlite3* db = nullptr;
    // An existing file only: a missing database must not be created empty.
    // One thread uses the connection, so SQLite need not lock on every call.
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : "unable to open database file";
        if (db) sqlite3_close_v2(db);
        throw RuntimeError(kErrSqlite, msg, rc);
    }
    // The file must really be a database we can read.
    char* err = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "file is not a database";
        sqlite3_free(err);
        sqlite3_close_v2(db);
        throw RuntimeError(kErrSqlite, msg);
    }
    sqlite3_busy_timeout(db, 2000);
    db_ = db;
}

sqlite3_stmt* SQLiteComponent::prepareOne(const std::string& sql) {
    if (!db_) throw RuntimeError(kErrObjectNotSet);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail) != SQLITE_OK) fail();
    if (!onlyBlanksOrComments(tail)) {
        sqlite3_finalize(stmt);
        throw RuntimeError(kErrSqlite, "only one statement may be run at a time", SQLITE_MISUSE);
    }
    return stmt;
}

void SQLiteComponent::execute(const std::string& sql) {
    sqlite3_stmt* stmt = prepareOne(sql);
    if (!stmt) return;   // an empty statement does nothing
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) fail();
}

std::unique_ptr<Recordset> SQLiteComponent::query(const std::string& sql) {
    sqlite3_stmt* stmt = prepareOne(sql);
    if (!stmt) throw RuntimeError(kErrSqlite, "empty query", SQLITE_MISUSE);
    auto rs = std::make_unique<Recordset>();
    rs->attach(stmt);   // a failing first step raises from here
    return rs;
}

void SQLiteComponent::checkReadOnlyQuery(const std::string& sql) {
    sqlite3_stmt* stmt = prepareOne(sql);
    if (!stmt) throw RuntimeError(kErrSqlite, "empty query", SQLITE_MISUSE);
    const bool reads = sqlite3_stmt_readonly(stmt) && sqlite3_column_count(stmt) > 0;
    sqlite3_finalize(stmt);
    if (!reads) throw RuntimeError(kErrSqlite, "only a query that reads may be run here", SQLITE_AUTH);
}

bool SQLiteComponent::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

bool SQLiteComponent::readOnly() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }

bool SQLiteComponent::whileReading(const std::function<void()>& fn, std::optional<RuntimeError>* why) {
    if (!db_ || !sqlite3_get_autocommit(db_)) return false;
    // The first read takes the shared lock (and rolls back a journal left by a crash).
    if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (why) why->emplace(kErrSqlite, sqlite3_errmsg(db_), sqlite3_extended_errcode(db_));
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    struct End {
        sqlite3* db;
        ~End() {
            if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    } end{db_};
    fn();
    return true;
}

bool SQLiteComponent::isAlreadyExists(const RuntimeError& e) {
    if (e.Number() != kErrSqlite) return false;
    const int code = e.sqliteCode();
    if (code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE) return true;
    return (code & 0xff) == SQLITE_ERROR && e.Description().find("already exists") != std::string::npos;
}

SQLiteComponent::Failure SQLiteComponent::failureOf(const RuntimeError& e) {
    if (e.Number() != kErrSqlite) return Failure::Other;
    switch (e.sqliteCode() & 0xff) {
        case SQLITE_READONLY: return Failure::ReadOnly;
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return Failure::Busy;
        case SQLITE_FULL: return Failure::Full;
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN: return Failure::Disk;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB: return Failure::Damaged;
        case SQLITE_ERROR:
            // The engine has no code of its own for it, only its message.
            if (e.Description() == "LIKE or GLOB pattern too complex") return Failure::PatternTooLong;
            return Failure::Other;
        default: return Failure::Other;
    }
}

// ---------------------------------------------------------------- Recordset

Recordset::~Recordset() { Close(); }

void Recordset::attach(sqlite3_stmt* stmt) {
    stmt_ = stmt;
    const int n = sqlite3_column_count(stmt);
    names_.clear();
    names_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const char* name = sqlite3_column_name(stmt, i);
        names_.emplace_back(name ? name : "");
    }
    step();
}

void Recordset::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        eof_ = false;
    } else {
        eof_ = true;
        if (rc != SQLITE_DONE) {
            sqlite3* db = sqlite3_db_handle(stmt_);
            const std::string msg = sqlite3_errmsg(db);
            const int code = sqlite3_extended_errcode(db);
            Close();
            throw RuntimeError(kErrSqlite, msg, code);
        }
    }
}

void Recordset::requireOpen() const {
    if (!stmt_) throw RuntimeError(kErrObjectClosed);
}

bool Recordset::isEOF() const {
    requireOpen();
    return eof_;
}

void Recordset::MoveNext() {
    requireOpen();
    if (eof_) throw RuntimeError(kErrNoCurrentRow);
    step();
}

void Recordset::MoveFirst() {
    requireOpen();
    sqlite3_reset(stmt_);
    step();
}

int Recordset::FieldCount() const {
    requireOpen();
    return static_cast<int>(names_.size());
}

FieldRef Recordset::Fields(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(names_.size())) throw RuntimeError(kErrSubscript);
    return FieldRef(*this, index);
}

FieldRef Recordset::Fields(const std::string& name) const {
    requireOpen();
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (equalsNoCase(names_[i], name)) return FieldRef(*this, static_cast<int>(i));
    throw RuntimeError(kErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

Value Recordset::valueAt(int index) const {
    requireOpen();
    if (eof_) throw RuntimeError(kErrNoCurrentRow);
    if (sqlite3_column_type(stmt_, index) == SQLITE_NULL) return Value::Null();
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    const int n = sqlite3_column_bytes(stmt_, index);
    return Value(std::string(t ? t : "", static_cast<std::size_t>(n)));
}

void Recordset::rowTexts(std::vector<std::string_view>& out) const {
    requireOpen();
    if (eof_) throw RuntimeError(kErrNoCurrentRow);
    out.resize(names_.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int c = static_cast<int>(i);
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
        out[i] = t ? std::string_view(t, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, c))) : std::string_view();
    }
}

void Recordset::Close() {
    if (stmt_) sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    eof_ = true;
}

const std::string& FieldRef::Name() const { return rs_.names_[static_cast<std::size_t>(index_)]; }
Value FieldRef::value() const { return rs_.valueAt(index_); }

}  // namespace qv
