#include "core/database.h"

#include <iterator>
#include <memory>

#include "core/globals.h"
#include "core/msgbox.h"
#include "core/trace.h"
#include "core/translation.h"
#include "platform/databaselock.h"

namespace qv {

std::string gDbName;
std::string gDbPath;

namespace {
const Owner kGeneral = Owner::module("basGeneral");
const Owner kCustom = Owner::module("basGeneralCustom");

std::unique_ptr<SQLiteComponent> connection;
std::unique_ptr<DatabaseLock> lock;
bool openFailed = false;
bool readOnlyDb = false;
std::function<void()> openFailureAction;

std::unique_ptr<Recordset>& sharedRs() {
    static std::unique_ptr<Recordset> rs;
    return rs;
}

// Quotes doubled without a trace of its own (Pad would log itself).
std::string doubledQuotes(const std::string& text) {
    std::string out;
    for (char c : text) out += (c == '\'') ? std::string("''") : std::string(1, c);
    return out;
}

// The tables that come with the program's database file ("settings" is the
// program's own and is made at the first start).
constexpr const char* kShippedTables[] = {"TipologiaPersone", "Anagrafica",      "MieiContiCorrenti", "AssegniEmessi",
                                          "AssegniRicevuti",  "Girate",          "Versamenti",        "reportistica"};

// A file of 0 bytes opens as an empty database, and any other SQLite file
// opens too: neither is the program's, and neither may be written into.
void requireShippedTables(SQLiteComponent& db) {
    std::string names;
    for (const char* t : kShippedTables) names += std::string(names.empty() ? "'" : ", '") + t + "'";
    const auto rs = db.query("select count(*) from sqlite_master where type = 'table' and name collate nocase in (" +
                             names + ")");
    if (rs->valueAt(0).toLong() != static_cast<long>(std::size(kShippedTables)))
        throw RuntimeError(kErrSqlite, "not the program's database");
}

// The open ends: the failed file is let go at once, nothing may read or write it.
void failOpen(const std::string& message) {
    connection = std::make_unique<SQLiteComponent>();
    lock.reset();
    openFailed = true;
    MyMsgBox(message, 16, "Quorvel");
    if (openFailureAction) openFailureAction();
}

// The query into gRs, without trace or report: each caller reports in its own name.
void queryIntoRs(const std::string& sql) {
    resetRs();
    if (!connection || !connection->isOpen()) throw RuntimeError(kErrObjectNotSet);
    sharedRs() = connection->query(sql);
}
}  // namespace

SQLiteComponent* gSqlLiteDb() { return connection.get(); }
bool dbOpenFailed() { return openFailed; }
void setOpenFailureAction(std::function<void()> action) { openFailureAction = std::move(action); }

Recordset& gRs() {
    if (!sharedRs()) sharedRs() = std::make_unique<Recordset>();
    return *sharedRs();
}

void resetRs() { sharedRs().reset(); }

std::string sqlKey(std::int64_t key) { return std::to_string(key); }

void OpenDb() {
    runProc(kGeneral, "OpenDb", [] {
        if (isSqlLite()) OpenSqlLiteDb();
    });
}

void OpenSqlLiteDb() {
    traceProc("basGeneral", "OpenSqlLiteDb");
    if (connection) return;
    bool inUse = false;
    try {
        connection = std::make_unique<SQLiteComponent>();
        gDbName = isEnglish() ? "brindle3.db3" : "quorvel3.db3";
        gDbPath = programFile(gDbName);
        // A second copy on the same file would save over the first's changes
        // unseen: it ends before it reads or writes anything.
        lock = std::make_unique<DatabaseLock>(gDbPath);
        inUse = lock->state() == DatabaseLock::State::InUse;
        if (!inUse) {
            connection->open(gDbPath);
            requireShippedTables(*connection);
        }
    } catch (const RuntimeError&) {
        failOpen("Impossibile connettersi al database");
        return;
    }
    if (inUse) {
        failOpen(kDbInOtherWindowText);
        return;
    }
    // A folder where no lock file can be made is one where SQLite can make no
    // journal either: no change could be saved, so it is said once, now.
    readOnlyDb = connection->readOnly() || lock->state() == DatabaseLock::State::NotPossible;
    if (readOnlyDb) MyMsgBox(kDbReadOnlyText, 48, "Quorvel");
}

bool dbReadOnly() { return readOnlyDb; }

std::optional<std::string> dbFailureText(const RuntimeError& e) {
    using Failure = SQLiteComponent::Failure;
    switch (SQLiteComponent::failureOf(e)) {
        case Failure::ReadOnly: return kDbReadOnlyText;
        case Failure::Busy: return kDbBusyText;
        case Failure::Full: return kDbFullText;
        case Failure::Disk: return kDbDiskText;
        case Failure::PatternTooLong: return kDbPatternText;
        case Failure::Damaged: return kDbDamagedText;
        case Failure::Other: break;
    }
    return std::nullopt;
}

bool readAllOrNothing(const Owner& owner, const std::string& proc, const std::function<void()>& fn) {
    SQLiteComponent* db = connection.get();
    try {
        if (!db || !db->isOpen()) {
            fn();
            return true;
        }
        std::optional<RuntimeError> why;
        if (db->whileReading(fn, &why)) return true;
        if (!why) {   // a read under way already holds the database: fn reads within it
            fn();
            return true;
        }
        reportRuntimeError(owner, proc, *why);
        return false;
    } catch (const RuntimeError& e) {
        // A read of fn's own that failed has been told: nothing of it is shown.
        if (!e.told()) throw;
        return false;
    }
}

void gRsOpen(const std::string& sql) {
    traceProc("basGeneral", "gRsOpen");
    tellThenRaise(kGeneral, "gRsOpen", [&] { queryIntoRs(sql); });
}

bool gDbExecute(const std::string& sql, bool quietIfExists) {
    traceProc("basGeneral", "gDbExecute");
    return guardProc(kGeneral, "gDbExecute", [&] {
        if (!connection || !connection->isOpen()) throw RuntimeError(kErrObjectNotSet);
        try {
            connection->execute(sql);
        } catch (const RuntimeError& e) {
            if (quietIfExists && SQLiteComponent::isAlreadyExists(e)) return false;
            throw;
        }
        return true;
    });
}

void CloseDb() {
    traceProc("basGeneral", "CloseDb");
    ignoreErrors([] {
        if (sharedRs()) sharedRs()->Close();
    });
}

std::string getSetting(const std::string& key) {
    traceProc(kCustom.name, "getSetting");
    return guardReader(kCustom, "getSetting", [&]() -> std::string {
        OpenDb();
        resetRs();
        // The key is quote-doubled: a key with a quote must not break the text.
        gRsOpen("select value from settings where mnemocode='" + doubledQuotes(key) + "'");
        std::string result;
        if (!gRs().isEOF()) result = gRs().Fields("value").value().toText();
        CloseDb();
        return result;
    });
}

namespace {
// Runs a count query into gRs and reads "conteggio"; a failure is told naming
// the check and answered with no value.
Check runCount(const std::string& proc, const std::function<std::string()>& buildSql) {
    const Check found = guardProc(kCustom, proc, [&]() -> Check {
        OpenDb();
        const std::string sql = buildSql();
        queryIntoRs(sql);
        return gRs().Fields("conteggio").value().toDouble() > 0;
    });
    CloseDb();
    return found;
}
}  // namespace

Check esisteRecord(const std::string& table, const std::string& field, const std::string& value,
                   const std::string& kind, const std::string& excludedField, const std::string& excludedValue) {
    traceProc("basGeneralCustom", "esisteRecord");
    return runCount("esisteRecord", [&] {
        std::string sql = "select count(*) as conteggio from " + table + " where " + field;
        if (kind != "N") {
            sql += " = '" + doubledQuotes(value) + "'";
        } else {
            // Unquoted values must be numbers, or they would become SQL.
            if (!parsePlainNumber(value)) throw RuntimeError(kErrTypeMismatch);
            sql += " = " + value;
        }
        if (!excludedField.empty()) {
            if (!parsePlainNumber(excludedValue)) throw RuntimeError(kErrTypeMismatch);
            sql += "  and " + excludedField + " <>" + excludedValue;
        }
        return sql;
    });
}

Check esisteRecordSQL(const std::string& sql) {
    traceProc("basGeneralCustom", "esisteRecordSQL");
    return runCount("esisteRecordSQL", [&] { return sql; });
}

void resetDatabase() {
    resetRs();
    connection.reset();
    lock.reset();
    openFailed = false;
    readOnlyDb = false;
    openFailureAction = nullptr;
    gDbName.clear();
    gDbPath.clear();
}

}  // namespace qv
