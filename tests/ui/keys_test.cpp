// Keys on windows shown for real: the pick-only lists of the editors, the
// grid of a freshly opened list window, and Escape in every window that has
// a Cancel, Close or Exit of its own.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>

#include <cctype>

#include "core/frmAbout.h"
#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "issued/frmEditAssegniEmessi.h"
#include "issued/frmSelectAssegniEmessi.h"
#include "lists/filterwindow.h"
#include "realwindows.h"
#include "received/frmAssegniRicevuti.h"
#include "received/frmSelectAssegniRicevuti.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmSelectAnagrafica.h"
#include "registers/frmSelectMieiContiCorrenti.h"
#include "registers/frmSelectTipologiaPersone.h"
#include "registers/frmTipologiaPersone.h"
#include "reports/frmReportistica.h"
#include "reports/frmSplashReports.h"
#include "reports/reportdefs.h"

using namespace qv;

namespace {

class KeysTest : public qvtest::RealWindows {
protected:
    void SetUp() override {
        RealWindows::SetUp();
        exec("insert into TipologiaPersone (Tipologia) values ('Banche'), ('Fornitori')");
        exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome) values "
             "(2, 'Carlo', 'Verdi'), (2, 'Mario', 'Rossi'), (2, 'Luca', 'Bianchi')");
        exec("insert into MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto) values "
             "('Conto casa', 'Banca Uno', '01005', '03200', '1'), ('Conto ufficio', 'Banca Due', '01005', '03200', '2')");
        exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
             "(2, 2, '7', '2010-02-03 00:00:00', 12.5)");
        exec("insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, NumeroConto, Importo) "
             "values (2, 3, '8', '2010-02-03 00:00:00', '5', 20)");
    }

    // Everything the windows may write.
    std::string stored() {
        std::string all;
        for (const char* table : {"TipologiaPersone", "Anagrafica", "MieiContiCorrenti", "AssegniEmessi",
                                  "AssegniRicevuti", "Girate", "Versamenti"})
            for (const auto& row : rows(std::string("select * from ") + table))
                for (const auto& cell : row) all += cell + "|";
        return all;
    }

    // The list's first record in its editor, as a double click opens it.
    template <class List>
    static void editFirstRow() {
        List& l = Instance<List>::get();
        l.Load();
        l.MSFlexGrid1.doubleClickCell(1, 1);
    }
    // The endorsement or deposit editor of the received list's first cheque.
    static void onFirstReceived(void (frmAssegniRicevuti::*button)()) {
        auto& l = Instance<frmAssegniRicevuti>::get();
        l.Load();
        l.MSFlexGrid1.setRow(1);
        (l.*button)();
    }
    template <class List, class Filter>
    static void openFilter() {
        Instance<List>::get().Load();
        Instance<Filter>::get().ShowModal();
    }

    static QImage picture(const Control& c) {
        QTest::qWait(20);   // the repaint of a focus change
        return c.widget()->grab().toImage();
    }
    static void keepPicture(const Form& f, const char* name) {
        const QString folder = qEnvironmentVariable("QV_SHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder)) f.widget()->grab().save(folder + "/" + name + ".png");
    }
};

struct FirstListCase {
    const char* editor;
    std::function<void()> open;
    const char* list;
    const char* letter;   // the initial of another item
    const char* query;    // what the editor stored
    const char* expected;
};

