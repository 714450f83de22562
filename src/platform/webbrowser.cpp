#include "platform/webbrowser.h"

#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QWidget>

#include "platform/runtime.h"

namespace qv {

namespace {

webbrowser::PreviewHandler& previewOverride() {
    static webbrowser::PreviewHandler h;
    return h;
}

// The page as the rich-text renderer should lay it out: the same content,
// adjusted where that renderer and a browser disagree.
std::string renderableHtml(const std::string& page) {
    // A browser gives a row without cells no height; the rich-text renderer
    // gives it a blank line, which would open gaps in a printed window.
    static const std::string emptyRow = "<tr></tr>";
    std::string out;
    out.reserve(page.size());
    std::size_t from = 0;
    for (std::size_t at; (at = page.find(emptyRow, from)) != std::string::npos; from = at + emptyRow.size())
        out.append(page, from, at - from);
    out.append(page, from, std::string::npos);
    return out;
}

void showPreviewDialog(const std::string& page, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Quorvel"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&page](QPrinter* p) {
        QTextDocument doc;
        doc.setHtml(QString::fromStdString(renderableHtml(page)));
        doc.print(p);
    });
    dialog.exec();
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
