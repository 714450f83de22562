#include "platform/environment.h"
#include "platform/locale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

namespace {
// An XDG search path: the variable's folders, or the default when it is unset.
QStringList xdgDirs(const char* variable, const QString& fallback) {
    QString value = qEnvironmentVariable(variable);
    if (value.isEmpty()) value = fallback;
    return value.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString home() { return QDir::homePath(); }

QStringList configDirs() {
    return xdgDirs("XDG_CONFIG_HOME", home() + QStringLiteral("/.config")) +
           xdgDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
}

QStringList applicationDirs() {
    QStringList dirs;
    for (const QString& d : xdgDirs("XDG_DATA_HOME", home() + QStringLiteral("/.local/share")) +
                                xdgDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        dirs << d + QStringLiteral("/applications");
    return dirs;
}

// The value of key in [group] of a desktop-entry style file.
QString entryValue(const QString& path, const QString& group, const QString& key) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    bool inGroup = false;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
        } else if (inGroup) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && line.left(eq).trimmed() == key) return line.mid(eq + 1).trimmed();
        }
    }
    return {};
}

const QStringList kWebTypes = {QStringLiteral("x-scheme-handler/https"), QStringLiteral("x-scheme-handler/http"),
                               QStringLiteral("text/html")};

// The desktop entries listed for type in [group] of a MIME-apps file, in order.
QStringList listed(const QString& path, const QString& group, const QString& type) {
    QStringList ids;
    for (const QString& id : entryValue(path, group, type).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        ids << id.trimmed();
    return ids;
}

// The file of an installed desktop entry: the first one found in the
// applications folders, unless that one hides it.
QString installedEntry(const QString& id) {
    if (!id.endsWith(QStringLiteral(".desktop")) || id.contains(QLatin1Char('/'))) return {};
    for (const QString& dir : applicationDirs()) {
        const QString path = dir + QLatin1Char('/') + id;
        if (!QFileInfo(path).isFile()) continue;
        if (entryValue(path, QStringLiteral("Desktop Entry"), QStringLiteral("Hidden")) == QStringLiteral("true"))
            return {};
        return path;
    }
    return {};
}

// The desktop file of the default handler of web pages, looked up as the
// desktop does: per type, the MIME-apps lists (the current desktop's first in
// each folder), the legacy defaults.list, the added associations, then the
// installed programs' mimeinfo.cache, less the associations a list removes.
QString browserEntry() {
    QStringList desktops;
    for (const QString& name : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops << name.toLower();
    QStringList mimeLists;
    for (const QString& dir : configDirs() + applicationDirs()) {
        for (const QString& name : desktops) mimeLists << dir + QLatin1Char('/') + name + QStringLiteral("-mimeapps.list");
        mimeLists << dir + QStringLiteral("/mimeapps.list");
    }
    QStringList defaultLists = mimeLists, caches;
    for (const QString& dir : applicationDirs()) {
        defaultLists << dir + QStringLiteral("/defaults.list");
        caches << dir + QStringLiteral("/mimeinfo.cache");
    }
    const auto first = [](const QStringList& files, const QString& group, const QString& type,
                          const QStringList& removed) -> QString {
        for (const QString& file : files)
            for (const QString& id : listed(file, group, type))
                if (const QString path = removed.contains(id) ? QString() : installedEntry(id); !path.isEmpty())
                    return path;
        return {};
    };
    for (const QString& type : kWebTypes) {
        QString path = first(defaultLists, QStringLiteral("Default Applications"), type, {});
        // A list's removals hide what less important lists add and the cache.
        QStringList removed;
        for (const QString& list : mimeLists) {
            removed << listed(list, QStringLiteral("Removed Associations"), type);
            if (path.isEmpty()) path = first({list}, QStringLiteral("Added Associations"), type, removed);
        }
        if (path.isEmpty()) path = first(caches, QStringLiteral("MIME Cache"), type, removed);
        if (!path.isEmpty()) return path;
    }
    return {};
}

// An Exec line split as the desktop-entry format says, the address in place
// of its field code (or last when it has none), other field codes dropped.
QStringList execArguments(const QString& exec, const QString& address) {
    QStringList args;
    QString cur;
    bool quoted = false, any = false, placed = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) cur += exec[++i];
            else if (c == QLatin1Char('"')) quoted = false;
            else cur += c;
        } else if (c == QLatin1Char('"')) {
            quoted = any = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (any) args << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any) args << cur;
    QStringList out;
    for (const QString& a : args) {
        QString t;
        bool drop = false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (a[i] != QLatin1Char('%') || i + 1 >= a.size()) {
                t += a[i];
                continue;
            }
            const QChar code = a[++i];
            if (code == QLatin1Char('%')) {
                t += code;
            } else if (QStringLiteral("uUfF").contains(code)) {
                if (!placed) t += address;
                placed = true;
                if (a.size() == 2) drop = t.isEmpty();
            } else if (a.size() == 2) {
                drop = true;   // %i, %c, %k and the deprecated codes
            }
        }
        if (!drop) out << t;
    }
    if (!placed) out << address;
    return out;
}
}  // namespace

std::optional<BrowserCommand> defaultBrowserCommand(const std::string& address) {
    const QString entry = browserEntry();
    if (entry.isEmpty()) return std::nullopt;
    const QStringList args =
        execArguments(entryValue(entry, QStringLiteral("Desktop Entry"), QStringLiteral("Exec")),
                      QString::fromStdString(address));
    if (args.size() < 2) return std::nullopt;
    // A handler whose program is not on this machine handles nothing.
    const QString program = QStandardPaths::findExecutable(args.front());
    if (program.isEmpty()) return std::nullopt;
    BrowserCommand command{program.toStdString(), {}};
    for (qsizetype i = 1; i < args.size(); ++i) command.arguments.push_back(args[i].toStdString());
    return command;
}

LaunchResult launchBrowser(const std::string& address) {
    if (launcherOverride()) return launcherOverride()(address);
    const auto command = defaultBrowserCommand(address);
    if (!command) return LaunchResult::NoBrowser;
    QStringList args;
    for (const std::string& a : command->arguments) args << QString::fromStdString(a);
    // The program itself with the address as an argument: no shell sees it.
    return QProcess::startDetached(QString::fromStdString(command->program), args) ? LaunchResult::Started
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
