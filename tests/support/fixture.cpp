#include "fixture.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/database.h"
#include "core/dbupdates.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "core/msgbox.h"
#include "core/trace.h"
#include "lists/filterwindow.h"
#include "platform/webbrowser.h"

namespace qvtest {

namespace {
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Db {
    sqlite3* h = nullptr;
    explicit Db(const std::string& path) {
        if (sqlite3_open(path.c_str(), &h) != SQLITE_OK) throw std::runtime_error("open " + path);
    }
    ~Db() { sqlite3_close(h); }
};
}  // namespace

void buildShippedDatabase(const std::string& path) {
    Db db(path);
    for (const char* script : {"/schema.sql", "/reports.sql"}) {
        char* err = nullptr;
        const std::string sql = readFile(std::string(QV_DATA_DIR) + script);
        if (sqlite3_exec(db.h, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            const std::string msg = err ? err : "?";
            sqlite3_free(err);
            throw std::runtime_error(std::string(script) + ": " + msg);
        }
    }
}

void AppFixture::SetUp() {
    locale_ = QLocale();
    namespace fs = std::filesystem;
    std::string tmpl = (fs::temp_directory_path() / "quorvel-test-XXXXXX").string();
    folder_ = mkdtemp(tmpl.data());
    buildShippedDatabase(dbPath());
    qv::env::setProgramFolder(folder_);
    qv::env::setEnglish(true);
    qv::env::setClock([this] { return clock; });
    qv::msgbox::setFactory([this] {
        auto b = std::make_unique<qv::ScriptedMessageBox>();
        box_ = b.get();
        return b;
    });
    qv::msgbox::setRuntimeBoxSink([this](const std::string& text) {
        if (box_) box_->calls.push_back({false, "[runtime] " + text, 0, "Quorvel"});
    });
    qv::gMsgBox();   // create it now, so box() is there from the start
    qv::webbrowser::setPreviewHandler([this](const std::string& html) { printed.push_back(html); });
    qv::forms::setModalRunner([this](qv::Form& f) {
        modalShown.push_back(f.Name());
        if (scripts_.empty()) return;
        auto script = std::move(scripts_.front());
        scripts_.pop_front();
        script(f);
    });
}

void AppFixture::TearDown() {
    qv::forms::shutdown();
    qv::releaseMainWindow();
    qv::webbrowser::setPreviewHandler(nullptr);
    for (std::string* f : {&qv::gFilterContacts, &qv::gFilterTypes, &qv::gFilterAccounts, &qv::gFilterIssued,
                           &qv::gFilterReceived})
        f->clear();
    for (qv::SavedFilter* f : {&qv::gSavedFilterTypes, &qv::gSavedFilterContacts, &qv::gSavedFilterAccounts,
                               &qv::gSavedFilterIssued, &qv::gSavedFilterReceived})
        f->clear();
    qv::forms::setModalRunner(nullptr);
    qv::resetDatabase();
    qv::resetMsgBox();
    qv::msgbox::setFactory(nullptr);
    qv::msgbox::setRuntimeBoxSink(nullptr);
    qv::env::setClock(nullptr);
    qv::env::setProgramFolder({});
    qv::env::setEnglish(true);
    qv::gLogStatus.clear();
    qv::resetLogFailure();
    qv::gNumAggiornamenti = 0;
    QLocale::setDefault(locale_);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void AppFixture::openDb() {
    qv::gDbType = "SqlLite";
    qv::OpenDb();
}

void AppFixture::startMain() { qv::mainWindow().Show(); }

void AppFixture::recordStatements() {
    auto* conn = qv::gSqlLiteDb();
    ASSERT_TRUE(conn && conn->handle());
    statements.clear();
    sqlite3_trace_v2(
        conn->handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* ctx, void* stmt, void*) -> int {
            // The text as the program wrote it: nothing is bound into it.
            const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
            static_cast<std::vector<std::string>*>(ctx)->emplace_back(sql ? sql : "");
            return 0;
        },
        &statements);
}

void AppFixture::exec(const std::string& sql) {
    Db db(dbPath());
    char* err = nullptr;
    if (sqlite3_exec(db.h, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(sql + ": " + msg);
    }
}

void AppFixture::damageTablePage(const std::string& table) {
    const long long pageSize = count("PRAGMA page_size");
    long long page = 0;
    try {
        // The table's leaves in key order; the middle one.
        const auto leaves = rows("SELECT pageno FROM dbstat WHERE name = '" + table +
                                 "' AND pagetype = 'leaf' ORDER BY path");
        if (leaves.size() >= 3) page = std::stoll(leaves[leaves.size() / 2][0]);
    } catch (const std::runtime_error&) {
        // No dbstat in this SQLite: a page in the middle of the file.
    }
    const std::string before = fileBytes();
    if (page == 0) page = static_cast<long long>(before.size()) / pageSize / 2 + 1;
    std::fstream f(dbPath(), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp((page - 1) * pageSize);
    f << std::string(static_cast<std::size_t>(pageSize), '\xEE');
    // A new change counter, so that no connection trusts its cached pages.
    f.seekp(24);
    const char counter[4] = {before[24], before[25], before[26], static_cast<char>(before[27] + 1)};
    f.write(counter, 4);
    if (!f) throw std::runtime_error("cannot damage " + dbPath());
}

std::string AppFixture::fileBytes() const { return readFile(dbPath()); }

std::vector<std::vector<std::string>> AppFixture::rows(const std::string& sql) {
    Db db(dbPath());
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.h, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db.h));
    std::vector<std::vector<std::string>> out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const auto* t = sqlite3_column_text(st, i);
            row.emplace_back(t ? reinterpret_cast<const char*>(t) : "<null>");
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    return out;
}

std::optional<std::string> AppFixture::scalar(const std::string& sql) {
    auto r = rows(sql);
    if (r.empty() || r[0].empty() || r[0][0] == "<null>") return std::nullopt;
    return r[0][0];
}

long long AppFixture::count(const std::string& sql) { return std::stoll(scalar(sql).value_or("0")); }

std::vector<std::string> AppFixture::prompts() const {
    std::vector<std::string> out;
    if (!box_) return out;
    for (const auto& c : box_->messages()) out.push_back(c.prompt);
    return out;
}

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    pclose(pipe);
    return out;
}

std::vector<std::string> gridColumn(const qv::FlexGrid& grid, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < grid.Rows(); ++r) out.push_back(grid.TextMatrix(r, col));
    return out;
}

}  // namespace qvtest