TEST_F(KeysTest, ALetterTypedIntoAnEditorsFirstListPicksNothing) {
    const std::vector<FirstListCase> cases = {
        {"frmEditAnagrafica", [] { editFirstRow<frmAnagrafica>(); }, "cboTipologia", "b",
         "select TIPOLOGIAID from Anagrafica where ANAGRAFICAID = 1", "2"},
        {"frmEditAssegniEmessi", [] { editFirstRow<frmAssegniEmessi>(); }, "cboDescrizione", "c",
         "select CONTOCORRENTEID from AssegniEmessi", "2"},
        {"frmEditAssegniRicevuti", [] { editFirstRow<frmAssegniRicevuti>(); }, "cboFIRMATARIOID", "b",
         "select FIRMATARIOID from AssegniRicevuti", "2"},
        // Nothing chosen at first: the letter leaves it so; Down picks the first.
        {"frmEditGirate", [] { onFirstReceived(&frmAssegniRicevuti::cmdGira_Click); }, "cboNome", "v",
         "select ANAGRAFICAID from Girate", "3"},
        {"frmEditVersamenti", [] { onFirstReceived(&frmAssegniRicevuti::cmdVersa_Click); }, "cboDescrizione", "u",
         "select CONTOCORRENTEID from Versamenti", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.editor);
        std::string focus;
        std::vector<int> chosen;
        script = [&](Form& f) {
            if (f.Name() != c.editor) return;
            focus = focusedName();
            auto& list = *static_cast<ComboBox*>(f.findControl(c.list));
            chosen.push_back(list.ListIndex());
            type(c.letter);
            chosen.push_back(list.ListIndex());
            if (list.ListIndex() == -1) {
                press(Qt::Key_Down);
                chosen.push_back(list.ListIndex());
                type(c.letter);
                chosen.push_back(list.ListIndex());
            }
            press(Qt::Key_O, Qt::AltModifier);
            EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << "still open";
        };
        c.open();
        EXPECT_EQ(focus, c.list);
        ASSERT_GE(chosen.size(), 2u);
        for (std::size_t i = 1; i < chosen.size(); ++i)   // each letter against the choice before it
            if (i != 2) {
                EXPECT_EQ(chosen[i], chosen[i - 1]) << "the letter changed the choice";
            }
        EXPECT_EQ(scalar(c.query), c.expected);
        EXPECT_TRUE(prompts().empty()) << prompts().front();
    }
}

