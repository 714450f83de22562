#include "platform/environment.h"
#include "platform/locale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QStandardPaths>

namespace qv::env {
namespace {

std::string& folderOverride() {
    static std::string f;
    return f;
}

std::function<DateTime()>& clockOverride() {
    static std::function<DateTime()> c;
    return c;
}

bool& englishFlag() {
    static bool e = true;
    return e;
}

BrowserLauncher& launcherOverride() {
    static BrowserLauncher l;
    return l;
}

}  // namespace

std::string programFolder() {
    if (!folderOverride().empty()) return folderOverride();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath().toStdString();
    return ".";
}

void setProgramFolder(std::string folder) { folderOverride() = std::move(folder); }

DateTime now() {
    if (clockOverride()) return clockOverride()();
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(), t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

void setClock(std::function<DateTime()> clock) { clockOverride() = std::move(clock); }

bool english() { return englishFlag(); }
void setEnglish(bool english) { englishFlag() = english; }

LaunchResult launchBrowser(const std::string& address) {
    if (launcherOverride()) return launcherOverride()(address);
    // The desktop's own opener stands for "the program associated with HTML".
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return LaunchResult::NoBrowser;
    return QProcess::startDetached(opener, {QString::fromStdString(address)}) ? LaunchResult::Started
                                                                               : LaunchResult::Failed;
}

void setBrowserLauncher(BrowserLauncher launcher) { launcherOverride() = std::move(launcher); }

std::string shortDate(const DateTime& d) {
    return locale::formatShortDate(d);
}

std::string longTime(const DateTime& d) {
    return QTime(d.hour, d.minute, d.second).toString(QStringLiteral("HH:mm:ss")).toStdString();
}

}  // namespace qv::env
