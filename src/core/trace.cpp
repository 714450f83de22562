#include "core/trace.h"

#include <fstream>

#include "core/database.h"
#include "core/msgbox.h"
#include "platform/environment.h"

namespace qv {

std::string gCurrentProc;
std::string gLogStatus;

namespace {
bool logFailureReported = false;
bool writingLog = false;
}  // namespace

std::string programFile(const std::string& fileName) {
    std::string folder = env::programFolder();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + fileName;
}

void traceProc(const std::string& owner, const std::string& proc) {
    gCurrentProc.assign(owner).append("::").append(proc);
    if (gLogStatus == "ON") addToLog(gCurrentProc);
}

void resetLogFailure() { logFailureReported = false; }

void addToLog(const std::string& text) {
    if (gLogStatus != "ON" || writingLog) return;
    writingLog = true;
    const DateTime now = env::now();
    std::ofstream out(programFile(kLogFileName), std::ios::app | std::ios::binary);
    bool ok = false;
    if (out) {
        out << "[" << env::shortDate(now) << " - " << env::longTime(now) << "] " << text << "\r\n";
        out.close();
        ok = !out.fail();
    }
    writingLog = false;
    // A failing write is reported once per run: the report is traced itself,
    // and would otherwise try the log again and again.
    if (!ok && !logFailureReported) {
        logFailureReported = true;
        reportRuntimeError(Owner::module("basGeneralCustom"), "addToLog", RuntimeError(kErrPathFileAccess));
    }
}

std::string standardErrorText(const Owner& owner, const std::string& proc, const RuntimeError& e) {
    return "Error " + std::to_string(e.Number()) + " (" + e.Description() + ") in procedure " + proc +
           (owner.isForm ? " of Form " : " of Modulo ") + owner.name;
}

void reportRuntimeError(const Owner& owner, const std::string& proc, const RuntimeError& e) {
    if (e.told()) return;
    if (const auto plain = dbFailureText(e)) {
        MyMsgBox(*plain, 48, "Quorvel");
        return;
    }
    // SQLite quotes the text it stopped at, which may be a whole line of
    // megabytes: the box shows a readable start of it, the log keeps it all.
    const std::string& description = e.Description();
    if (description.size() <= kShownDescription) {
        MyMsgBox(standardErrorText(owner, proc, e), 48, "Quorvel");
        return;
    }
    addToLog(standardErrorText(owner, proc, e));
    std::size_t cut = kShownDescription;
    while (cut > 0 && (static_cast<unsigned char>(description[cut]) & 0xC0) == 0x80) --cut;   // whole characters
    const RuntimeError shown(e.Number(), description.substr(0, cut) + "...", e.sqliteCode());
    MyMsgBox(standardErrorText(owner, proc, shown), 48, "Quorvel");
}

void reportFailure(const std::string& message) { MyMsgBox(message, 48, "Quorvel"); }

}  // namespace qv
