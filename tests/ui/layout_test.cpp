// Every window of the program on screen: no two shown controls overlap and
// none lies outside its window. With QV_SHOTS set to a folder, each window is
// also saved there as a picture, to be looked at.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>

#include "core/frmAbout.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
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
    }
    return faults;
}

class LayoutTest : public qvtest::RealWindows {
protected:
    void look(Form& f) {
        checked.push_back(f.Name());
        for (auto& fault : layoutFaults(f)) faults.push_back(std::move(fault));
        const QString folder = qEnvironmentVariable("QV_SHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            f.widget()->grab().save(folder + "/" + QString::fromStdString(f.Name()) + ".png");
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

}  // namespace
