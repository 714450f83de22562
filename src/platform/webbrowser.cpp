#include "platform/webbrowser.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include "platform/printlayout.h"
#include "platform/procedure.h"
#include "platform/runtime.h"

namespace qv {

// The progress window of one printout, from the key press that starts the
// page until its preview is on screen. It comes up only once the wait has
// lasted half a second; from then on the program answers while it works, and
// Cancel stops the printout. Its Cancel speaks the language of the print
// preview dialog (Qt's own).
class PrintProgress {
public:
    explicit PrintProgress(QWidget* over) : over_(over) { clock_.start(); }

    // Called often during a long step, with how far the printout has come
    // (below 0: not known). False once the user has cancelled.
    bool tick(double done = -1) {
        if (cancelled_) return false;
        if (!dialog_) {
            if (clock_.elapsed() < kDelayMs) return true;
            show();
        }
        if (done < 0) {
            bar_->setRange(0, 0);
        } else {
            bar_->setRange(0, kSteps);
            bar_->setValue(static_cast<int>(done * kSteps));
        }
        if (answered_.elapsed() >= kAnswerMs) {
            QCoreApplication::processEvents();
            answered_.start();
        }
        cancelled_ = dialog_->wasCanceled();
        return !cancelled_;
    }
    // The callback of a step that runs the printout from "from" to "to".
    print::Progress step(double from, double to) {
        return [this, from, to](double done) { return tick(from + (to - from) * done); };
    }
    bool cancelled() const { return cancelled_; }
    // Its work is done: the window goes (and never comes back by itself).
    void close() { dialog_.reset(); }

private:
    static constexpr int kDelayMs = 500, kAnswerMs = 30, kSteps = 1000;

    void show() {
        dialog_ = std::make_unique<QProgressDialog>(over_);
        // The bar is moved here, not through the dialog's value, which would
        // show and hide the window by its own rules.
        bar_ = new QProgressBar;
        dialog_->setBar(bar_);
        dialog_->setWindowTitle(QStringLiteral("Quorvel"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->resize(dialog_->sizeHint());
        dialog_->show();
        answered_.start();
        QCoreApplication::processEvents();
    }

    QWidget* over_;
    QElapsedTimer clock_, answered_;
    std::unique_ptr<QProgressDialog> dialog_;
    QProgressBar* bar_ = nullptr;
    bool cancelled_ = false;
};

namespace {

webbrowser::PreviewHandler& previewOverride() {
    static webbrowser::PreviewHandler h;
    return h;
}

webbrowser::PreviewWatcher& previewWatcher() {
    static webbrowser::PreviewWatcher w;
    return w;
}

// The preview opens over most of the screen its window is on, with the page
// as wide as the view, so that the page can be read as it opens.
void openLarge(QPrintPreviewDialog& dialog, QWidget* parent) {
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect free = screen->availableGeometry();
        QRect r(QPoint(), free.size() * 0.9);
        r.moveCenter(free.center());
        dialog.setGeometry(r);
    }
    // Through the dialog's own action, so that its tool bar shows the mode.
    if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction"))) fitWidth->trigger();
}

// Watches the preview come on screen: the first run's progress window goes
// then, and not before, and the watcher is told.
class ShownFilter : public QObject {
public:
    ShownFilter(QDialog& dialog, PrintProgress& progress) : dialog_(dialog), progress_(progress) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == &dialog_ && e->type() == QEvent::Show && !progress_.cancelled()) {
            progress_.close();
            if (previewWatcher())
                QTimer::singleShot(0, &dialog_, [d = &dialog_] {
                    if (previewWatcher()) previewWatcher()(*d);
                });
        }
        return false;
    }

private:
    QDialog& dialog_;
    PrintProgress& progress_;
};

// The preview's print button: the print dialog, then the page printed on the
// printer or into the file chosen. A whole print closes the preview, as the
// button does by itself; a print that fails says why and leaves the preview
// open, so that another printer or file can be chosen; a print dialog
// cancelled, or a print stopped, leaves it open without a word.
void takeOverPrintButton(QPrintPreviewDialog& dialog, QPrinter& printer, print::PageLayout& layout) {
    // The print button is the last of the preview's tool bar.
    const auto* bar = dialog.findChild<QToolBar*>();
    QAction* button = bar && !bar->actions().isEmpty() ? bar->actions().constLast() : nullptr;
    if (!button || !QObject::disconnect(button, &QAction::triggered, &dialog, nullptr)) return;
    QObject::connect(button, &QAction::triggered, &dialog, [&dialog, &printer, &layout] {
        QPrintDialog choose(&printer, &dialog);
        if (choose.exec() != QDialog::Accepted) return;
        PrintProgress progress(&dialog);
        QString failure;
        const bool printed = layout.print(printer, progress.step(0, 1), &failure);
        progress.close();
        if (printed)
            dialog.accept();
        else if (!failure.isEmpty())
            reportFailure(failure.toStdString());
    });
}

void showPreviewDialog(const std::string& page, QWidget* parent, PrintProgress& progress) {
    print::PageLayout layout;
    // Reading the page and the first lay-out run as one step for the user.
    if (!layout.load(page, progress.step(0, 0.2))) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Quorvel"));
    openLarge(dialog, parent);
    ShownFilter shown(dialog, progress);
    dialog.installEventFilter(&shown);
    takeOverPrintButton(dialog, printer, layout);
    bool first = true, cancelled = false;
    // Asked again for every change of paper or orientation (the print button
    // prints by itself, above); the first run comes before the dialog is on screen.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* p) {
        if (cancelled) return;
        if (first) {
            cancelled = !layout.print(*p, progress.step(0.2, 1));
            // A cancelled preview never reaches the screen: it is closed as
            // soon as its loop runs.
            if (cancelled) dialog.setAttribute(Qt::WA_DontShowOnScreen);
        } else {
            PrintProgress again(&dialog);
            cancelled = !layout.print(*p, again.step(0, 1));
        }
        first = false;
        if (cancelled) QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
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

WebBrowser::~WebBrowser() = default;

void WebBrowser::Navigate(const std::string& url) {
    if (url != "about:blank") throw RuntimeError(5, "Invalid procedure call or argument");
    page_.clear();
    state_ = State::Open;
    progress_ = std::make_unique<PrintProgress>(Parent().widget());
}

void WebBrowser::Write(const std::string& html) {
    if (state_ == State::None) throw RuntimeError(kErrObjectNotSet);
    if (state_ == State::Closed) {
        page_.clear();
        state_ = State::Open;
    }
    // A long page is written in many small pieces: a look at the clock now
    // and then lets the progress window come up, and a cancelled printout
    // writes on into nothing.
    if (progress_ && (++writes_ & 0x3ff) == 0) progress_->tick();
    if (progress_ && progress_->cancelled()) return;
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
    // Taken: the handler may start a new printout in this control.
    std::unique_ptr<PrintProgress> progress = std::move(progress_);
    if (!progress) progress = std::make_unique<PrintProgress>(Parent().widget());
    if (!progress->tick()) return;
    if (previewOverride()) {
        progress->close();
        const std::string page = page_;   // copied: the handler may write a new page here
        previewOverride()(page);
    } else {
        // Not copied: the preview reads the page once, at its start, and no
        // new page can be started meanwhile (the progress window is modal).
        showPreviewDialog(page_, Parent().widget(), *progress);
    }
}

namespace webbrowser {

void setPreviewHandler(PreviewHandler handler) { previewOverride() = std::move(handler); }
void setPreviewWatcher(PreviewWatcher watcher) { previewWatcher() = std::move(watcher); }

}  // namespace webbrowser

}  // namespace qv
