// The print preview as the program opens it, on screen: the progress window
// of a long printout, its Cancel, the preview's size and zoom, and the pages it
// shows for either orientation.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <ctime>

#include "platform/printlayout.h"
#include "platform/webbrowser.h"
#include "realwindows.h"
#include "received/frmAssegniRicevuti.h"

using namespace qv;

namespace {

QProgressDialog* progressWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

bool anyPreviewOpen() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QPrintPreviewDialog*>(w)) return true;
    return false;
}

void shoot(QWidget& w, const char* name) {
    const QString folder = qEnvironmentVariable("QV_SHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder)) w.grab().save(folder + "/" + name + ".png");
}

// The pages of the page for A4 paper in that orientation, laid out apart from
// the preview.
int pagesOf(const std::string& page, QPageLayout::Orientation orientation) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double toDots = print::PageLayout::kDotsPerInch / printer.resolution();
    print::PageLayout layout;
    EXPECT_TRUE(layout.load(page));
    EXPECT_TRUE(layout.paginate(area.width() * toDots, area.height() * toDots));
    return layout.pageCount();
}

// Notes the first show of a progress window.
struct ProgressShows : QObject {
    QElapsedTimer* clock;
    double firstShow = -1;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<QProgressDialog*>(o) && firstShow < 0)
            firstShow = clock->nsecsElapsed() / 1e9;
        return false;
    }
};

class PreviewTest : public qvtest::RealWindows {
protected:
    void SetUp() override {
        RealWindows::SetUp();
        webbrowser::setPreviewHandler(nullptr);   // the real preview dialog
        webbrowser::setPreviewWatcher([this](QDialog& d) {
            auto& dialog = dynamic_cast<QPrintPreviewDialog&>(d);
            shownAt = clock.nsecsElapsed() / 1e9;
            shownCpu = cpuSinceClick();
            ++previewsShown;
            if (onPreview) onPreview(dialog, *dialog.findChild<QPrintPreviewWidget*>());
            dialog.close();
        });
    }
    void TearDown() override {
        webbrowser::setPreviewWatcher(nullptr);
        RealWindows::TearDown();
    }

    void addCheques(int n) {
        exec("insert into Anagrafica (Cognome, Nome) values ('Rossi', 'Mario')");
        exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(n) +
             ") INSERT INTO AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, Importo, Causale, "
             "Banca) SELECT 1, 1, i, '2010-11-01 00:00:00', i * 1.5, 'Fattura ' || i, 'Banca Uno' FROM n");
    }

    // One sample of the screen during a printout: the time from the click, the
    // processor time the program spent since, and whether the progress window was up.
    struct Sample {
        double at, cpu;
        bool progressUp;
    };
    double cpuSinceClick() const { return static_cast<double>(std::clock() - cpuAtClick) / CLOCKS_PER_SEC; }
    // How long the program kept the user waiting between two moments: the
    // shorter of the time on the clock, which a busy machine stretches, and of
    // the processor time the program spent, which its own long work fills.
    static double waited(double at, double cpu, double laterAt, double laterCpu) {
        return std::min(laterAt - at, laterCpu - cpu);
    }
    // Clicks the list's print button and samples the screen every 20 ms until
    // the printout is over; `during` sees each sample as it is taken.
    std::vector<Sample> printList(frmAssegniRicevuti& list, const std::function<void(const Sample&)>& during = {}) {
        std::vector<Sample> samples;
        shownAt = -1;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            if (shownAt >= 0) return;
            samples.push_back({clock.nsecsElapsed() / 1e9, cpuSinceClick(), progressWindow() != nullptr});
            if (during) during(samples.back());
        });
        sampler.start(20);
        shows.clock = &clock;
        shows.firstShow = -1;
        qApp->installEventFilter(&shows);
        clock.start();
        cpuAtClick = std::clock();
        QTest::mouseClick(list.cmdPrintGrid.widget(), Qt::LeftButton);
        qApp->removeEventFilter(&shows);
        return samples;
    }

    QElapsedTimer clock;
    ProgressShows shows;
    double shownAt = -1;   // when the preview came on screen, from the click
    double shownCpu = 0;   // the processor time spent until then
    std::clock_t cpuAtClick = 0;
    int previewsShown = 0;
    std::function<void(QPrintPreviewDialog&, QPrintPreviewWidget&)> onPreview;
};

