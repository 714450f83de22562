// The issued cheques list on a large register: opening it (FillGrid with money
// cells, flag words and the total line), a filter that keeps about half, and
// the header sorts by amount and by date, each against the raw query it
// stands for (stepped through SQLite, every column read as text), measured
// in the same run. Goal: every step under 2x its raw query.
#include <sqlite3.h>

#include <QApplication>
#include <QLocale>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "core/database.h"
#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "issued/frmSelectAssegniEmessi.h"
#include "platform/environment.h"
#include "platform/msgbox_component.h"

using namespace qv;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCheques = 100000, kAccounts = 100, kPayees = 1000, kReps = 5;

double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double best(const std::function<void()>& prepare, const std::function<void()>& step) {
    double m = 1e18;
    for (int rep = 0; rep < kReps; ++rep) {
        prepare();
        const auto t0 = Clock::now();
        step();
        m = std::min(m, ms(t0, Clock::now()));
    }
    return m;
}

void exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), err ? err : "?");
        std::exit(1);
    }
}

void buildFixture(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::ifstream in(std::string(QV_DATA_DIR) + "/schema.sql");
    std::stringstream schema;
    schema << in.rdbuf();
    exec(db, schema.str());
    exec(db, "BEGIN");
    for (int i = 1; i <= kAccounts; ++i)
        exec(db, "insert into MieiContiCorrenti (Descrizione, Banca) values ('Conto " + std::to_string(i) +
                     "', 'Banca Popolare')");
    for (int i = 1; i <= kPayees; ++i)
        exec(db, "insert into Anagrafica (TIPOLOGIAID, Cognome, Nome) values (1, 'Cognome" + std::to_string(i) + "', " +
                     (i % 10 ? "'Nome" + std::to_string(i) + "'" : std::string("NULL")) + ")");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, "
                       "LuogoEmissione, SuPiazza, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, "
                       "DateTimeCreated, DateTimeLastUpdated) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                       "?12, ?13)",
                       -1, &st, nullptr);
    static const char* towns[] = {"Milano", "Roma", "Torino", "Bergamo", "Reggio nell'Emilia", nullptr};
    for (int i = 0; i < kCheques; ++i) {
        char number[16], date[32], stamp[32];
        std::snprintf(number, sizeof number, "%06d", (i * 13) % 1000000);
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 00:00:00", 5 + (i * 7) % 15, 1 + (i * 5) % 12,
                      1 + (i * 11) % 28);
        std::snprintf(stamp, sizeof stamp, "2021-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                      (i * 7) % 60);
        const std::string reason = "Fattura n. " + std::to_string(i % 997) + " saldo fornitura";
        sqlite3_bind_int(st, 1, 1 + i % kAccounts);
        sqlite3_bind_int(st, 2, 1 + (i * 7) % kPayees);
        sqlite3_bind_text(st, 3, number, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, date, -1, SQLITE_TRANSIENT);
        if (towns[i % 6]) sqlite3_bind_text(st, 5, towns[i % 6], -1, SQLITE_STATIC);
        else sqlite3_bind_null(st, 5);
        // A few flags are Null: empty cells.
        if (i % 97 == 0) {
            sqlite3_bind_null(st, 6);
            sqlite3_bind_null(st, 7);
            sqlite3_bind_null(st, 8);
        } else {
            sqlite3_bind_int(st, 6, i % 3 == 0);
            sqlite3_bind_int(st, 7, i % 2);
            sqlite3_bind_int(st, 8, (i / 2) % 2);
        }
        sqlite3_bind_double(st, 9, ((i * 7919) % 1000000) / 100.0 + (i % 4 == 0 ? 1000 : 0));
        sqlite3_bind_text(st, 10, reason.c_str(), -1, SQLITE_TRANSIENT);
        if (i % 5) sqlite3_bind_null(st, 11);
        else sqlite3_bind_text(st, 11, "Consegnato a mano", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 12, stamp, -1, SQLITE_TRANSIENT);
        if (i % 3) sqlite3_bind_text(st, 13, stamp, -1, SQLITE_TRANSIENT);
        else sqlite3_bind_null(st, 13);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// The query stepped through SQLite with every column read as text.
double rawQuery(const std::string& sql, long* rowsOut = nullptr) {
    const auto t0 = Clock::now();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(gSqlLiteDb()->handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "raw query: %s\n", sqlite3_errmsg(gSqlLiteDb()->handle()));
        std::exit(1);
    }
    std::size_t bytes = 0;
    long rows = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < n; ++i) {
            const auto* t = sqlite3_column_text(st, i);
            if (t) bytes += std::string(reinterpret_cast<const char*>(t)).size();
        }
    }
    sqlite3_finalize(st);
    const double elapsed = ms(t0, Clock::now());
    if (bytes == 0) std::puts("(no data)");
    if (rowsOut) *rowsOut = rows;
    return elapsed;
}

