#include "platform/webbrowser.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
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

void layOut(QTextDocument& doc, const std::string& page) {
    doc.setHtml(QString::fromStdString(webbrowser::renderableHtml(page)));
}

void showPreviewDialog(const std::string& page, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Quorvel"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&page](QPrinter* p) {
        QTextDocument doc;
        layOut(doc, page);
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

bool printToPdf(const std::string& page, const std::string& pdfPath) {
    QPdfWriter writer(QString::fromStdString(pdfPath));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(QStringLiteral("Quorvel"));
    QTextDocument doc;
    layOut(doc, page);
    doc.print(&writer);
    const QFileInfo written(QString::fromStdString(pdfPath));
    return written.exists() && written.size() > 0;
}

}  // namespace webbrowser

}  // namespace qv
