// Creates the shipped database from its SQL scripts, only when no database is
// there yet: an existing database is never touched.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: qv_makedb DATABASE SCRIPT...\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path target = argv[1];
    if (fs::exists(target)) {
        std::cout << "Database kept: " << target.string() << "\n";
        return 0;
    }
    fs::create_directories(target.parent_path().empty() ? fs::path(".") : target.parent_path());
    const fs::path temp = target.string() + ".new";
    fs::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open(temp.c_str(), &db) != SQLITE_OK) {
        std::cerr << "cannot create " << temp << "\n";
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        char* err = nullptr;
        if (!in || sqlite3_exec(db, text.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::cerr << argv[i] << ": " << (err ? err : "cannot read") << "\n";
            sqlite3_free(err);
            sqlite3_close(db);
            fs::remove(temp);
            return 1;
        }
    }
    sqlite3_close(db);
    // Renamed into place only when complete, so a failed build leaves no half database.
    fs::rename(temp, target);
    std::cout << "Database created: " << target.string() << "\n";
    return 0;
}
