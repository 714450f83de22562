#include "platform/msgbox_component.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

namespace qv {
namespace {

// The input box as the program shows it, answered from the event loop.
std::string answerInputBox(const std::function<void(QInputDialog&, QLineEdit&)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto* edit = dialog->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        seen = true;
        act(*dialog, *edit);
    });
    const std::string answer = QtMessageBox().input("Parameter", "Quorvel");
    EXPECT_TRUE(seen);
    return answer;
}

TEST(InputBox, APastedTextIsKeptWhole) {
    const QString text(100000, QLatin1Char('7'));
    struct Case {
        const char* name;
        std::function<void(QLineEdit&)> enter;
        bool accept;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {"pasted", [&](QLineEdit& e) { QApplication::clipboard()->setText(text); e.paste(); }, true, 100000},
        {"inserted", [&](QLineEdit& e) { e.insert(text); }, true, 100000},
        {"cancelled", [&](QLineEdit& e) { e.insert(text); }, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string answer = answerInputBox([&](QInputDialog& d, QLineEdit& e) {
            c.enter(e);
            c.accept ? d.accept() : d.reject();
        });
        EXPECT_EQ(answer.size(), c.length);
        EXPECT_EQ(answer.find_first_not_of('7'), std::string::npos);
    }
}

}  // namespace
}  // namespace qv
