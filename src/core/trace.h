// The procedure trace, its log file and the standard error text.
#pragma once

#include <string>

#include "platform/procedure.h"

namespace qv {

extern std::string gCurrentProc;   // owner "::" procedure of the last traced procedure
extern std::string gLogStatus;     // LOGSTATUS as read; exactly "ON" writes the log

inline constexpr const char* kLogFileName = "quorvel3.log";

// Appends one line to the log when the log is on.
void addToLog(const std::string& text);
// Forgets that a failing log write was reported (a new run, for tests).
void resetLogFailure();

// The program folder text followed by the file name.
std::string programFile(const std::string& fileName);

}  // namespace qv