// The list's query texts (the timed list is the window's one instance, which
// its filter window refills).
struct QueryOf : frmAssegniEmessi {
    std::string query() const { return listQuery(); }
    std::string queryOrderedBy(const std::string& column) const {
        std::string q = listQuery();
        return q.substr(0, q.rfind(" order by ")) + " order by " + column + " ";
    }
};

double rawBest(const std::string& sql) {
    double m = 1e18;
    for (int rep = 0; rep < kReps; ++rep) m = std::min(m, rawQuery(sql));
    return m;
}

void line(const char* what, double raw, double ours) {
    std::printf("  %-34s raw %7.1f ms   list %7.1f ms   %.2fx %s\n", what, raw, ours, ours / raw,
                ours < 2 * raw ? "(goal met)" : "(OVER THE 2x GOAL)");
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    auto* box = new ScriptedMessageBox;
    msgbox::setFactory([box] { return std::unique_ptr<MessageBoxComponent>(box); });

    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quorvel-issued-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    buildFixture((dir / "brindle3.db3").string());
    env::setProgramFolder(dir.string());
    resetDatabase();
    gDbType = "SqlLite";
    OpenDb();

    QueryOf& queries = *new QueryOf;
    frmAssegniEmessi& list = Instance<frmAssegniEmessi>::get();
    rawQuery(queries.query());   // warm the page cache
    std::printf("issued cheques: %d rows, %d accounts, %d payees\n", kCheques, kAccounts, kPayees);

    // 1. Open the list.
    gFilterIssued.clear();
    long listed = 0;
    rawQuery(queries.query(), &listed);
    const double rawOpen = rawBest(queries.query());
    const double open = best([] {}, [&] { list.FillGrid(); });
    line("open (FillGrid, total line)", rawOpen, open);
    std::printf("    rows %ld, total line: %s\n", static_cast<long>(list.MSFlexGrid1.Rows() - 1),
                list.lblTotaleImporti.Caption().c_str());

    {   // Where the time goes: the same fill with every cell as its plain text.
        struct Plain : frmAssegniEmessi {
            bool formatsField(const std::string&) const override { return false; }
        };
        auto* plain = new Plain;
        const double plainFill = best([] {}, [&] { plain->FillGrid(); });
        std::printf("    (the same fill without money and flag cells: %.1f ms)\n", plainFill);
    }

    // 2. The filter window's OK with Negotiable ticked: about half the cheques.
    const std::string half = "a.Trasferibile =True ";
    gFilterIssued = half;
    const double rawFilter = rawBest(queries.query());
    long kept = 0;
    rawQuery(queries.query(), &kept);
    double filter = 1e18;
    forms::setModalRunner([&](Form& f) {
        auto& s = dynamic_cast<frmSelectAssegniEmessi&>(f);
        s.chkTrasferibile.setValue(1);
        const auto t0 = Clock::now();
        s.cmdOK.click();
        filter = std::min(filter, ms(t0, Clock::now()));
    });
    for (int rep = 0; rep < kReps; ++rep) {
        gFilterIssued.clear();
        Instance<frmSelectAssegniEmessi>::get().ShowModal();
        forms::flushReleased();
    }
    if (gFilterIssued != half) std::printf("    unexpected filter: [%s]\n", gFilterIssued.c_str());
    line("filter OK (Negotiable ticked)", rawFilter, filter);
    std::printf("    rows kept %ld of %ld (raw query: %ld)\n", static_cast<long>(list.MSFlexGrid1.Rows() - 1), listed,
                kept);

    // 3. Header clicks on the whole list: amount, then date (each from a fresh fill, ascending).
    gFilterIssued.clear();
    auto sortBy = [&](int col) {
        return best(
            [&] {
                // The list in key order, the next click ascending.
                if (list.sortDescendingNext()) list.MSFlexGrid1.pressCell(0, col);
                list.FillGrid();
            },
            [&] { list.MSFlexGrid1.pressCell(0, col); });
    };
    const double rawAmount = rawBest(queries.queryOrderedBy("a.Importo"));
    const double amount = sortBy(11);
    line("sort by amount (header click)", rawAmount, amount);
    const double rawDate = rawBest(queries.queryOrderedBy("a.DataAssegno"));
    const double date = sortBy(6);
    line("sort by date (header click)", rawDate, date);

    std::printf("message boxes shown: %zu\n", box->calls.size());
    for (const auto& c : box->calls) std::printf("    %s\n", c.prompt.c_str());
    forms::setModalRunner(nullptr);
    resetDatabase();
    fs::remove_all(dir);
    std::fflush(stdout);
    std::_Exit(0);   // the windows and the connection die with the process
}
