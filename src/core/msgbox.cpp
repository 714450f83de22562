#include "core/msgbox.h"

#include <memory>

#include "core/translation.h"
#include "core/trace.h"

namespace qv {

namespace {
std::unique_ptr<MessageBoxComponent>& component() {
    static std::unique_ptr<MessageBoxComponent> c;
    return c;
}
}  // namespace

MessageBoxComponent& gMsgBox() {
    if (!component()) component() = msgbox::create();
    if (!component()) throw RuntimeError(429, "ActiveX component can't create object");
    return *component();
}

void resetMsgBox() { component().reset(); }

int MyMsgBox(const std::string& prompt, int buttons, const std::string& title) {
    traceProc("basDbDialect", "MyMsgBox");
    try {
        MessageBoxComponent& box = gMsgBox();
        if (isEnglish()) {
            std::string text = prompt;
            SostituisciMessaggioEng(text);
            return box.show(text, buttons, "Quorvel");
        }
        return box.show(prompt, buttons, title);
    } catch (const RuntimeError& e) {
        // Never back into the failing component: the runtime's own box reports it.
        msgbox::runtimeBox(standardErrorText(Owner::module("basDbDialect"), "MyMsgBox", e), "Quorvel");
        return 0;
    }
}

}  // namespace qv
