#include "platform/webbrowser.h"

#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QWidget>

#include "platform/printlayout.h"
#include "platform/runtime.h"

namespace qv {

namespace {

webbrowser::PreviewHandler& previewOverride() {
    static webbrowser::PreviewHandler h;
    return h;
}

// A progress window for the long steps of a preview: it shows itself only
// when a step lasts more than half a second, and its Cancel stops the preview.
class PreviewProgress {
public:
    // Its Cancel button speaks the language of the print preview dialog (Qt's own).
    explicit PreviewProgress(QWidget* parent) : dialog_(parent) {
        dialog_.setRange(0, kSteps);
        dialog_.setWindowTitle(QStringLiteral("Quorvel"));
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
    }
    // The progress callback of a step that runs the window from "from" to "to".
    print::Progress step(double from, double to) {
        if (from == 0) {   // a new run: its half second starts now
            dialog_.reset();
            dialog_.setValue(0);
        }
        return [this, from, to](double done) {
            dialog_.setValue(static_cast<int>((from + (to - from) * done) * kSteps));
            return !dialog_.wasCanceled();
        };
    }
    void done() { dialog_.reset(); }
    // While the preview is up, the progress belongs above it, not behind it;
    // given back before the preview goes, which would delete its children.
    void over(QWidget* window) { dialog_.setParent(window, dialog_.windowFlags()); }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
};

void showPreviewDialog(const std::string& page, QWidget* parent) {
    print::PageLayout layout;
    PreviewProgress progress(parent);
    // Reading the page and the first lay-out run as one step for the user.
    if (!layout.load(page, progress.step(0, 0.2))) return;
    double from = 0.2;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Quorvel"));
    progress.over(&dialog);
    bool cancelled = false;
    // Asked again for every change of paper or orientation, and to print.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* p) {
        if (cancelled) return;
        cancelled = !layout.print(*p, progress.step(from, 1));
        progress.done();
        from = 0;
        if (cancelled) QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
    });
    dialog.exec();
    progress.over(parent);
}

}  // namespace

WebBrowser::WebBrowser(Form& owner, std::string name) : Control(owner, ControlKind::Browser, std::move(name)) {
    // Only a place holder in the window: the page is never shown there.
    auto* w = new QWidget;
    w->setFocusPolicy(Qt::NoFocus);
    setWidget(w);
    w->hide();
}

void WebBrowser::Navigate(const std::string& url) {
    if (url != "about:blank") throw RuntimeError(5, "Invalid procedure call or argument");
    page_.clear();
    state_ = State::Open;
}

void WebBrowser::Write(const std::string& html) {
    if (state_ == State::None) throw RuntimeError(kErrObjectNotSet);
    if (state_ == State::Closed) {
        page_.clear();
        state_ = State::Open;
    }
    page_ += html;
}

void WebBrowser::Close() {
    if (state_ == State::None) throw RuntimeError(kErrObjectNotSet);
    state_ = State::Closed;
}

void WebBrowser::ExecWB(int cmd, int opt) {
    (void)opt;
    if (cmd != 7) throw RuntimeError(5, "Invalid procedure call or argument");
    if (state_ == State::None) throw RuntimeError(kErrObjectNotSet);
    // Copied: the handler may start a new page in this control.
    const std::string page = page_;
    if (previewOverride())
        previewOverride()(page);
    else
        showPreviewDialog(page, Parent().widget());
}

namespace webbrowser {

void setPreviewHandler(PreviewHandler handler) { previewOverride() = std::move(handler); }

}  // namespace webbrowser

}  // namespace qv
