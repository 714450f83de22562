// Every window of the program on screen: no two shown controls overlap and
// none lies outside its window, and a filter's check boxes show each state
// a click on them gives. With QV_SHOTS set to a folder, each window is
// also saved there as a picture, to be looked at.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QStyle>
#include <set>

#include "core/frmAbout.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "lists/editorwindow.h"
#include "lists/filterwindow.h"
#include "issued/frmEditAssegniEmessi.h"
#include "issued/frmSelectAssegniEmessi.h"
#include "realwindows.h"
#include "received/frmAssegniRicevuti.h"
#include "received/frmEditAssegniRicevuti.h"
#include "received/frmEditGirate.h"
#include "received/frmEditVersamenti.h"
#include "received/frmSelectAssegniRicevuti.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmEditAnagrafica.h"
#include "registers/frmEditMieiContiCorrenti.h"
#include "registers/frmEditTipologiaPersone.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmSelectAnagrafica.h"
#include "registers/frmSelectMieiContiCorrenti.h"
#include "registers/frmSelectTipologiaPersone.h"
#include "registers/frmTipologiaPersone.h"
#include "reports/frmReportistica.h"
#include "reports/frmSplashReports.h"

using namespace qv;

namespace {

// What a control puts on the window: a label its text (a label is drawn
// transparent over what lies behind it), a picture its image, any other
// control its whole rectangle. Empty when it draws nothing.
QRect drawnRect(const Control& c) {
    const QWidget* w = c.widget();
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label || c.Kind() == ControlKind::SkinForm) return w->geometry();
    if (c.Kind() == ControlKind::Picture) {
        const QPixmap p = label->pixmap();
        return p.isNull() ? QRect() : QRect(w->pos(), p.size()).intersected(w->geometry());
    }
    if (label->text().isEmpty()) return {};
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect text = QFontMetrics(label->font()).boundingRect(label->contentsRect(), flags, label->text());
    return text.translated(w->pos()).intersected(w->geometry());
}

// "a overlaps b" and "c lies outside the window", for the shown controls.
std::vector<std::string> layoutFaults(const Form& f) {
    std::vector<std::string> faults;
    const QRect window(QPoint(0, 0), f.widget()->size());
    std::vector<std::pair<const Control*, QRect>> shown;
    for (const Control* c : f.Controls()) {
        if (!c->widget() || c->widget()->isHidden()) continue;
        const QRect r = drawnRect(*c);
        if (r.isEmpty()) continue;
        if (!window.contains(r)) faults.push_back(f.Name() + "." + c->Name() + " lies outside the window");
        for (const auto& [other, rect] : shown)
            if (rect.intersects(r)) faults.push_back(f.Name() + "." + other->Name() + " overlaps " + c->Name());
        shown.emplace_back(c, r);
        // A check box shows its whole caption; one as narrow as its box (the
        // received filter's state boxes) holds its box alone.
        const auto* box = qobject_cast<const QCheckBox*>(c->widget());
        if (box && box->width() > box->minimumWidth() && box->sizeHint().width() > box->width())
            faults.push_back(f.Name() + "." + c->Name() + " cuts its caption");
    }
    return faults;
}

class LayoutTest : public qvtest::RealWindows {
protected:
    void look(Form& f) {
        checked.push_back(f.Name());
        for (auto& fault : layoutFaults(f)) faults.push_back(std::move(fault));
        // Editors and filters cannot be made smaller than designed.
        if (dynamic_cast<EditorWindow*>(&f) || dynamic_cast<FilterWindow*>(&f)) {
            const QSize design = f.widget()->size();
            f.widget()->resize(design / 2);
            if (f.widget()->size() != design) faults.push_back(f.Name() + " shrinks below its design size");
            f.widget()->resize(design);
        }
        const QString folder = qEnvironmentVariable("QV_SHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            f.widget()->grab().save(folder + "/" + QString::fromStdString(f.Name()) + ".png");
        if (dynamic_cast<FilterWindow*>(&f)) clickThrough(f);
    }
    // A filter's check boxes take a click on their box and show each state apart.
    void clickThrough(Form& f) {
        for (const Control* c : f.Controls()) {
            auto* box = qobject_cast<QCheckBox*>(c->widget());
            if (!box || box->isHidden()) continue;
            const int middle = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) / 2;
            std::vector<int> states{box->checkState()};
            std::set<QByteArray> pictures;
            for (int click = 0; click < 3; ++click) {
                QTest::mouseClick(f.widget()->windowHandle(), Qt::LeftButton, {},
                                  box->mapTo(f.widget(), QPoint(middle, box->height() / 2)));
                states.push_back(box->checkState());
                const QImage p = box->grab().toImage();
                pictures.insert(QByteArray(reinterpret_cast<const char*>(p.constBits()), p.sizeInBytes()));
            }
            const std::size_t all = box->isTristate() ? 3 : 2;
            if (std::set<int>(states.begin(), states.end()).size() != all || pictures.size() != all)
                faults.push_back(f.Name() + "." + c->Name() + " does not show a click on its box");
            // Grey, clear, ticked, grey: no pair of states is out of reach of clicks.
            if (box->isTristate() && states != std::vector<int>{Qt::PartiallyChecked, Qt::Unchecked, Qt::Checked,
                                                                Qt::PartiallyChecked})
                faults.push_back(f.Name() + "." + c->Name() + " does not go grey, clear, ticked on its clicks");
        }
    }
    template <class T>
    void open() {
        Instance<T>::get().ShowModal();
    }
    std::vector<std::string> checked, faults;
};

