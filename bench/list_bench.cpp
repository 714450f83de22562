// The list family on a large register: FillGrid against the raw query it runs
// (stepped through SQLite, every column read as text), and the one-row
// refreshes (UpdateGridRow, AddGridRow) at 10,000 and 100,000 rows.
#include <sqlite3.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/database.h"
#include "core/globals.h"
#include "lists/listwindow.h"
#include "platform/environment.h"
#include "platform/msgbox_component.h"

using namespace qv;
using Clock = std::chrono::steady_clock;

namespace {

const char* kQuery =
    "SELECT  a.ANAGRAFICAID, a.TIPOLOGIAID, b.Tipologia, a.cogNome as CognomeRagioneSociale, a.Nome ,  "
    "a.Indirizzo, a.CAP, a.Comune, a.Provincia, a.TelefonoCasa, a.TelefonoUfficio,  "
    "a.Fax, a.Cellulare, a.CFIva, a.Email, a.SitoWeb, a.NoteAnagrafica, a.DateTimeCreated as DataCreazione,  "
    "a.DateTimeLastUpdated as DataUltimaModifica "
    "FROM Anagrafica a, TipologiaPersone b "
    "WHERE a.TIPOLOGIAID = b.TIPOLOGIAID ";

// A contacts-shaped list: 19 columns, two hidden keys.
struct BenchList : ListWindow {
    BenchList() : ListWindow(descriptor()) {}
    static ListDescriptor descriptor() {
        ListDescriptor s;
        s.formName = "frmBench";
        s.table = "Anagrafica";
        s.keyColumn = "ANAGRAFICAID";
        s.baseQuery = kQuery;
        s.filter = &gFilterContacts;
        return s;
    }
    std::string rowQuery(std::int64_t key) const override {
        return std::string(kQuery) + "AND ANAGRAFICAID = " + std::to_string(key) + " ";
    }
    void showEditor() override {}
    void showFilter() override {}
    void releaseInstance() override {}
};

double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void fill(const std::string& path, int rows) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::ifstream in(std::string(QV_DATA_DIR) + "/schema.sql");
    std::stringstream schema;
    schema << in.rdbuf();
    sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "insert into TipologiaPersone (Tipologia) values ('Clienti')", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Anagrafica (TIPOLOGIAID, Nome, Cognome, Indirizzo, CAP, Comune, Provincia, "
                       "TelefonoCasa, TelefonoUfficio, Fax, Cellulare, CFIva, Email, SitoWeb, NoteAnagrafica, "
                       "DateTimeCreated) values (1, ?1, ?2, 'Via Roma 12', '00184', 'Roma', 'RM', '06 1234567', "
                       "'06 7654321', null, '333 1234567', 'RSSMRA80A01H501U', ?3, 'www.example.it', ?4, "
                       "'2010-11-25 14:05:09')",
                       -1, &st, nullptr);
    for (int i = 0; i < rows; ++i) {
        const std::string n = "Nome" + std::to_string(i), c = "Cognome" + std::to_string(rows - i);
        const std::string mail = "persona" + std::to_string(i) + "@example.it";
        const std::string note = i % 7 ? "" : "Cliente abituale dal 2004, pagamenti regolari";
        sqlite3_bind_text(st, 1, n.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, c.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, mail.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, note.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double rawQuery() {
    const auto t0 = Clock::now();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(gSqlLiteDb()->handle(), kQuery, -1, &st, nullptr);
    std::size_t bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const auto* t = sqlite3_column_text(st, i);
            if (t) bytes += std::string(reinterpret_cast<const char*>(t)).size();
        }
    sqlite3_finalize(st);
    const auto t1 = Clock::now();
    if (bytes == 0) std::puts("(no data)");
    return ms(t0, t1);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    msgbox::setFactory([] { return std::make_unique<ScriptedMessageBox>(); });
    for (int n : {1000, 10000, 100000}) {
        namespace fs = std::filesystem;
        const fs::path dir = fs::temp_directory_path() / ("quorvel-bench-" + std::to_string(n));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fill((dir / "brindle3.db3").string(), n);
        env::setProgramFolder(dir.string());
        resetDatabase();
        gDbType = "SqlLite";
        OpenDb();

        BenchList list;
        rawQuery();   // warm the page cache
        double raw = 1e9, filled = 1e9;
        for (int rep = 0; rep < 3; ++rep) {
            raw = std::min(raw, rawQuery());
            const auto t0 = Clock::now();
            list.FillGrid();
            filled = std::min(filled, ms(t0, Clock::now()));
        }
        list.MSFlexGrid1.setRow(n / 2);
        list.mKey = n / 2;
        const auto u0 = Clock::now();
        for (int i = 0; i < 100; ++i) list.UpdateGridRow();
        const double update = ms(u0, Clock::now()) / 100;
        const auto a0 = Clock::now();
        for (int i = 0; i < 100; ++i) list.AddGridRow();
        const double addRow = ms(a0, Clock::now()) / 100;
        std::printf("rows %6d: raw query %.1f ms, FillGrid %.1f ms (%.2fx), UpdateGridRow %.3f ms, AddGridRow %.3f ms\n",
                    n, raw, filled, filled / raw, update, addRow);
        resetDatabase();
        fs::remove_all(dir);
    }
    return 0;
}
