// Built into a copy of the program beside its own main(): once the program's
// start has run and its event loop turns, tells whether that start set up the
// application as the windows need (its name, its window font) and ends the
// run. The test programs make that set-up themselves, so only a run of the
// program's own main() shows that it is made there.
#include <QApplication>
#include <QFont>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/frmMain.h"
#include "fixture.h"
#include "platform/application.h"
#include "platform/environment.h"
#include "platform/msgbox_component.h"

namespace {

std::string folder;
qv::ScriptedMessageBox* box = nullptr;

void removeFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

void check() {
    const QString name = QApplication::applicationName();
    const QString family = QApplication::font().families().value(0);
    const bool started = qv::mainWindow().Loaded() && (!box || box->messages().empty());
    std::printf("application name: %s\nwindow font: %s\nmain window loaded, no message: %s\n", qPrintable(name),
                qPrintable(family), started ? "yes" : "no");
    if (box)
        for (const auto& call : box->calls) std::printf("message: %s\n", call.prompt.c_str());
    std::fflush(stdout);
    const bool ok = name == QLatin1String("Quorvel") && family == QLatin1String(qv::app::kWindowFontFamily) && started;
    QCoreApplication::exit(ok ? 0 : 1);
}

// Runs inside the application object's constructor, before main() goes on.
void hook() {
    // A program folder of its own with a fresh database; messages recorded, never shown.
    std::string tmpl = (std::filesystem::temp_directory_path() / "quorvel-start-XXXXXX").string();
    folder = mkdtemp(tmpl.data());
    std::atexit(removeFolder);
    qvtest::buildShippedDatabase(folder + "/brindle3.db3");
    qv::env::setProgramFolder(folder);
    qv::msgbox::setFactory([] {
        auto b = std::make_unique<qv::ScriptedMessageBox>();
        box = b.get();
        return b;
    });
    qv::msgbox::setRuntimeBoxSink([](const std::string& text) { std::printf("runtime box: %s\n", text.c_str()); });
    QTimer::singleShot(0, qApp, check);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(hook)
