// Focus, caret and Tab in windows on screen, driven by key events.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "issued/frmEditAssegniEmessi.h"
#include "lists/filterwindow.h"
#include "realwindows.h"
#include "registers/frmEditMieiContiCorrenti.h"
#include "registers/frmEditTipologiaPersone.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmSelectMieiContiCorrenti.h"
#include "registers/frmSelectTipologiaPersone.h"
#include "registers/frmTipologiaPersone.h"

using namespace qv;

namespace {

class FocusTest : public qvtest::RealWindows {
protected:
    void addRecords() {
        exec("insert into TipologiaPersone (Tipologia, DateTimeCreated) values ('Privati', '2010-01-01 10:00:00')");
        exec("insert into MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto, DateTimeCreated) values "
             "('Conto casa', 'Banca Uno', '01005', '03200', '1000', '2010-01-01 10:00:00')");
    }
    // Opens the list's only record in its editor, as a double click does.
    template <class List>
    void editFirstRow() {
        List& l = Instance<List>::get();
        l.Load();
        l.MSFlexGrid1.doubleClickCell(1, 1);
    }
    // What the window showed in its focused input, and typing "X" then Alt+O.
    std::function<void(Form&)> typeXAndOk(std::string& focus, std::string& shown) {
        return [&focus, &shown](Form& f) {
            focus = focusedName();
            auto* line = qobject_cast<QLineEdit*>(focused());
            shown = line ? line->text().toStdString() : "";
            if (line) {
                EXPECT_FALSE(line->hasSelectedText());
            }
            type("X");
            press(Qt::Key_O, Qt::AltModifier);
            EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << f.Name() << " still open";
        };
    }
};

TEST_F(FocusTest, TypingIntoAFreshWindowAddsToItsText) {
    addRecords();
    std::string focus, shown;
    script = typeXAndOk(focus, shown);

    editFirstRow<frmMieiContiCorrenti>();
    EXPECT_EQ(focus, "txtDescrizione");
    EXPECT_EQ(shown, "Conto casa");
    EXPECT_EQ(scalar("select Descrizione from MieiContiCorrenti"), "Conto casaX");

    editFirstRow<frmTipologiaPersone>();
    EXPECT_EQ(focus, "txtTipologia");
    EXPECT_EQ(scalar("select Tipologia from TipologiaPersone"), "PrivatiX");

    // A remembered criterion comes back with the caret after it.
    gSavedFilterAccounts.init = true;
    gSavedFilterAccounts.texts["txtDescrizione"] = "casa";
    Instance<frmMieiContiCorrenti>::get().Load();
    Instance<frmSelectMieiContiCorrenti>::get().ShowModal();
    EXPECT_EQ(focus, "txtDescrizione");
    EXPECT_EQ(gFilterAccounts, "a.Descrizione Like '%casaX%'");

    gSavedFilterTypes.init = true;
    gSavedFilterTypes.texts["txtTipologia"] = "Priv";
    Instance<frmTipologiaPersone>::get().Load();
    Instance<frmSelectTipologiaPersone>::get().ShowModal();
    EXPECT_EQ(gFilterTypes, "a.Tipologia Like '%PrivX%'");
    EXPECT_TRUE(prompts().empty());
}

TEST_F(FocusTest, TabFollowsTheReadingOrderOfTheAccountsEditor) {
    addRecords();
    std::vector<std::string> visited;
    script = [&visited](Form&) {
        visited.push_back(focusedName());
        for (int i = 0; i < 9; ++i) {
            press(Qt::Key_Tab);
            visited.push_back(focusedName());
        }
        press(Qt::Key_Backtab);
        visited.push_back(focusedName());
    };
    editFirstRow<frmMieiContiCorrenti>();
    EXPECT_EQ(visited, (std::vector<std::string>{"txtDescrizione", "txtBanca", "txtABI", "txtCAB", "txtNumeroConto",
                                                 "txtIntestatari", "cmdPrint", "cmdOK", "cmdCancel", "txtDescrizione",
                                                 "cmdCancel"}));
}

TEST_F(FocusTest, TheFilterTabsThroughItsInputsBeforeItsButtons) {
    addRecords();
    std::vector<std::string> order;
    script = [&order](Form&) {
        order.push_back(focusedName());
        for (press(Qt::Key_Tab); focusedName() != order.front() && order.size() < 30; press(Qt::Key_Tab))
            order.push_back(focusedName());
    };
    Instance<frmMieiContiCorrenti>::get().Load();
    Instance<frmSelectMieiContiCorrenti>::get().ShowModal();
    EXPECT_EQ(order, (std::vector<std::string>{"txtDescrizione", "txtBanca", "txtABI", "txtCAB", "txtNumeroConto",
                                               "txtIntestatario", "cmdPrint", "optAND", "cmdClear", "cmdOK",
                                               "cmdCancel"}));   // AND/OR are one stop: arrows choose
}

TEST_F(FocusTest, TheIssuedChequeEditorOpensInItsFirstInput) {
    addRecords();
    std::string focus;
    script = [&focus](Form& f) {
        if (f.Name() == "frmEditAssegniEmessi") focus = focusedName();
    };
    Instance<frmAssegniEmessi>::get().Load();   // an empty list opens its editor
    EXPECT_EQ(focus, "cboDescrizione");
}

TEST_F(FocusTest, TheKeyboardWorksThroughTheIssuedChequeEditor) {
    addRecords();
    exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome) values (1, 'Mario', 'Rossi')");
    exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
         "(1, 1, '7', '2010-02-03 00:00:00', 12.5)");
    std::string afterNote, afterAlt;
    bool noteHasTab = true;
    script = [&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        // Tab leaves the note for the next control and types no tab.
        e.txtAssegnoNote.SetFocus();
        type("A");
        press(Qt::Key_Tab);
        afterNote = focusedName();
        noteHasTab = e.txtAssegnoNote.Text().find('\t') != std::string::npos;
        // An Alt key no control answers types nothing.
        e.txtCausale.SetFocus();
        type("Pri");
        press(Qt::Key_X, Qt::AltModifier);
        afterAlt = e.txtCausale.Text();
        // A date refused when the mouse moves on, the message closed, the
        // date mended: the next Alt+O saves at once.
        e.txtDataAssegno.SetFocus();
        press(Qt::Key_A, Qt::ControlModifier);
        type("99/99/2026");
        QTest::mouseClick(e.txtLuogoEmissione.widget(), Qt::LeftButton);
        EXPECT_EQ(focusedName(), "txtDataAssegno");
        QTest::qWait(50);   // the user reads the message
        press(Qt::Key_A, Qt::ControlModifier);
        type("05/06/2026");
        press(Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << "the first Alt+O did not save";
    };
    editFirstRow<frmAssegniEmessi>();
    EXPECT_EQ(afterNote, "cmdPrint");
    EXPECT_FALSE(noteHasTab);
    EXPECT_EQ(afterAlt, "Pri");
    EXPECT_EQ(prompts().size(), 1u);   // the refused date, once
    EXPECT_EQ(scalar("select DataAssegno from AssegniEmessi"), "2026-06-05 00:00:00");
    EXPECT_EQ(scalar("select Causale from AssegniEmessi"), "Pri");
}

TEST_F(FocusTest, EnterPressesTheButtonTabbedTo) {
    addRecords();
    script = [](Form& f) {
        while (focusedName() != "cmdOK") press(Qt::Key_Tab);
        press(Qt::Key_Return);
        EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); }));
    };
    editFirstRow<frmMieiContiCorrenti>();
    EXPECT_EQ(scalar("select count(*) from MieiContiCorrenti where DateTimeLastUpdated is not null"), "1");
}

}  // namespace
