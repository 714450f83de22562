#include "platform/msgbox_component.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <limits>

namespace qv {

namespace {
QWidget* activeParent() { return qApp ? QApplication::activeWindow() : nullptr; }
}  // namespace

int QtMessageBox::show(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(activeParent());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    switch (buttons & 0x70) {
        case 16: box.setIcon(QMessageBox::Critical); break;
        case 32: box.setIcon(QMessageBox::Question); break;
        case 48: box.setIcon(QMessageBox::Warning); break;
        case 64: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon);
    }
    if ((buttons & 0x0F) == 4) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kAnswerOK;
}

std::string QtMessageBox::input(const std::string& prompt, const std::string& title) {
    QInputDialog dialog(activeParent());
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    // A line edit keeps 32,767 characters and cuts a longer paste without a word.
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(std::numeric_limits<int>::max());
    return dialog.exec() == QDialog::Accepted ? dialog.textValue().toStdString() : std::string();
}

int ScriptedMessageBox::show(const std::string& prompt, int buttons, const std::string& title) {
    calls.push_back({false, prompt, buttons, title});
    if (onCall) onCall(calls.back());
    if (!answers_.empty()) {
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    return (buttons & 0x0F) == 4 ? kAnswerNo : kAnswerOK;
}

std::string ScriptedMessageBox::input(const std::string& prompt, const std::string& title) {
    calls.push_back({true, prompt, 0, title});
    if (onCall) onCall(calls.back());
    if (inputs_.empty()) return {};
    std::string t = std::move(inputs_.front());
    inputs_.pop_front();
    return t;
}

std::vector<ScriptedMessageBox::Call> ScriptedMessageBox::messages() const {
    std::vector<Call> out;
    for (const auto& c : calls)
        if (!c.isInput) out.push_back(c);
    return out;
}

namespace msgbox {
namespace {
Factory& factory() {
    static Factory f;
    return f;
}
std::function<void(const std::string&)>& sink() {
    static std::function<void(const std::string&)> s;
    return s;
}
}  // namespace

void setFactory(Factory f) { factory() = std::move(f); }

std::unique_ptr<MessageBoxComponent> create() {
    if (factory()) return factory()();
    return std::make_unique<QtMessageBox>();
}

void runtimeBox(const std::string& prompt, const std::string& title) {
    if (sink()) {
        sink()(prompt);
        return;
    }
    QMessageBox::warning(activeParent(), QString::fromStdString(title), QString::fromStdString(prompt));
}

void setRuntimeBoxSink(std::function<void(const std::string&)> s) { sink() = std::move(s); }
}  // namespace msgbox

}  // namespace qv