TEST_F(KeysTest, HomeAndEndPickTheEndsOfAListItsOpenDropDownTakesNoLetterEither) {
    std::vector<int> chosen;
    script = [&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        press(Qt::Key_End);
        chosen.push_back(e.cboDescrizione.ListIndex());
        press(Qt::Key_Home);
        chosen.push_back(e.cboDescrizione.ListIndex());
        // In the dropped-down list a letter does not move the choice either.
        press(Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView* view = static_cast<QComboBox*>(e.cboDescrizione.widget())->view();
        ASSERT_TRUE(waitUntil([view] { return view->isVisible(); }));
        QTest::keyClicks(view, "c");   // would go on to the next item with that initial
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([view] { return !view->isVisible(); }));
        chosen.push_back(e.cboDescrizione.ListIndex());
        press(Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << "still open";
    };
    editFirstRow<frmAssegniEmessi>();
    EXPECT_EQ(chosen, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(scalar("select CONTOCORRENTEID from AssegniEmessi"), "1");
}

TEST_F(KeysTest, AFocusedListShowsItsFocus) {
    bool differs = false;
    script = [&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        ASSERT_EQ(focusedName(), "cboDescrizione");
        keepPicture(f, "frmEditAssegniEmessi-listFocused");
        const QImage focusedList = picture(e.cboDescrizione);
        // The focus moved by the program's code, not by Tab.
        e.txtNumero.SetFocus();
        ASSERT_EQ(focusedName(), "txtNumero");
        differs = picture(e.cboDescrizione) != focusedList;
    };
    editFirstRow<frmAssegniEmessi>();
    EXPECT_TRUE(differs) << "the list looks the same with the focus and without it";
}

TEST_F(KeysTest, AFreshListWindowTakesItsKeysInTheGridAndADoubleClickBelowItsRowsOpensNothing) {
    const std::vector<std::function<Form&()>> lists = {
        [] () -> Form& { return Instance<frmTipologiaPersone>::get(); },
        [] () -> Form& { return Instance<frmAnagrafica>::get(); },
        [] () -> Form& { return Instance<frmMieiContiCorrenti>::get(); },
        [] () -> Form& { return Instance<frmAssegniEmessi>::get(); },
        [] () -> Form& { return Instance<frmAssegniRicevuti>::get(); },
    };
    const std::string before = stored();
    for (const auto& list : lists) {
        Form& l = list();
        SCOPED_TRACE(l.Name());
        box().clear();
        std::vector<std::string> shown;
        std::string focus, state;
        script = [&](Form& f) {
            shown.push_back(f.Name());
            if (&f != &l) return;
            focus = focusedName();
            keepPicture(f, (f.Name() + "-opened").c_str());
            // Below the last row there is no record to open. A double click
            // comes as a press, then the double click on the same spot.
            QWidget* cells = static_cast<QAbstractItemView*>(f.findControl("MSFlexGrid1")->widget())->viewport();
            const QPoint below(cells->width() / 2, cells->height() - 4);
            QTest::mouseClick(cells, Qt::LeftButton, {}, below);
            QTest::mouseDClick(cells, Qt::LeftButton, {}, below);
            press(Qt::Key_Return);   // no editor: the grid has no Enter
            ASSERT_TRUE(focused());
            press(Qt::Key_Down);
            keepPicture(f, (f.Name() + "-down").c_str());
            if (auto* received = dynamic_cast<frmAssegniRicevuti*>(&f)) state = received->txtStatoAssegno.Caption();
            press(Qt::Key_Delete);
        };
        l.ShowModal();
        EXPECT_EQ(focus, "MSFlexGrid1");
        EXPECT_EQ(shown, std::vector<std::string>{l.Name()});
        EXPECT_EQ(prompts(), std::vector<std::string>{"Are you sure to delete the record?"});
        // The received list tells the state of the cheque the key moved to.
        if (l.Name() == "frmAssegniRicevuti") {
            EXPECT_NE(state, "");
        }
    }
    EXPECT_EQ(stored(), before);   // each question answered No
}

TEST_F(KeysTest, EscapeClosesEachWindowAsItsCancelDoes) {
    gArrayReport = {ReportDefinition{" Numero, Importo from AssegniEmessi", "Assegni emessi nel mese", Value("0"),
                                     "", "", "", ""}};
    gReportIndex = 0;
    const std::vector<std::pair<const char*, std::function<void()>>> windows = {
        {"frmEditTipologiaPersone", [] { editFirstRow<frmTipologiaPersone>(); }},
        {"frmEditAnagrafica", [] { editFirstRow<frmAnagrafica>(); }},
        {"frmEditMieiContiCorrenti", [] { editFirstRow<frmMieiContiCorrenti>(); }},
        {"frmEditAssegniEmessi", [] { editFirstRow<frmAssegniEmessi>(); }},
        {"frmEditAssegniRicevuti", [] { editFirstRow<frmAssegniRicevuti>(); }},
        {"frmEditGirate", [] { onFirstReceived(&frmAssegniRicevuti::cmdGira_Click); }},
        {"frmEditVersamenti", [] { onFirstReceived(&frmAssegniRicevuti::cmdVersa_Click); }},
        {"frmSelectTipologiaPersone", [] { openFilter<frmTipologiaPersone, frmSelectTipologiaPersone>(); }},
        {"frmSelectAnagrafica", [] { openFilter<frmAnagrafica, frmSelectAnagrafica>(); }},
        {"frmSelectMieiContiCorrenti", [] { openFilter<frmMieiContiCorrenti, frmSelectMieiContiCorrenti>(); }},
        {"frmSelectAssegniEmessi", [] { openFilter<frmAssegniEmessi, frmSelectAssegniEmessi>(); }},
        {"frmSelectAssegniRicevuti", [] { openFilter<frmAssegniRicevuti, frmSelectAssegniRicevuti>(); }},
        {"frmSplashReports", [] { Instance<frmSplashReports>::get().ShowModal(); }},
        {"frmReportistica", [] { Instance<frmReportistica>::get().ShowModal(); }},
        {"frmAbout", [] { Instance<frmAbout>::get().ShowModal(); }},
    };
    const std::string before = stored();
    for (const auto& [name, open] : windows) {
        SCOPED_TRACE(name);
        bool closed = false, keptByRepeat = false;
        std::string focus;
        script = [&, name = std::string(name)](Form& f) {
            if (f.Name() != name) return;
            focus = focusedName();
            // Something typed or chosen first, which Escape must not keep.
            if (qobject_cast<QLineEdit*>(focused()))
                type("X");
            else if (qobject_cast<QComboBox*>(focused()))
                press(Qt::Key_Down);
            // The repeats of an Escape held down over the window above, which
            // that Escape closed: this window stays.
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
            if (QWidget* w = keyTarget()) QApplication::sendEvent(w, &held);
            keptByRepeat = f.Loaded();
            press(Qt::Key_Escape);
            closed = !f.Loaded();
        };
        open();
        EXPECT_TRUE(keptByRepeat);
        EXPECT_TRUE(closed);
        // The report's grid has the focus, as every list's, and takes every other key.
        if (std::string(name) == "frmReportistica") {
            EXPECT_EQ(focus, "MSFlexGrid1");
        }
    }
    EXPECT_EQ(stored(), before);
    for (const std::string* filter : {&gFilterTypes, &gFilterContacts, &gFilterAccounts, &gFilterIssued,
                                      &gFilterReceived})
        EXPECT_EQ(*filter, "");
    for (const SavedFilter* saved : {&gSavedFilterTypes, &gSavedFilterContacts, &gSavedFilterAccounts,
                                     &gSavedFilterIssued, &gSavedFilterReceived}) {
        EXPECT_TRUE(saved->texts.empty());
        EXPECT_TRUE(saved->combos.empty());
    }
    EXPECT_TRUE(prompts().empty()) << prompts().front();
}

// The Incoming filter's two state boxes take the pairs their clicks allow,
// by mouse and by Tab and Space, and OK asks for that pair.
TEST_F(KeysTest, TheIncomingFiltersStateBoxesTakeEveryPairByMouseAndByKeyboard) {
    const std::string in = "a.assegniricevutiid IN (select assegniricevutiid from ",
                      notIn = "a.assegniricevutiid not IN (select assegniricevutiid from ",
                      notNull = " where assegniricevutiid is not null)";
    const std::string notEndorsed = notIn + "girate" + notNull, notDeposited = notIn + "versamenti" + notNull;
    // g: a click on Endorsed, v: on Deposited; G and V: Tab to it, then Space.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"gv", notEndorsed + " AND " + notDeposited}, {"GV", notEndorsed + " AND " + notDeposited},
        {"ggv", in + "girate) AND " + notDeposited}, {"VVg", notEndorsed + " AND " + in + "versamenti)"}};
    for (const auto& [steps, condition] : cases) {
        SCOPED_TRACE(steps);
        script = [&steps](Form& f) {
            auto& s = dynamic_cast<frmSelectAssegniRicevuti&>(f);
            s.cmdClear.click();   // the last run's states are remembered
            for (char step : steps) {
                auto* box = static_cast<QCheckBox*>((std::tolower(step) == 'g' ? s.chkGirato : s.chkVersato).widget());
                const int middle = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) / 2;
                if (std::islower(step)) {
                    QTest::mouseClick(f.widget()->windowHandle(), Qt::LeftButton, {},
                                      box->mapTo(f.widget(), QPoint(middle, box->height() / 2)));
                    continue;
                }
                for (int tabs = 0; tabs < 60 && focused() != box; ++tabs) press(Qt::Key_Tab);
                ASSERT_EQ(focused(), box) << "Tab does not reach the box";
                press(Qt::Key_Space);
            }
            keepPicture(f, ("frmSelectAssegniRicevuti-" + steps).c_str());
            press(Qt::Key_O, Qt::AltModifier);
            EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << "still open";
        };
        openFilter<frmAssegniRicevuti, frmSelectAssegniRicevuti>();
        EXPECT_EQ(gFilterReceived, condition);
    }
    EXPECT_TRUE(prompts().empty()) << prompts().front();
}

// A drop-down takes its own Escape; the window stays until the next one.
TEST_F(KeysTest, EscapeInAnOpenDropDownClosesTheDropDownOnly) {
    bool openAfterFirst = false, closedAfterSecond = false;
    script = [&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        QAbstractItemView* view = static_cast<QComboBox*>(e.cboDescrizione.widget())->view();
        press(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(waitUntil([view] { return view->isVisible(); }));
        QTest::keyClick(view, Qt::Key_Escape);   // the drop-down has the keyboard
        ASSERT_TRUE(waitUntil([view] { return !view->isVisible(); }));
        openAfterFirst = f.Loaded();
        press(Qt::Key_Escape);
        closedAfterSecond = !f.Loaded();
    };
    editFirstRow<frmAssegniEmessi>();
    EXPECT_TRUE(openAfterFirst);
    EXPECT_TRUE(closedAfterSecond);
}

}  // namespace
