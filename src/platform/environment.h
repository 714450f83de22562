// The program's surroundings, each replaceable by tests: the program folder,
// the clock, the language switch and the browser launcher.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct DateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const DateTime&) const = default;
};

namespace env {

// The folder the program runs from (where the database, the log and
// "nuovireport.sql" live), without a trailing separator unless it is "/".
std::string programFolder();
void setProgramFolder(std::string folder);   // tests; empty restores the default

DateTime now();
void setClock(std::function<DateTime()> clock);   // tests; nullptr restores the system clock

// The language switch answers English in the program; tests may turn it.
bool english();
void setEnglish(bool english);

// The desktop's default handler of web pages, as the program and arguments
// that open address; none when no handler is set or its program is missing.
struct BrowserCommand {
    std::string program;
    std::vector<std::string> arguments;
};
std::optional<BrowserCommand> defaultBrowserCommand(const std::string& address);

// Starts the default browser with the address as an argument, and tells
// whether it started, found no browser or failed to start one.
enum class LaunchResult { Started, NoBrowser, Failed };
using BrowserLauncher = std::function<LaunchResult(const std::string& address)>;
LaunchResult launchBrowser(const std::string& address);
void setBrowserLauncher(BrowserLauncher launcher);   // tests; nullptr restores the desktop's handler

// The system's short date format and time format, as the log writes them.
std::string shortDate(const DateTime& d);
std::string longTime(const DateTime& d);

}  // namespace env
}  // namespace qv
