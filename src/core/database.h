// The one connection, the one shared result set, statements, and the small
// readers built on them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/procedure.h"
#include "platform/sqlite_component.h"

namespace qv {

extern std::string gDbName;   // "brindle3.db3" (English) or "quorvel3.db3"
extern std::string gDbPath;   // program folder + gDbName

// Opens the database the first time; later calls do nothing.
void OpenDb();
void OpenSqlLiteDb();
// True once an open was tried and failed.
bool dbOpenFailed();
// True when the database opened can only be read: nothing the user changes is saved.
bool dbReadOnly();

inline constexpr const char* kDbInOtherWindowText =
    "The database is already open in another Quorvel window.\nOnly one window at a time may work on it: this one closes.";
inline constexpr const char* kDbReadOnlyText =
    "The database cannot be written: changes will not be saved.";
inline constexpr const char* kDbBusyText =
    "The database is locked by another program: it cannot be read or written now. Try again in a moment.";
inline constexpr const char* kDbFullText =
    "The disk is full: nothing was saved. Make room on the disk and try again.";
inline constexpr const char* kDbDiskText =
    "The database file cannot be read or written on its disk now: nothing was saved. Check the disk and try again.";
inline constexpr const char* kDbDamagedText =
    "The database file is damaged: nothing was changed in it. Close Quorvel and put a backup copy of the database "
    "in its place.";
inline constexpr const char* kDbPatternText =
    "A text to search for is too long: shorten it and try again.";

// The plain words for a failure of the database the user can act on (a file
// that cannot be written, another program's lock, a full disk...); none for
// any other error, which is told with the standard text.
std::optional<std::string> dbFailureText(const RuntimeError& e);
// Runs fn (a window's reads) while no other program can change the database;
// when the database cannot be read now, shows why and answers false, fn not
// run. A read of fn's own that failed (told already) answers false too.
bool readAllOrNothing(const Owner& owner, const std::string& proc, const std::function<void()>& fn);
// What the failed open does after its message (the main window unloads itself).
void setOpenFailureAction(std::function<void()> action);

// The connection (null before OpenDb).
SQLiteComponent* gSqlLiteDb();

// The shared result set: a fresh, closed one when nothing was queried.
Recordset& gRs();
void resetRs();   // "set gRs to nothing"

// Runs a query into gRs. A failure is told, gRs left empty, and the error
// passed up as told: the caller stops, as it could not read the result anyway.
void gRsOpen(const std::string& sql);
// Runs a statement; true when it ran. A failure is told, except, with
// quietIfExists, one that only says the table or row exists.
bool gDbExecute(const std::string& sql, bool quietIfExists = false);
void CloseDb();

std::string getSetting(const std::string& key);

// Whether a count is above 0. No value: the check itself failed (its error
// text was shown), which callers must not take for "no rows".
using Check = std::optional<bool>;
Check esisteRecord(const std::string& table, const std::string& field, const std::string& value,
                   const std::string& kind, const std::string& excludedField = {},
                   const std::string& excludedValue = {});
Check esisteRecordSQL(const std::string& sql);

// A key written into SQL: plain decimal digits.
std::string sqlKey(std::int64_t key);

// Drops the connection and all state (tests, between runs).
void resetDatabase();

}  // namespace qv
