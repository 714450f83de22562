// The windows are drawn in a proportional face on every machine, including one
// whose only fonts are the ones the set-up installs (the test command runs
// this test a second time with just those fonts visible).
#include <QApplication>
#include <QFontInfo>
#include <QWidget>

#include "core/frmMain.h"
#include "fixture.h"
#include "platform/application.h"

namespace {

class ProgramFont : public qvtest::AppFixture {};

TEST_F(ProgramFont, TheMainWindowIsDrawnInTheProgramsProportionalFace) {
    const QFontInfo app(QApplication::font());
    EXPECT_FALSE(app.fixedPitch()) << app.family().toStdString();
    EXPECT_EQ(app.family().toStdString(), qv::app::kWindowFontFamily);

    startMain();
    QWidget* main = qv::mainWindow().widget();
    ASSERT_NE(main, nullptr);
    int checked = 0;
    for (QWidget* w : main->findChildren<QWidget*>()) {
        const QFontInfo info(w->font());
        EXPECT_FALSE(info.fixedPitch()) << w->objectName().toStdString() << " in "
                                        << info.family().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 9);   // the nine buttons at least
}

}  // namespace
