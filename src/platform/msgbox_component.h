// The message-box component: a modal message with buttons, and a one-line
// input box. Production uses Qt dialogs; tests use the scripted fake.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

// Buttons values: 4 Yes/No, 16 critical, 48 exclamation, 64 information.
// Answers: 1 OK, 6 Yes, 7 No (closing a Yes/No box counts as No).
enum MsgAnswer { kAnswerOK = 1, kAnswerYes = 6, kAnswerNo = 7 };

class MessageBoxComponent {
public:
    virtual ~MessageBoxComponent() = default;
    virtual int show(const std::string& prompt, int buttons, const std::string& title) = 0;
    // The typed text, or "" when the box is cancelled.
    virtual std::string input(const std::string& prompt, const std::string& title) = 0;
};

class QtMessageBox : public MessageBoxComponent {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override;
    std::string input(const std::string& prompt, const std::string& title) override;
};

// Records every call and plays queued answers; with nothing queued a message
// answers OK (or No for a question) and an input box answers "" (cancelled).
class ScriptedMessageBox : public MessageBoxComponent {
public:
    struct Call {
        bool isInput = false;
        std::string prompt;
        int buttons = 0;
        std::string title;
    };
    int show(const std::string& prompt, int buttons, const std::string& title) override;
    std::string input(const std::string& prompt, const std::string& title) override;

    void queueAnswer(int answer) { answers_.push_back(answer); }
    void queueInput(std::string text) { inputs_.push_back(std::move(text)); }
    // Runs when a box is shown (after recording it), for checks at that moment.
    std::function<void(const Call&)> onCall;

    std::vector<Call> calls;
    std::vector<Call> messages() const;   // calls that are not input boxes
    void clear() { calls.clear(); }

private:
    std::deque<int> answers_;
    std::deque<std::string> inputs_;
};

namespace msgbox {
// Creates the component the program uses (the first use makes it).
using Factory = std::function<std::unique_ptr<MessageBoxComponent>()>;
void setFactory(Factory f);   // tests; nullptr restores Qt dialogs
std::unique_ptr<MessageBoxComponent> create();
// The runtime's own box, for a failing message component.
void runtimeBox(const std::string& prompt, const std::string& title);
void setRuntimeBoxSink(std::function<void(const std::string&)> sink);   // tests
}  // namespace msgbox

}  // namespace qv
