#include "core/dbupdates.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/database.h"
#include "core/trace.h"

namespace qv {

std::array<std::string, 31> gAggiornamenti;
int gNumAggiornamenti = 0;

namespace {
const Owner kUpdates = Owner::module("basAggiornamentiDatabase");
const Owner kCustom = Owner::module("basGeneralCustom");

bool validUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n;
        if (c < 0x80) n = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2) n = 1;
        else if ((c & 0xF0) == 0xE0) n = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4) n = 3;
        else return false;
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size()) return false;
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n + 1;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 in 0x80..0x9F; the undefined five keep their Latin-1 code.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::string decodeStatementFile(std::string s) {
    if (s.rfind("\xEF\xBB\xBF", 0) == 0) s.erase(0, 3);
    if (validUtf8(s)) return s;
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) out += ch;
        else if (c < 0xA0) appendUtf8(out, kCp1252High[c - 0x80]);
        else appendUtf8(out, c);
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(cur));
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(std::move(cur));
    return lines;
}

void inizializzaAggiornamentiDatabase() {
    runProc(kUpdates, "inizializzaAggiornamentiDatabase", [] {
        gNumAggiornamenti = 0;
        gAggiornamenti[0].clear();
        aggiungiAggiornamentoDatabase("create table settings (mnemocode text primary key, value text)");
        aggiungiAggiornamentoDatabase("insert into settings (mnemocode,value) values ('PRTCSIZE','7')");
        aggiungiAggiornamentoDatabase("insert into settings (mnemocode,value) values ('LOGSTATUS','OFF')");
    });
}

void aggiungiAggiornamentoDatabase(const std::string& statement) {
    runProc(kUpdates, "aggiungiAggiornamentoDatabase", [&] {
        ++gNumAggiornamenti;
        if (gNumAggiornamenti < 0 || gNumAggiornamenti >= static_cast<int>(gAggiornamenti.size()))
            throw RuntimeError(kErrSubscript);
        gAggiornamenti[static_cast<std::size_t>(gNumAggiornamenti)] = statement;
    });
}

void AggiornaDatabase() {
    runProc(kCustom, "AggiornaDatabase", [] {
        if (gNumAggiornamenti != 0) return;
        inizializzaAggiornamentiDatabase();
        OpenDb();
        // A database that can only be read was told of at its open: nothing to replay.
        if (dbReadOnly()) return;
        for (int i = 1; i <= gNumAggiornamenti; ++i) {
            if (i >= static_cast<int>(gAggiornamenti.size())) throw RuntimeError(kErrSubscript);
            // Replayed at every start: "exists already" is the normal answer.
            gDbExecute(gAggiornamenti[static_cast<std::size_t>(i)], true);
        }
        CloseDb();
    });
}

bool esisteFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void AggiornaReportistica() {
    runProc(kCustom, "AggiornaReportistica", [] {
        const std::string path = programFile(kReportFileName);
        if (!esisteFile(path)) return;
        OpenDb();
        if (dbReadOnly()) return;
        std::ifstream in(path, std::ios::binary);
        std::string bytes;
        if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in.is_open() || in.bad()) throw RuntimeError(kErrPathFileAccess);
        // The file stays in place, so its lines run at every start: a line
        // whose row exists already stays silent.
        for (const std::string& line : splitLines(decodeStatementFile(std::move(bytes)))) gDbExecute(line, true);
        // A transaction the file left open would hold back every later save
        // until the program ends, and lose them then.
        if (gSqlLiteDb()->inTransaction()) {
            gDbExecute("ROLLBACK");
            reportFailure(kReportFileUnfinishedText);
        }
        CloseDb();
    });
}

}  // namespace qv