TEST_F(LayoutTest, NoWindowHasOverlappingOrOutlyingControls) {
    exec("insert into TipologiaPersone (Tipologia) values ('Privati')");
    exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome) values (1, 'Mario', 'Rossi')");
    exec("insert into MieiContiCorrenti (Descrizione, Banca, NumeroConto) values ('Conto casa', 'Banca Uno', '1')");
    exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
         "(1, 1, '7', '2010-02-03 00:00:00', 12.5)");
    exec("insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
         "(1, 1, '8', '2010-02-03 00:00:00', 20)");
    script = [this](Form& f) { look(f); };
    look(mainWindow());

    open<frmAbout>();
    open<frmSplashReports>();
    gArrayReport = {ReportDefinition{" Numero, Importo from AssegniEmessi", "Assegni emessi nel mese",
                                     Value("0"), "", "", "", ""}};
    gReportIndex = 0;
    open<frmReportistica>();

    open<frmTipologiaPersone>();
    open<frmAnagrafica>();
    open<frmMieiContiCorrenti>();
    open<frmAssegniEmessi>();
    open<frmAssegniRicevuti>();
    // Editors for a new record, and the filters, above their loaded lists.
    for (ListWindow* l : std::initializer_list<ListWindow*>{
             &Instance<frmTipologiaPersone>::get(), &Instance<frmAnagrafica>::get(),
             &Instance<frmMieiContiCorrenti>::get(), &Instance<frmAssegniEmessi>::get(),
             &Instance<frmAssegniRicevuti>::get()})
        l->Load();
    gIsNew = true;
    open<frmEditTipologiaPersone>();
    open<frmEditAnagrafica>();
    open<frmEditMieiContiCorrenti>();
    open<frmEditAssegniEmessi>();
    open<frmEditAssegniRicevuti>();
    open<frmEditGirate>();
    open<frmEditVersamenti>();
    open<frmSelectTipologiaPersone>();
    open<frmSelectAnagrafica>();
    open<frmSelectMieiContiCorrenti>();
    open<frmSelectAssegniEmessi>();
    open<frmSelectAssegniRicevuti>();

    EXPECT_EQ(checked.size(), 21u) << ::testing::PrintToString(checked);
    EXPECT_EQ(faults, std::vector<std::string>{});
    EXPECT_TRUE(prompts().empty()) << ::testing::PrintToString(prompts());
}

// The report chooser's titles: one point size, the largest at which each
// title fits its button with its lines broken between words.
TEST_F(LayoutTest, ReportTitlesShareTheLargestSizeAtWhichAllFit) {
    exec("delete from reportistica");
    const std::vector<std::string> titles = {
        "Mese", "Assegni emessi nel mese", "Tutti gli ass. ricevuti non versati nè girati",
        "Assegni ricevuti dai clienti esteri nel trimestre", "Incassi"};
    for (std::size_t i = 0; i < titles.size(); ++i)
        exec("insert into reportistica (sqlreport, titolo, numparametri, ordine) values (' 1', '" + titles[i] +
             "', 0, " + std::to_string(i) + ")");
    std::vector<double> sizes;
    bool allFit = true, allFitLarger = true;
    script = [&](Form& f) {
        auto& w = dynamic_cast<frmSplashReports&>(f);
        for (CommandButton* b : w.cmdShowReport) {
            if (!b->Visible()) continue;
            sizes.push_back(b->captionPointSize());
            auto* label = b->widget()->findChild<QLabel*>();
            const auto fitsAt = [&](double size) {
                QFont font = label->font();
                font.setPointSizeF(size);
                QLabel probe;
                probe.setFont(font);
                probe.setWordWrap(true);
                probe.setText(label->text());
                QString plain = QString::fromStdString(b->Caption()).remove(QLatin1Char('&'));
                for (const QString& word : plain.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    if (QFontMetrics(font).horizontalAdvance(word) > label->width()) return false;
                return probe.heightForWidth(label->width()) <= label->height();
            };
            allFit = allFit && fitsAt(sizes.back());
            allFitLarger = allFitLarger && fitsAt(sizes.back() + 0.5);
        }
    };
    Instance<frmSplashReports>::get().ShowModal();
    ASSERT_EQ(sizes.size(), titles.size());
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), sizes.front()), static_cast<long>(sizes.size()));
    EXPECT_TRUE(allFit);
    EXPECT_FALSE(allFitLarger);
    EXPECT_LT(sizes.front(), QApplication::font().pointSizeF());
}

}  // namespace
