// The print page of a window: an invisible control that collects an HTML page
// written in pieces and opens a print preview of it, from which the user
// prints or saves a PDF.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/forms.h"

class QDialog;

namespace qv {

class PrintProgress;

class WebBrowser : public Control {
public:
    WebBrowser(Form& owner, std::string name);
    ~WebBrowser() override;

    // "about:blank" starts a new, empty and open page; no other address is
    // served. It starts a printout: from here until its preview shows, a wait
    // longer than half a second brings up a progress window with Cancel.
    void Navigate(const std::string& url);
    // Appends to the open page. Writing into a closed page starts a new one, as
    // an HTML document does; writing before any Navigate raises 91.
    void Write(const std::string& html);
    // Ends the document; the page stays until the next Navigate or Write.
    void Close();
    // Command 7 opens the print preview of the page (the option is not used).
    void ExecWB(int cmd, int opt);

    // The page written so far, byte for byte.
    const std::string& pageText() const { return page_; }

private:
    enum class State { None, Open, Closed };
    State state_ = State::None;
    std::string page_;
    std::unique_ptr<PrintProgress> progress_;   // of the printout being written
    unsigned writes_ = 0;
};

namespace webbrowser {
// Shows the preview of a page. Tests replace it to see the page instead.
using PreviewHandler = std::function<void(const std::string& html)>;
void setPreviewHandler(PreviewHandler handler);   // nullptr restores the print preview dialog
// Told each time the print preview dialog has come on screen, from inside its
// loop (tests look at it there and close it); nullptr for none.
using PreviewWatcher = std::function<void(QDialog& preview)>;
void setPreviewWatcher(PreviewWatcher watcher);
}  // namespace webbrowser

}  // namespace qv
