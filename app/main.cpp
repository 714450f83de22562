// Quorvel 3.0: loading the main window starts the program.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "core/frmMain.h"
#include "platform/application.h"

namespace {
bool haveDisplay() {
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    if (qpa && *qpa) return true;
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}
}  // namespace

int main(int argc, char** argv) {
    if (!haveDisplay()) {
        std::fprintf(stderr,
                     "Quorvel needs a graphical display and none was found (DISPLAY is not set).\n"
                     "To try it without a screen, run it under a virtual display: xvfb-run -a scripts/run\n");
        return 1;
    }
    QApplication app(argc, argv);
    qv::app::prepare();
    qv::frmMain& main = qv::mainWindow();
    main.Show();
    // A failed database open has already said so and unloaded the main window.
    const int rc = main.Loaded() ? app.exec() : 1;
    // Windows go before the application object does.
    qv::forms::shutdown();
    qv::releaseMainWindow();
    return rc;
}
