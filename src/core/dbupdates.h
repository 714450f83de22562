// The statements replayed at every start and the optional file of extra
// statements ("nuovireport.sql") executed at every start.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace qv {

// Slots 1 to 30 hold statements; slot 0 is never run.
extern std::array<std::string, 31> gAggiornamenti;
extern int gNumAggiornamenti;

void inizializzaAggiornamentiDatabase();
void aggiungiAggiornamentoDatabase(const std::string& statement);
void AggiornaDatabase();
void AggiornaReportistica();
bool esisteFile(const std::string& path);

inline constexpr const char* kReportFileName = "nuovireport.sql";
inline constexpr const char* kReportFileUnfinishedText =
    "The file nuovireport.sql began a transaction and did not end it: its unfinished statements were not kept.";

// The text of the file as UTF-8: valid UTF-8 stays, anything else is read as
// Windows-1252; a leading byte-order mark is dropped.
std::string decodeStatementFile(std::string bytes);
// Lines end at LF, CR or CRLF; a final line end gives no extra empty line.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace qv
