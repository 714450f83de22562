// Windows shown for real on a display: modal windows run their own event
// loop, and the tests type into them with key events as a user would.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "fixture.h"

namespace qvtest {

class RealWindows : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startMain();
        box().clear();
        // Every modal window is shown and runs its loop; `script` drives it
        // from inside once it is the active window.
        qv::forms::setModalRunner([this](qv::Form& f) {
            auto* dialog = static_cast<QDialog*>(f.widget());
            QTimer::singleShot(0, dialog, [this, &f, dialog] {
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog)) << f.Name();
                if (script) script(f);
                if (f.Loaded()) f.Unload();
            });
            dialog->exec();
        });
    }

    std::function<void(qv::Form&)> script;

    static QWidget* focused() { return QApplication::focusWidget(); }
    static std::string focusedName() {
        QWidget* w = focused();
        return w ? w->objectName().toStdString() : std::string("<none>");
    }
    static void type(const char* text) { QTest::keyClicks(focused(), text); }
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), key, mods);
    }
    // A button's access key clicks it a moment later, as a press would.
    static bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
        for (int waited = 0; !done() && waited < ms; waited += 10) QTest::qWait(10);
        return done();
    }
};

}  // namespace qvtest