// A long printout: the progress window is up from half a second after the
// click until the preview shows, and the program answers all along; its
// Cancel, early or late, leaves no preview.
TEST_F(PreviewTest, ProgressIsUpFromHalfASecondUntilThePreviewAndCancelLeavesNone) {
    addCheques(100000);
    int previewPages = 0;
    onPreview = [&](QPrintPreviewDialog&, QPrintPreviewWidget& preview) { previewPages = preview.pageCount(); };
    script = [&](Form& f) {
        auto& list = dynamic_cast<frmAssegniRicevuti&>(f);
        bool shot = false;
        const auto samples = printList(list, [&](const Sample& s) {
            if (s.progressUp && !shot) {
                shoot(*progressWindow(), "progress");
                shot = true;
            }
        });
        ASSERT_EQ(previewsShown, 1);
        EXPECT_GT(shownAt, 1.0) << "not a long printout";
        EXPECT_GE(shows.firstShow, 0.5);
        // The program answers (and Cancel with it) all the while: no wait
        // between samples longer than a second.
        Sample last{0, 0, false};
        double firstDown = -1, longestWait = 0;
        for (const Sample& s : samples) {
            if (s.at >= 0.5) {
                if (!s.progressUp && firstDown < 0) firstDown = s.at;
                longestWait = std::max(longestWait, waited(last.at, last.cpu, s.at, s.cpu));
            }
            last = s;
        }
        EXPECT_EQ(firstDown, -1) << "no progress window at " << firstDown << " s, preview at " << shownAt << " s";
        EXPECT_LT(longestWait, 1.0);
        EXPECT_LT(waited(last.at, last.cpu, shownAt, shownCpu), 1.0)
            << "no answer from " << last.at << " s to the preview at " << shownAt << " s";
        EXPECT_EQ(progressWindow(), nullptr);
        EXPECT_EQ(previewPages, pagesOf(list.web.pageText(), QPageLayout::Portrait));

        // Cancel as soon as the window is up (the page is still being written
        // or read) and once the pages are half painted.
        struct Case {
            const char* when;
            std::function<bool(QProgressDialog&)> now;
        };
        const Case cases[] = {
            {"at once", [](QProgressDialog&) { return true; }},
            {"half way",
             [](QProgressDialog& p) {
                 const auto* bar = p.findChild<QProgressBar*>();
                 return bar->maximum() > 0 && bar->value() > bar->maximum() / 2;
             }},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.when);
            bool cancelled = false;
            printList(list, [&](const Sample&) {
                QProgressDialog* p = progressWindow();
                if (p && !cancelled && c.now(*p)) {
                    cancelled = true;
                    QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
                }
            });
            EXPECT_TRUE(cancelled);
            EXPECT_EQ(previewsShown, 1) << "a preview came after Cancel";
            EXPECT_FALSE(anyPreviewOpen());
            EXPECT_EQ(progressWindow(), nullptr);
        }
    };
    Instance<frmAssegniRicevuti>::get().ShowModal();
    EXPECT_TRUE(prompts().empty()) << ::testing::PrintToString(prompts());
}

// The preview opens over most of the screen with the page as wide as the
// view, and laid out again for landscape paper.
TEST_F(PreviewTest, PreviewOpensLargeFittedToWidthAndTurnsToLandscape) {
    addCheques(400);
    QSize size;
    QPrintPreviewWidget::ZoomMode zoom{};
    double zoomFactor = 0;
    int portrait = 0, landscape = 0;
    onPreview = [&](QPrintPreviewDialog& dialog, QPrintPreviewWidget& preview) {
        shoot(dialog, "preview");
        size = dialog.size();
        zoom = preview.zoomMode();
        zoomFactor = preview.zoomFactor();
        portrait = preview.pageCount();
        preview.setLandscapeOrientation();   // what its tool bar's Landscape does
        landscape = preview.pageCount();
        shoot(dialog, "preview-landscape");
    };
    std::string page;
    script = [&](Form& f) {
        auto& list = dynamic_cast<frmAssegniRicevuti&>(f);
        printList(list);
        page = list.web.pageText();
    };
    Instance<frmAssegniRicevuti>::get().ShowModal();
    ASSERT_EQ(previewsShown, 1);

    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_GE(size.width(), screen.width() * 0.8);
    EXPECT_GE(size.height(), screen.height() * 0.8);
    EXPECT_EQ(zoom, QPrintPreviewWidget::FitToWidth);
    EXPECT_GT(zoomFactor, 1.0);   // a 7-point table read at more than its printed size
    EXPECT_EQ(portrait, pagesOf(page, QPageLayout::Portrait));
    EXPECT_EQ(landscape, pagesOf(page, QPageLayout::Landscape));
    EXPECT_NE(portrait, landscape);
}

}  // namespace
