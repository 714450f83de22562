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
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog, kPatience)) << f.Name();
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
    // Keys go where the user's would: to the focused control. Right after a
    // modal window closes no control has the focus until the window beneath
    // is active again, so the keys wait for one; none at all fails the test.
    static QWidget* keyTarget() {
        QWidget* w = nullptr;
        if (!QTest::qWaitFor([&w] { return (w = focused()) != nullptr; }, kPatience))
            ADD_FAILURE() << "no control has the keyboard focus";
        return w;
    }
    static void type(const char* text) {
        if (QWidget* w = keyTarget()) QTest::keyClicks(w, text);
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        if (QWidget* w = keyTarget()) QTest::keyClick(w, key, mods);
    }
    // A button's access key clicks it a moment later, as a press would.
    static bool waitUntil(const std::function<bool()>& done, int ms = kPatience) {
        return QTest::qWaitFor(done, ms);
    }
    // How long a step may take on a busy machine before the test gives up.
    static constexpr int kPatience = 10000;
};

}  // namespace qvtest
