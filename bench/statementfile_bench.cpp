// "nuovireport.sql" with one very long line at start-up: time and peak memory
// of AggiornaReportistica for lines of 8, 16 and 32 MB (each line's cost must
// grow linearly with its length), and the length of the box it shows.
#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/database.h"
#include "core/dbupdates.h"
#include "core/globals.h"
#include "platform/environment.h"
#include "platform/msgbox_component.h"

using namespace qv;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ScriptedMessageBox* box = nullptr;
    msgbox::setFactory([&] {
        auto b = std::make_unique<ScriptedMessageBox>();
        box = b.get();
        return b;
    });
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quorvel-bench-statementfile";
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        sqlite3* db = nullptr;
        sqlite3_open((dir / "brindle3.db3").string().c_str(), &db);
        std::ifstream in(std::string(QV_DATA_DIR) + "/schema.sql");
        std::stringstream schema;
        schema << in.rdbuf();
        sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    env::setProgramFolder(dir.string());
    gDbType = "SqlLite";
    OpenDb();
    std::printf("%-28s %8s %10s %8s\n", "line", "seconds", "peak MB", "box");
    for (const char* kind : {"unterminated quote", "long values list"})
        for (std::size_t mb : {8u, 16u, 32u}) {
            std::string line;
            if (std::string(kind) == "unterminated quote") {
                line = "insert into reportistica (titolo) values ('" + std::string(mb << 20, 'x');
            } else {
                line = "insert into nosuchtable values (";
                while (line.size() < (mb << 20)) line += "1,";
                line += "1)";
            }
            std::ofstream(dir / "nuovireport.sql", std::ios::binary) << line << "\r\n";
            line.clear();
            line.shrink_to_fit();
            if (box) box->calls.clear();
            const auto t0 = Clock::now();
            AggiornaReportistica();
            const double s = std::chrono::duration<double>(Clock::now() - t0).count();
            rusage u{};
            getrusage(RUSAGE_SELF, &u);
            const std::size_t shown = box && !box->calls.empty() ? box->calls.back().prompt.size() : 0;
            std::printf("%-18s %6zu MB %8.2f %10.0f %8zu\n", kind, mb, s, u.ru_maxrss / 1024.0, shown);
        }
    fs::remove_all(dir);
    return 0;
}
