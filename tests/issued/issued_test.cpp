// The issued cheques: the list with its money cells, flags and total line, the
// editor and its statements, the filter and its condition texts, delete,
// printing, and the road of one request from the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/database.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "core/trace.h"
#include "issued/frmAssegniEmessi.h"
#include "lists/amounts.h"
#include "issued/frmEditAssegniEmessi.h"
#include "issued/frmSelectAssegniEmessi.h"
#include "lists/filterwindow.h"
#include "locale_scope.h"
#include "platform/webbrowser.h"
#include "diskfull.h"
#include "fixture.h"

using namespace qv;
using qvtest::LocaleScope;

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// What the user types into the editor; unset parts are left as the editor shows them.
struct Typed {
    std::int64_t account = -1, payee = -1;
    std::string number = "123";
    std::optional<std::string> date;   // nullopt: the date the editor put in
    std::string place, amount = "10", reason, notes;
    int suPiazza = 0, trasferibile = 0, sbarrato = 0;
};

void selectById(ComboBox& combo, std::int64_t id) {
    for (int i = 0; i < combo.ListCount(); ++i)
        if (combo.ItemData(i) == id) return combo.setListIndex(i);
    FAIL() << "no item " << id << " in " << combo.Name();
}

void type(frmEditAssegniEmessi& e, const Typed& t) {
    if (t.account != -1) selectById(e.cboDescrizione, t.account);
    if (t.payee != -1) selectById(e.cboNome, t.payee);
    e.txtNumero.setText(t.number);
    if (t.date) e.txtDataAssegno.setText(*t.date);
    e.txtLuogoEmissione.setText(t.place);
    e.chkSuPiazza.setValue(t.suPiazza);
    e.chkTrasferibile.setValue(t.trasferibile);
    e.chkSbarrato.setValue(t.sbarrato);
    e.txtImporto.setText(t.amount);
    e.txtCausale.setText(t.reason);
    e.txtAssegnoNote.setText(t.notes);
}

class IssuedTest : public qvtest::ListFixture<frmAssegniEmessi> {
protected:
    void SetUp() override {
        ListFixture::SetUp();
        exec("insert into MieiContiCorrenti (CONTOCORRENTEID, Descrizione) values (1, 'Conto Casa'), (3, 'Conto Ufficio')");
        exec("insert into Anagrafica (ANAGRAFICAID, TIPOLOGIAID, Cognome, Nome) values (5, 1, 'Rossi', NULL), "
             "(12, 1, 'Bianchi', 'Luca')");
    }
    static void releaseWindows() {
        Instance<frmAssegniEmessi>::release();
        Instance<frmEditAssegniEmessi>::release();
        Instance<frmSelectAssegniEmessi>::release();
        forms::flushReleased();
    }
    // account, payee, number, date, place, the three flags, amount, reason, notes (SQL texts).
    void addCheque(const std::string& values) {
        exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, LuogoEmissione, "
             "SuPiazza, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, DateTimeCreated) values (" +
             values + ", '2010-01-01 10:00:00')");
    }
    std::string totalCaption() { return Instance<frmAssegniEmessi>::get().lblTotaleImporti.Caption(); }
    // The editor for a new cheque, typed and confirmed; answers whether it closed.
    bool saveNew(const Typed& t) {
        gIsNew = true;
        bool closed = false;
        onModal([&](Form& f) {
            auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
            type(e, t);
            e.cmdOK.click();
            closed = !e.Loaded();
        });
        Instance<frmEditAssegniEmessi>::get().ShowModal();
        return closed;
    }
    Texts writes() const {
        Texts out;
        for (const auto& s : statements)
            if (s.rfind("INSERT", 0) == 0 || s.rfind("UPDATE", 0) == 0 || s.rfind("DELETE", 0) == 0)
                out.push_back(s);
        return out;
    }
    // A filter window run: the script sets the inputs, OK follows unless it closed the window.
    void runFilter(const std::function<void(frmSelectAssegniEmessi&)>& script) {
        onModal([&](Form& f) {
            auto& s = dynamic_cast<frmSelectAssegniEmessi&>(f);
            script(s);
            if (s.Loaded()) s.cmdOK.click();
        });
        Instance<frmAssegniEmessi>::get().cmdSelect_Click();
    }

    LocaleScope english_{LocaleScope::english()};
};

TEST_F(IssuedTest, ADamagedPageIsToldInPlainWordsAndNothingIsWritten) {
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
         "INSERT INTO AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo, Causale, "
         "DateTimeCreated) SELECT 3, 12, i, '2010-11-01 00:00:00', 1, 'Affitto del magazzino', "
         "'2010-01-01 10:00:00' FROM n");
    damageTablePage("AssegniEmessi");
    const std::string before = fileBytes();
    frmAssegniEmessi& l = openList();
    const int shown = l.MSFlexGrid1.Rows() - 1;
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 3000);
    EXPECT_EQ(prompts(), Texts{kDbDamagedText});
    EXPECT_EQ(totalCaption(), totalLine(shown));   // the sum of the rows read
    EXPECT_TRUE(modalShown.empty());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(IssuedTest, ListShowsMoneyFlagsAndTotalInBothLocales) {
    addCheque("3, 12, '000123', '2010-11-01 00:00:00', 'Roma', 1, -1, 0, 100, 'Affitto', 'n'");
    addCheque("1, 5, '124', '2010-11-02 00:00:00', NULL, NULL, NULL, NULL, 250.5, NULL, NULL");
    addCheque("3, 12, '125', '2010-11-03 00:00:00', NULL, 0, 1, 1, 1000, NULL, NULL");
    addCheque("99, 12, '126', '2010-11-04 00:00:00', NULL, 0, 0, 0, 5, NULL, NULL");   // account missing
    struct Case {
        QLocale locale;
        bool english;
        Texts amounts, flagsRow1;
        std::string total;
    };
    const std::vector<Case> cases = {
        {LocaleScope::english(), true, {"100.00 €", "250.50 €", "1,000.00 €"}, {"True", "True", "False"},
         "Total amount of displayed cheques: €1,350.50"},
        {LocaleScope::italian(), false, {"100,00 €", "250,50 €", "1.000,00 €"}, {"Vero", "Vero", "Falso"},
         "Importo complessivo degli assegni visualizzati: 1.350,50 €"},
        // Shown and printed in the cells' digits, which a machine without a Bengali font has.
        {QLocale(QLocale::Bangla, QLocale::Bangladesh), true, {"100.00 €", "250.50 €", "1,000.00 €"},
         {"True", "True", "False"}, "Total amount of displayed cheques: 1,350.50€"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        LocaleScope pin(c.locale);
        env::setEnglish(c.english);
        frmAssegniEmessi& l = openList();
        FlexGrid& g = l.MSFlexGrid1;
        ASSERT_EQ(g.Rows(), 4);
        ASSERT_EQ(g.Cols(), 16);
        Texts headers;
        for (int col : {2, 4, 5, 6, 8, 11, 13}) headers.push_back(g.TextMatrix(0, col));
        // The header row is translated whatever the language.
        EXPECT_EQ(headers,
                  (Texts{"Account", "Payee", "Checque Number", "Cheque Date", "Town Cheque", "Amount", "Notes"}));
        for (int col : {0, 1, 3}) EXPECT_EQ(g.ColWidth(col), 0) << col;
        EXPECT_EQ(column(0), (Texts{"1", "2", "3"}));
        EXPECT_EQ(column(4), (Texts{"Bianchi Luca", "Rossi ", "Bianchi Luca"}));
        EXPECT_EQ(column(5), (Texts{"000123", "124", "125"}));
        EXPECT_EQ(column(11), c.amounts);
        EXPECT_EQ((Texts{g.TextMatrix(1, 8), g.TextMatrix(1, 9), g.TextMatrix(1, 10)}), c.flagsRow1);
        // Null flags: empty cells and no message at all.
        EXPECT_EQ((Texts{g.TextMatrix(2, 8), g.TextMatrix(2, 9), g.TextMatrix(2, 10)}), (Texts{"", "", ""}));
        EXPECT_EQ(totalCaption(), c.total);
        l.cmdPrintGrid_Click();
        ASSERT_FALSE(printed.empty());
        EXPECT_NE(printed.back().find("</table>" + c.total + "</body>"), std::string::npos) << printed.back();
        EXPECT_EQ(g.Row(), 0);
        EXPECT_TRUE(modalShown.empty());
        EXPECT_TRUE(prompts().empty()) << prompts().front();
        releaseWindows();
    }
}

TEST_F(IssuedTest, HeaderClicksSortByAmountAndByDateInBothLocales) {
    addCheque("3, 12, 'a', '2010-11-03 00:00:00', NULL, 0, 0, 0, 1000, NULL, NULL");
    addCheque("3, 12, 'b', '2010-11-01 00:00:00', NULL, 0, 0, 0, 250.5, NULL, NULL");
    addCheque("3, 12, 'c', '2010-11-02 00:00:00', NULL, 0, 0, 0, 9.99, NULL, NULL");
    for (const QLocale& locale : {LocaleScope::english(), LocaleScope::italian()}) {
        SCOPED_TRACE(locale.name().toStdString());
        LocaleScope pin(locale);
        frmAssegniEmessi& l = openList();
        l.MSFlexGrid1.pressCell(0, 11);   // by value, not by text ("1.000,00 €" last)
        EXPECT_EQ(column(5), (Texts{"c", "b", "a"}));
        l.MSFlexGrid1.pressCell(0, 6);   // the second click sorts descending
        EXPECT_EQ(column(5), (Texts{"a", "c", "b"}));
        releaseWindows();
    }
}

// Run also under the process locales it_IT.UTF-8 and en_US.UTF-8: the stored
// amounts and the cells read for sorting keep their decimals in every locale.
TEST_F(IssuedTest, TheExampleInTheRunsLocaleListsSumsSortsAndPrints) {
    LocaleScope pin(LocaleScope::run());
    env::setEnglish(false);
    addCheque("3, 12, 'a', '2010-11-01 00:00:00', NULL, 0, 0, 0, 100, NULL, NULL");
    addCheque("3, 12, 'b', '2010-11-01 00:00:00', NULL, 0, 0, 0, 250.5, NULL, NULL");
    addCheque("3, 12, 'c', '2010-11-01 00:00:00', NULL, 0, 0, 0, 1000, NULL, NULL");
    const qvtest::ExampleMoney money = qvtest::exampleMoney();
    const std::string total = "Importo complessivo degli assegni visualizzati: " + money.total;
    frmAssegniEmessi& l = openList();
    EXPECT_EQ(column(11), money.cells);
    EXPECT_EQ(totalCaption(), total);
    l.cmdPrintGrid_Click();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(printed[0].find("<td>" + money.cells[1] + "</td>"), std::string::npos) << printed[0];
    EXPECT_NE(printed[0].find("</table>" + total + "</body>"), std::string::npos) << printed[0];
    // Only the cents tell these two apart.
    addCheque("3, 12, 'd', '2010-11-01 00:00:00', NULL, 0, 0, 0, 250.25, NULL, NULL");
    l.FillGrid();
    l.MSFlexGrid1.pressCell(0, 11);
    EXPECT_EQ(column(5), (Texts{"a", "d", "b", "c"}));
    l.MSFlexGrid1.pressCell(0, 11);
    EXPECT_EQ(column(5), (Texts{"c", "b", "d", "a"}));
}

TEST_F(IssuedTest, EmptyListOpensTheEditorAndShowsAZeroTotal) {
    frmAssegniEmessi& l = openList();
    EXPECT_EQ(modalShown, Texts{"frmEditAssegniEmessi"});
    EXPECT_EQ(l.MSFlexGrid1.Rows(), 1);
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 0), "0 Records");
    EXPECT_EQ(l.MSFlexGrid1.ColWidth(0), 1000);
    EXPECT_EQ(totalCaption(), "Total amount of displayed cheques: €0.00");
    // A filter that matches nothing later: the same, and no editor.
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    l.FillGrid();
    EXPECT_EQ(totalCaption(), "Total amount of displayed cheques: €10.00");
    gFilterIssued = "a.Numero = 'none'";
    l.FillGrid();
    EXPECT_EQ(l.MSFlexGrid1.Rows(), 1);
    EXPECT_EQ(totalCaption(), "Total amount of displayed cheques: €0.00");
    EXPECT_EQ(modalShown.size(), 1u);
}

TEST_F(IssuedTest, FirstChequeWritesTheExactInsertAndRebuildsTheList) {
    LocaleScope italian(LocaleScope::italian());
    env::setEnglish(false);
    recordStatements();
    Typed t;
    t.account = 3;
    t.payee = 12;
    t.number = "123";
    t.date = "25/11/2010";
    t.trasferibile = 1;
    t.sbarrato = 1;
    t.amount = "150,50";
    t.reason = "Affitto";
    onModal([&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        // A new cheque starts on today, with nothing chosen.
        EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");
        EXPECT_EQ(e.cboDescrizione.ListIndex(), -1);
        EXPECT_EQ(e.cboNome.ListIndex(), -1);
        EXPECT_EQ(e.cboNome.List(1), "Rossi ");
        type(e, t);
        e.cmdOK.click();
    });
    frmAssegniEmessi& l = openList();   // empty: the editor opens at once
    EXPECT_EQ(writes(), Texts{"INSERT INTO AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, "
                              "LuogoEmissione, SuPiazza, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, "
                              "DateTimeCreated) VALUES (3,  12,  '123',  '2010-11-25 00:00:00',  Null,  0,  1,  1,  "
                              "150.50,  'Affitto',  Null,  '2010-11-25 14:05:09') "});
    // The load's fill, then for the first cheque of an empty list FillGrid, ClearGrid and FillGrid.
    int fills = 0;
    for (const auto& s : statements) fills += s.find(" order by a.ASSEGNIEMESSIID ") != std::string::npos;
    EXPECT_EQ(fills, 3);
    EXPECT_EQ(column(11), Texts{"150,50 €"});
    EXPECT_EQ(totalCaption(), "Importo complessivo degli assegni visualizzati: 150,50 €");
    EXPECT_EQ(rows("select Importo, typeof(Importo) from AssegniEmessi"), (Rows{{"150.5", "real"}}));
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);
}

TEST_F(IssuedTest, EditorChecksInOrderKeepTheWindowAndTheTypedDate) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    openList();
    struct Case {
        std::int64_t account, payee;
        std::string number, date, amount, message;
    };
    const std::vector<Case> cases = {
        {-1, 12, "123", "24/11/2010", "10", "Select the account"},
        {3, -1, "12A", "24/11/2010", "10", "Select the payee"},
        {3, 12, "  ", "", "", "Insert the cheque number"},
        {3, 12, "12A", "", "", "Invalid cheque number"},
        {3, 12, "123", "  ", "", "Insert the cheque date"},
        {3, 12, "123", "31/02/2010", "", "Invalid cheque date"},
        {3, 12, "123", "24/11/2010", " ", "Insert the cheque amount"},
        {3, 12, "123", "24/11/2010", "12A", "Invalid cheque amount"},
        {3, 12, "123", "24/11/2010", "10000000000000", "Invalid cheque amount"},   // 14 whole digits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        box().clear();
        gIsNew = true;
        onModal([&](Form& f) {
            auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
            Typed t;
            t.account = c.account;
            t.payee = c.payee;
            t.number = c.number;
            t.date = c.date;
            t.amount = c.amount;
            type(e, t);
            e.cmdOK.click();
            EXPECT_TRUE(e.Loaded());
            // Nothing the user typed is lost, the date included.
            EXPECT_EQ(e.txtDataAssegno.Text(), c.date);
            EXPECT_EQ(e.txtNumero.Text(), c.number);
            EXPECT_EQ(e.txtImporto.Text(), c.amount);
        });
        Instance<frmEditAssegniEmessi>::get().ShowModal();
        EXPECT_EQ(prompts(), Texts{c.message});
        EXPECT_EQ(box().calls.at(0).buttons, 48);
    }
    EXPECT_EQ(count("select count(*) from AssegniEmessi"), 1);
}

TEST_F(IssuedTest, AmountsAreStoredAsTheUserMeantThem) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    openList();
    struct Case {
        QLocale locale;
        std::string typed, stored;   // stored "": refused, nothing written
    };
    const std::vector<Case> cases = {
        {LocaleScope::english(), "1,500", "1500"},
        {LocaleScope::english(), "150,50", "150.5"},
        {LocaleScope::english(), "1.234,56", "1234.56"},
        {LocaleScope::english(), "0,500", "0.5"},
        {LocaleScope::italian(), "0.050", "0.05"},
        {LocaleScope::english(), std::string(309, '9'), ""},
        {LocaleScope::italian(), "1.234,56", "1234.56"},
        {LocaleScope::italian(), "1.500", "1500"},
        {LocaleScope::italian(), "-20", "-20"},
        {LocaleScope::italian(), "0", "0"},
        {QLocale(QLocale::French, QLocale::France), "1.000", ""},   // a thousand, or one: asked again
        {QLocale(QLocale::French, QLocale::France), "1 234,56", "1234.56"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.typed);
        LocaleScope pin(c.locale);
        box().clear();
        const long long before = count("select count(*) from AssegniEmessi");
        Typed t;
        t.account = 3;
        t.payee = 5;
        t.amount = c.typed;
        EXPECT_EQ(saveNew(t), !c.stored.empty());
        if (c.stored.empty()) {
            EXPECT_EQ(prompts(), Texts{"Invalid cheque amount"});
            EXPECT_EQ(count("select count(*) from AssegniEmessi"), before);
        } else {
            EXPECT_TRUE(prompts().empty());
            EXPECT_EQ(scalar("select Importo from AssegniEmessi order by ASSEGNIEMESSIID desc limit 1"), c.stored);
        }
    }
}

TEST_F(IssuedTest, NumberAndTextsAreStoredAsTyped) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    frmAssegniEmessi& l = openList();
    recordStatements();
    Typed t;
    t.account = 1;
    t.payee = 12;
    t.number = " 000123 ";
    t.place = "Sant'Anna";
    t.suPiazza = 1;
    t.amount = "10";
    t.notes = "   ";
    ASSERT_TRUE(saveNew(t));
    ASSERT_EQ(writes().size(), 1u);
    EXPECT_NE(writes()[0].find("'000123',  '2010-11-25 00:00:00',  'Sant''Anna',  1,  0,  0,  10,  Null,  Null,"),
              std::string::npos)
        << writes()[0];
    EXPECT_EQ(rows("select Numero, typeof(Numero), LuogoEmissione, ifnull(AssegnoNote, '-') from AssegniEmessi "
                   "where ASSEGNIEMESSIID = 2"),
              (Rows{{"000123", "text", "Sant'Anna", "-"}}));
    // A second cheque with the same number is accepted; AddGridRow took the newest key.
    ASSERT_TRUE(saveNew(t));
    EXPECT_EQ(l.mASSEGNIEMESSIID, 3);
    EXPECT_EQ(column(5), (Texts{"1", "000123", "000123"}));
    EXPECT_EQ(column(11), (Texts{"10.00 €", "10.00 €", "10.00 €"}));   // rebuilt by a whole fill
}

TEST_F(IssuedTest, EditKeepsTheCreationStampAndNullsEmptiedTexts) {
    LocaleScope italian(LocaleScope::italian());
    addCheque("1, 5, '0', '2010-10-01 00:00:00', NULL, 0, 0, 0, 1, NULL, NULL");
    addCheque("3, 12, '000123', '2010-11-01 00:00:00', 'Roma', -1, 0, 1, 1234.5, 'Affitto', 'nota'");
    frmAssegniEmessi& l = openList();
    recordStatements();
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        EXPECT_EQ(e.cboDescrizione.Text(), "Conto Ufficio");
        EXPECT_EQ(e.cboNome.Text(), "Bianchi Luca");
        EXPECT_EQ(e.idDelContoCorrente, 3);
        EXPECT_EQ(e.idDelBeneficiarioEm, 12);
        EXPECT_EQ(e.txtNumero.Text(), "000123");
        EXPECT_EQ(e.txtDataAssegno.Text(), "01/11/2010");   // the stored date, not today
        EXPECT_EQ(e.txtImporto.Text(), "1234,5");
        EXPECT_EQ((std::vector<int>{e.chkSuPiazza.Value(), e.chkTrasferibile.Value(), e.chkSbarrato.Value()}),
                  (std::vector<int>{1, 0, 1}));
        e.txtLuogoEmissione.setText("");
        e.txtAssegnoNote.setText("  ");
        e.cmdOK.click();
    });
    l.MSFlexGrid1.doubleClickCell(2, 2);
    EXPECT_EQ(l.mASSEGNIEMESSIID, 2);
    EXPECT_EQ(writes(), Texts{"UPDATE AssegniEmessi SET CONTOCORRENTEID = 3,  ANAGRAFICAID = 12,  Numero = '000123',  "
                              "DataAssegno = '2010-11-01 00:00:00',  LuogoEmissione = Null,  SuPiazza = 1,  "
                              "Trasferibile = 0,  Sbarrato = 1,  Importo = 1234.5,  Causale = 'Affitto',  "
                              "AssegnoNote = Null,  DateTimeLastUpdated = '2010-11-25 14:05:09' WHERE "
                              "ASSEGNIEMESSIID = 2 "});
    EXPECT_EQ(rows("select DateTimeCreated, DateTimeLastUpdated, Importo, ifnull(LuogoEmissione, '-'), "
                   "ifnull(AssegnoNote, '-') from AssegniEmessi where ASSEGNIEMESSIID = 2"),
              (Rows{{"2010-01-01 10:00:00", "2010-11-25 14:05:09", "1234.5", "-", "-"}}));
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);   // rebuilt: no current row
    EXPECT_EQ(column(11), (Texts{"1,00 €", "1.234,50 €"}));
}

// The date field of a shown editor, typed into with real keys: it shows the
// stored day as dd/mm/yyyy and reads dd/mm/yyyy back in a month-first locale
// and a day-first one; its calendar drops down with Alt+Down, moves with the
// arrows, and its today button carries the language's today text.
TEST_F(IssuedTest, DateFieldRoundTripWithRealKeysInBothLocales) {
    addCheque("3, 12, '7', '2026-12-08 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    struct Case {
        QLocale locale;
        bool english;
        const char* todayText;
    };
    // The last case: the English program on an Italian machine names its days in English.
    for (const Case& c : {Case{LocaleScope::english(), true, "Today"}, Case{LocaleScope::italian(), false, "Oggi"},
                          Case{LocaleScope::italian(), true, "Today"}}) {
        SCOPED_TRACE(c.locale.name().toStdString());
        LocaleScope pin(c.locale);
        env::setEnglish(c.english);
        exec("update AssegniEmessi set DataAssegno = '2026-12-08 00:00:00'");
        frmAssegniEmessi& l = openList();
        onModal([&](Form& f) {
            auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
            f.widget()->show();
            f.widget()->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(f.widget()));
            QWidget* field = e.txtDataAssegno.widget();
            EXPECT_EQ(e.txtDataAssegno.Text(), "08/12/2026");
            // Tab never stops on the drop-down button.
            for (QWidget* part : field->findChildren<QWidget*>()) EXPECT_EQ(part->focusPolicy(), Qt::NoFocus);
            field->setFocus(Qt::OtherFocusReason);
            auto retype = [&](const char* text) {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, text);
                return e.txtDataAssegno.Text();
            };
            // Not a date, then empty: the field keeps them; the editor's checks judge.
            EXPECT_EQ(retype("not a date"), "not a date");
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Delete);
            EXPECT_EQ(e.txtDataAssegno.Text(), "");
            EXPECT_EQ(retype("2026-12-09"), "2026-12-09");
            EXPECT_EQ(retype("9/12/2026"), "9/12/2026");
            EXPECT_FALSE(e.txtDataAssegno_Validate());
            // The calendar opens on the typed day; Right and Enter take the next one.
            QTest::keyClick(field, Qt::Key_Down, Qt::AltModifier);
            QWidget* popup = QApplication::activePopupWidget();
            ASSERT_NE(popup, nullptr);
            auto* calendar = popup->findChild<QCalendarWidget*>();
            auto* today = popup->findChild<QPushButton*>();
            ASSERT_TRUE(calendar && today);
            EXPECT_EQ(calendar->selectedDate(), QDate(2026, 12, 9));
            EXPECT_EQ(today->text().toStdString(), c.todayText);
            EXPECT_EQ(calendar->locale().language(), c.english ? QLocale::English : QLocale::Italian);
            EXPECT_EQ(calendar->firstDayOfWeek(), c.locale.firstDayOfWeek());
            QWidget* days = QApplication::focusWidget();
            ASSERT_TRUE(days && calendar->isAncestorOf(days));
            QTest::keyClick(days, Qt::Key_Right);
            QTest::keyClick(days, Qt::Key_Return);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(e.txtDataAssegno.Text(), "10/12/2026");
            // Escape leaves the field as it was; the today button puts the clock's day.
            QTest::keyClick(field, Qt::Key_F4);
            ASSERT_NE(QApplication::activePopupWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(e.txtDataAssegno.Text(), "10/12/2026");
            e.txtDataAssegno.dropDown();
            QTest::mouseClick(QApplication::activePopupWidget()->findChild<QPushButton*>(), Qt::LeftButton);
            EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");
            // What is saved is what was typed, day first.
            EXPECT_EQ(retype("08/01/2027"), "08/01/2027");
            QTest::mouseClick(e.cmdOK.widget(), Qt::LeftButton);
            EXPECT_FALSE(e.Loaded());
        });
        l.MSFlexGrid1.doubleClickCell(1, 2);
        EXPECT_EQ(scalar("select DataAssegno from AssegniEmessi"), "2027-01-08 00:00:00");
        releaseWindows();
    }
}

TEST_F(IssuedTest, TodayComesOnlyWhenAWindowAboveCloses) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    openList();
    gIsNew = true;
    struct Above : Form {
        Above() : Form("frmAbove") {}
    };
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");
        e.txtDataAssegno.setText("31/02/2010");
        EXPECT_TRUE(e.txtDataAssegno_Validate());   // refused: the focus stays
        e.txtDataAssegno.setText("11/01/2010");
        EXPECT_FALSE(e.txtDataAssegno_Validate());
        e.cmdOK.click();   // no account: a message box, not an activation
        e.cmdPrint.click();   // the print preview is no window of the program either
        EXPECT_EQ(e.txtDataAssegno.Text(), "11/01/2010");
        Above above;
        above.ShowModal();   // closes at once: the editor is active again
        EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");
    });
    Instance<frmEditAssegniEmessi>::get().ShowModal();
    EXPECT_EQ(prompts(), (Texts{"Invalid cheque date", "Select the account"}));
    EXPECT_EQ(printed.size(), 1u);
}

TEST_F(IssuedTest, HomeAndEndWalkTheListsUntracedAndDoNothingInAnEmptyOne) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    openList();
    exec("delete from MieiContiCorrenti");
    gIsNew = true;
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        e.cboNome.keyUp(35);
        EXPECT_EQ(e.idDelBeneficiarioEm, 5);   // Rossi, last by surname
        e.cboNome.keyUp(36);
        EXPECT_EQ(e.idDelBeneficiarioEm, 12);
        gCurrentProc.clear();
        e.cboNome.keyUp(40);
        EXPECT_EQ(gCurrentProc, "");   // not traced
        EXPECT_EQ(e.cboNome.ListIndex(), 0);
        for (int key : {35, 36}) e.cboDescrizione.keyUp(key);   // no account to go to
        EXPECT_EQ(e.cboDescrizione.ListIndex(), -1);
        e.cmdCancel.click();
    });
    Instance<frmEditAssegniEmessi>::get().ShowModal();
    EXPECT_TRUE(box().calls.empty()) << box().calls[0].prompt;
}

TEST_F(IssuedTest, FailedStatementsKeepTheEditorOpenAndTheListAsItWas) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    frmAssegniEmessi& l = openList();
    exec("create trigger nowrite before insert on AssegniEmessi begin select raise(abort, 'full'); end");
    exec("create trigger noupdate before update on AssegniEmessi begin select raise(abort, 'locked'); end");
    Typed t;
    t.account = 3;
    t.payee = 12;
    EXPECT_FALSE(saveNew(t));
    EXPECT_EQ(prompts(), Texts{"Error 3146 (full) in procedure gDbExecute of Modulo basGeneral"});
    box().clear();
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        e.txtNumero.setText("99");
        e.cmdOK.click();
        EXPECT_TRUE(e.Loaded());
        EXPECT_EQ(e.txtNumero.Text(), "99");
    });
    l.MSFlexGrid1.doubleClickCell(1, 2);
    EXPECT_EQ(prompts(), Texts{"Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral"});
    EXPECT_EQ(column(5), Texts{"1"});
    EXPECT_EQ(rows("select Numero from AssegniEmessi"), Rows{{"1"}});

    // A full disk, or one that refuses the write: said in plain words, nothing
    // written, the editor open; it saves once there is room.
    exec("drop trigger nowrite");
    sqlite3* db = gSqlLiteDb()->handle();
    const auto pagesAllowed = [db](const std::string& pages) {
        sqlite3_exec(db, ("PRAGMA max_page_count = " + pages).c_str(), nullptr, nullptr, nullptr);
    };
    struct Case {
        const char* what;
        std::function<void()> fill, makeRoom;
        const char* message;
    };
    std::optional<qvtest::DiskFullAt> refuses;
    const std::vector<Case> cases = {
        {"full", [&] { pagesAllowed(scalar("PRAGMA page_count").value()); }, [&] { pagesAllowed("1073741823"); },
         kDbFullText},
        {"write refused", [&] { refuses.emplace(1); }, [&] { refuses.reset(); }, kDbDiskText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        box().clear();
        t.notes = std::string(200000, c.what[0]);
        c.fill();
        EXPECT_FALSE(saveNew(t));   // the editor stays open
        c.makeRoom();
        EXPECT_EQ(prompts(), Texts{c.message});
        EXPECT_TRUE(saveNew(t));
        EXPECT_EQ(count("select count(*) from AssegniEmessi where AssegnoNote = '" + t.notes + "'"), 1);
    }
}

TEST_F(IssuedTest, ALockedDatabaseOpensNoEditorAndSaysSoOnce) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    frmAssegniEmessi& l = openList();
    sqlite3* other = nullptr;   // another program, in the middle of writing
    ASSERT_EQ(sqlite3_open(dbPath().c_str(), &other), SQLITE_OK);
    const auto lock = [other] { ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK); };
    const auto unlock = [other] { sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr); };
    // Each read is told once, in plain words; a list not read shows no total.
    struct Case {
        const char* what;
        std::function<void()> read;
        std::string message;
        Texts windows;   // shown modally
        bool listKept;
    };
    const std::vector<Case> cases = {
        {"editor", [&] { lock(); l.MSFlexGrid1.doubleClickCell(1, 2); unlock(); }, kDbBusyText, {}, true},
        {"filter", [&] { lock(); l.cmdSelect_Click(); unlock(); }, kDbBusyText, {}, true},
        {"filter OK", [&] { runFilter([&](frmSelectAssegniEmessi& f) { lock(); f.cmdOK.click(); unlock(); }); },
         kDbBusyText, {"frmSelectAssegniEmessi"}, false},
        // Not a lock: a record that cannot be read opens no editor, which would save its empty inputs.
        {"editor, table gone",
         [&] {
             exec("alter table MieiContiCorrenti rename to Hidden");
             l.MSFlexGrid1.doubleClickCell(1, 2);
             exec("alter table Hidden rename to MieiContiCorrenti");
         },
         "Error 3146 (no such table: MieiContiCorrenti) in procedure gRsOpen of Modulo basGeneral", {}, true},
        // The main window reads its settings again whenever it comes back.
        {"main window", [&] { lock(); mainWindow().activate(); unlock(); }, kDbBusyText, {}, true},
        {"list", [&] { lock(); l.FillGrid(); unlock(); }, kDbBusyText, {}, false},
        // Not a lock: a search text over the engine's limit for a pattern.
        {"long search", [&] { runFilter([](frmSelectAssegniEmessi& f) { f.txtCausale.setText(std::string(60000, 'a')); }); },
         kDbPatternText, {"frmSelectAssegniEmessi"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gFilterIssued.clear();
        l.FillGrid();
        modalShown.clear();
        box().clear();
        c.read();
        EXPECT_EQ(prompts(), Texts{c.message});
        EXPECT_EQ(modalShown, c.windows);
        EXPECT_EQ(l.MSFlexGrid1.Rows(), c.listKept ? 2 : 1);
        EXPECT_EQ(totalCaption(), c.listKept ? "Total amount of displayed cheques: €10.00" : "");
    }
    sqlite3_close(other);
    // Free again: the editor opens with its lists.
    gFilterIssued.clear();
    l.FillGrid();
    int accounts = 0, payees = 0;
    onModal([&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        accounts = e.cboDescrizione.ListCount();
        payees = e.cboNome.ListCount();
    });
    l.MSFlexGrid1.doubleClickCell(1, 2);
    EXPECT_EQ(accounts, 2);
    EXPECT_EQ(payees, 2);
}

TEST_F(IssuedTest, APastedNulIsDroppedAndEveryOtherCharacterStoredAsItStands) {
    openList();
    Typed t;
    t.account = 1;
    t.payee = 12;
    onModal([&](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        type(e, t);
        // Pasted as the boxes take a paste.
        auto text = [](std::u16string t) { return QString(reinterpret_cast<const QChar*>(t.data()), t.size()); };
        static_cast<QLineEdit*>(e.txtCausale.widget())->insert(text(std::u16string(u"a\0b\x01" u"c\td\x1f", 8)));
        static_cast<QPlainTextEdit*>(e.txtAssegnoNote.widget())->insertPlainText(text(std::u16string(u"n\0\x7fo", 4)));
        e.cmdOK.click();
        EXPECT_FALSE(e.Loaded());
    });
    gIsNew = true;
    Instance<frmEditAssegniEmessi>::get().ShowModal();
    EXPECT_EQ(prompts(), Texts{});
    EXPECT_EQ(rows("select Causale, AssegnoNote from AssegniEmessi"), (Rows{{"ab\x01""c\td\x1f", "n\x7fo"}}));
}

TEST_F(IssuedTest, DeleteAsksThenReloadsWithNoCurrentRow) {
    addCheque("3, 12, 'a', '2010-11-01 00:00:00', NULL, 0, 0, 0, 100, NULL, NULL");
    addCheque("3, 12, 'b', '2010-11-02 00:00:00', NULL, 0, 0, 0, 250.5, NULL, NULL");
    addCheque("3, 12, 'c', '2010-11-03 00:00:00', NULL, 0, 0, 0, 1000, NULL, NULL");
    frmAssegniEmessi& l = openList();
    FlexGrid& g = l.MSFlexGrid1;
    // After a fill no row is current: nothing is asked.
    l.cmdDelete_Click();
    EXPECT_TRUE(box().calls.empty());
    g.pressCell(2, 2);
    box().queueAnswer(kAnswerNo);
    g.pressKey(46);
    EXPECT_EQ(prompts(), Texts{"Are you sure to delete the record?"});
    EXPECT_EQ(box().calls[0].buttons, 4);
    EXPECT_EQ(count("select count(*) from AssegniEmessi"), 3);
    EXPECT_EQ(column(5), (Texts{"a", "b", "c"}));
    // Sorted, then deleted: the list comes back whole, in key order.
    g.pressCell(0, 11);
    g.pressCell(0, 11);
    g.pressCell(2, 2);   // "b"
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(l.mASSEGNIEMESSIID, 2);
    EXPECT_EQ(rows("select Numero from AssegniEmessi"), (Rows{{"a"}, {"c"}}));
    EXPECT_EQ(column(5), (Texts{"a", "c"}));
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(totalCaption(), "Total amount of displayed cheques: €1,100.00");
    // A delete the database refuses keeps the row and the list.
    box().clear();
    exec("create trigger nodelete before delete on AssegniEmessi begin select raise(abort, 'locked'); end");
    g.pressCell(1, 2);
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(column(5), (Texts{"a", "c"}));
    EXPECT_EQ(prompts().back(), "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral");
}

TEST_F(IssuedTest, PrintoutHasTheElevenColumnsAndTheTotalLine) {
    addCheque("3, 12, '000123', '2010-11-01 00:00:00', 'Roma', 1, 0, 1, 100, 'Affitto', 'n'");
    addCheque("1, 5, '124', '2010-11-02 00:00:00', NULL, 0, 0, 0, 250.5, NULL, NULL");
    addCheque("1, 5, '125', '2010-11-02 00:00:00', NULL, 0, 0, 0, 1000, NULL, NULL");
    frmAssegniEmessi& l = openList();
    l.cmdPrintGrid_Click();
    ASSERT_EQ(printed.size(), 1u);
    const std::string& page = printed[0];
    EXPECT_NE(page.find("Quorvel - Outgoing cheques</p>"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Account</th><th>Payee</th><th>Checque Number</th><th>Cheque Date</th><th>Place of "
                        "issue</th><th>Town Cheque</th><th>Negotiable</th><th>Crossed</th><th>Amount</th><th>Reason</"
                        "th><th>Notes</th></tr>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<tr><td>Conto Ufficio</td><td>Bianchi Luca</td><td>000123</td><td>2010-11-01 "
                        "00:00:00</td><td>Roma</td><td>True</td><td>False</td><td>True</td><td>100.00 "
                        "€</td><td>Affitto</td><td>n</td></tr>"),
              std::string::npos);
    EXPECT_EQ(page.find("Created"), std::string::npos);
    EXPECT_NE(page.find("</table>Total amount of displayed cheques: €1,350.50</body></html>"), std::string::npos);
}

TEST_F(IssuedTest, FilterConditionTexts) {
    addCheque("3, 12, '123', '2010-11-05 00:00:00', 'Roma', 0, 1, 0, 100.5, NULL, NULL");
    addCheque("1, 5, '12', '2010-10-20 00:00:00', 'Milano', 1, 0, 1, 50, NULL, NULL");
    addCheque("3, 5, '34', '2010-11-30 00:00:00', NULL, 0, 0, 0, 1000, NULL, NULL");
    addCheque("1, 12, '1234', '2010-12-01 00:00:00', NULL, 1, 1, 1, 2000, NULL, NULL");
    openList();
    using Script = std::function<void(frmSelectAssegniEmessi&)>;
    struct Case {
        std::string name;
        Script script;
        std::string filter;
        Texts listed;
    };
    const std::vector<Case> cases = {
        {"account and flag with AND",
         [](auto& s) {
             selectById(s.cboDescrizione, 3);
             s.chkTrasferibile.setValue(1);
         },
         "a.CONTOCORRENTEID = 3 AND a.Trasferibile =True ", {"123"}},
        {"account and flag with OR",
         [](auto& s) {
             selectById(s.cboDescrizione, 3);
             s.chkTrasferibile.setValue(1);
             s.optOR->setValue(true);
         },
         "a.CONTOCORRENTEID = 3 OR a.Trasferibile =True ", {"123", "34", "1234"}},
        {"payee and crossed", [](auto& s) {
             selectById(s.cboNome, 5);
             s.chkSbarrato.setValue(1);
         },
         "a.ANAGRAFICAID = 5 AND a.Sbarrato =True ", {"12"}},
        {"list of numbers", [](auto& s) { s.txtNumero.setText("12,34"); }, "a.Numero IN ('12', '34')",
         {"12", "34"}},
        {"part of a number", [](auto& s) { s.txtNumero.setText(" 123 "); }, "a.Numero Like '%123%'",
         {"123", "1234"}},
        {"place", [](auto& s) { s.txtLuogoEmissione.setText("Rom"); }, "a.LuogoEmissione Like '%Rom%'", {"123"}},
        {"town unticked", [](auto& s) { s.chkSuPiazza.setValue(0); }, "a.SuPiazza = False ", {"123", "34"}},
        {"amount bounds",
         [](auto& s) {
             s.txtImportoDa.setText("100,50");
             s.txtImportoA.setText("1,000");
         },
         "a.Importo >= 100.50  AND a.Importo <= 1000 ", {"123", "34"}},
        {"nothing", [](auto&) {}, "", {"123", "12", "34", "1234"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        runFilter([&](frmSelectAssegniEmessi& s) {
            s.cmdClear.click();
            s.optAND->setValue(true);
            c.script(s);
        });
        EXPECT_EQ(gFilterIssued, c.filter);
        EXPECT_EQ(column(5), c.listed);
    }
    // Date bounds are day first in every locale; the end day is included.
    for (const QLocale& l : {LocaleScope::italian(), LocaleScope::english()}) {
        LocaleScope pin(l);
        runFilter([](frmSelectAssegniEmessi& s) {
            s.cmdClear.click();
            s.txtDataDa.setText("01/11/2010");
            s.txtDataA.setText("30/11/2010");
        });
        EXPECT_EQ(gFilterIssued,
                  "a.DataAssegno >= ('2010-11-01 00:00:00') AND a.DataAssegno <= ('2010-11-30 00:00:00')");
        EXPECT_EQ(column(5), (Texts{"123", "34"}));
    }
    EXPECT_TRUE(prompts().empty());
}

TEST_F(IssuedTest, FilterInputChecksChangeNothing) {
    addCheque("3, 12, '123', '2010-11-05 00:00:00', NULL, 0, 1, 0, 100.5, NULL, NULL");
    addCheque("1, 5, '12', '2010-10-20 00:00:00', NULL, 1, 0, 1, 50, NULL, NULL");
    openList();
    runFilter([](frmSelectAssegniEmessi& s) { s.txtNumero.setText("12,"); });
    const std::string before = gFilterIssued;
    struct Case {
        std::string dateFrom, dateTo, amountFrom, amountTo, message;
    };
    const std::vector<Case> cases = {
        {"31/02/2010", "x", "abc", "", "Invalid start date"},
        {"", "x", "abc", "", "Invalid end date"},
        {"", "", "abc", "12A", "Invalid minimum amount"},
        {"", "", "", "12A", "Invalid maximum amount"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        box().clear();
        runFilter([&](frmSelectAssegniEmessi& s) {
            s.txtDataDa.setText(c.dateFrom);
            s.txtDataA.setText(c.dateTo);
            s.txtImportoDa.setText(c.amountFrom);
            s.txtImportoA.setText(c.amountTo);
            s.cmdOK.click();
            EXPECT_TRUE(s.Loaded());
            s.cmdCancel.click();
        });
        EXPECT_EQ(prompts(), Texts{c.message});
        EXPECT_EQ(gFilterIssued, before);
        EXPECT_EQ(column(5), Texts{"12"});
    }
}

TEST_F(IssuedTest, FilterResetGreysTheFlagsAndInputsComeBackByKey) {
    addCheque("3, 12, '123', '2010-11-05 00:00:00', NULL, 0, 1, 0, 100.5, NULL, NULL");
    addCheque("1, 5, '12', '2010-10-20 00:00:00', NULL, 1, 0, 1, 50, NULL, NULL");
    frmAssegniEmessi& l = openList();
    runFilter([](frmSelectAssegniEmessi& s) {
        EXPECT_EQ((std::vector<int>{s.chkSuPiazza.Value(), s.chkTrasferibile.Value(), s.chkSbarrato.Value()}),
                  (std::vector<int>{2, 2, 2}));
        selectById(s.cboDescrizione, 3);
        s.chkSbarrato.setValue(0);
        s.optOR->setValue(true);
    });
    EXPECT_EQ(gFilterIssued, "a.CONTOCORRENTEID = 3 OR a.Sbarrato =False ");
    // The main window's reset empties the filter only; an account that sorts
    // first moves "Conto Ufficio" down the list, and it still comes back.
    mainWindow().annullaWhere();
    exec("insert into MieiContiCorrenti (CONTOCORRENTEID, Descrizione) values (7, 'A conto')");
    l.FillGrid();
    EXPECT_EQ(column(5), (Texts{"123", "12"}));
    runFilter([](frmSelectAssegniEmessi& s) {
        EXPECT_EQ(s.cboDescrizione.Text(), "Conto Ufficio");
        EXPECT_EQ(s.chkSbarrato.Value(), 0);
        EXPECT_TRUE(s.optOR->Value());
        s.cmdClear.click();
        EXPECT_EQ((std::vector<int>{s.chkSuPiazza.Value(), s.chkTrasferibile.Value(), s.chkSbarrato.Value()}),
                  (std::vector<int>{2, 2, 2}));
        EXPECT_EQ(s.cboDescrizione.ListIndex(), -1);
        EXPECT_TRUE(s.optOR->Value());   // Reset leaves the join alone
    });
    EXPECT_EQ(gFilterIssued, "");
    EXPECT_EQ(column(5), (Texts{"123", "12"}));
    // The printout pairs inputs with their labels: the two "from" inputs have none.
    runFilter([](frmSelectAssegniEmessi& s) {
        s.txtDataDa.setText("01/11/2010");
        s.txtDataA.setText("30/11/2010");
        s.cmdPrint.click();
        s.cmdCancel.click();
    });
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(printed[0].find("<tr><td>01/11/2010</td></tr><tr></tr><tr><th>to</th><td>30/11/2010</td></tr>"),
              std::string::npos)
        << printed[0];
}

TEST_F(IssuedTest, QueriesAreTheWindowsOwnTexts) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 0, 0, 0, 10, NULL, NULL");
    const std::string payee = " (ifnull(c.cognome,'') || ifnull(' ','') || ifnull(c.Nome,'')) ";
    const std::string tables = "FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c ";
    const std::string join = "a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID ";
    const std::string rowQuery =
        "SELECT a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione as ContoCorrente, a.ANAGRAFICAID, " + payee +
        " as Beneficiario,  a.Numero, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  a.Sbarrato, "
        "a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated as DataCreazione,  a.DateTimeLastUpdated as "
        "DataUltimaModifica " + tables + "WHERE ASSEGNIEMESSIID = ";
    const std::string accounts = "SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione ";
    gFilterIssued = "a.Numero Like '%1%'";
    recordStatements();
    frmAssegniEmessi& l = openList();
    onModal([](Form& f) { dynamic_cast<frmEditAssegniEmessi&>(f).cmdOK.click(); });
    l.MSFlexGrid1.doubleClickCell(1, 2);
    Typed t;
    t.account = 3;
    t.payee = 12;
    ASSERT_TRUE(saveNew(t));
    runFilter([](frmSelectAssegniEmessi&) {});
    for (const std::string& expected : {
             "SELECT a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione as ContoCorrente, a.ANAGRAFICAID, " + payee +
                 " as Beneficiario,  a.Numero as NumeroAssegno, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, "
                 "a.Trasferibile,  a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated as "
                 "DataCreazione,  a.DateTimeLastUpdated as DataUltimaModifica " + tables + "WHERE " + join +
                 " AND (a.Numero Like '%1%') order by a.ASSEGNIEMESSIID ",
             "SELECT a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione, a.ANAGRAFICAID, c.Nome,  a.Numero, "
             "a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  a.Sbarrato, a.Importo, a.Causale, "
             "a.AssegnoNote, a.DateTimeCreated,  a.DateTimeLastUpdated " + tables + "WHERE ASSEGNIEMESSIID = 1 AND " +
                 join,
             accounts,
             std::string("SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome"),
             rowQuery + "1 AND " + join,   // UpdateGridRow after the edit
             std::string("SELECT MAX(ASSEGNIEMESSIID) FROM AssegniEmessi "),
             rowQuery + "2 AND " + join,   // AddGridRow after the insert
             std::string("SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome "),
         })
        EXPECT_NE(std::find(statements.begin(), statements.end(), expected), statements.end()) << expected;
}

TEST_F(IssuedTest, AFlagThatIsNoNumberReportsEachCell) {
    addCheque("3, 12, '1', '2010-11-01 00:00:00', NULL, 'x', 1, 0, 10, NULL, NULL");
    addCheque("3, 12, '2', '2010-11-01 00:00:00', NULL, 'x', 0, 1, 10, NULL, NULL");
    openList();
    EXPECT_EQ(column(8), (Texts{"", ""}));
    EXPECT_EQ(column(9), (Texts{"True", "False"}));
    EXPECT_EQ(column(10), (Texts{"False", "True"}));
    EXPECT_EQ(prompts(), Texts(2, "Error 13 (Type mismatch) in procedure BooleanToString of Modulo basDbDialect"));
}

TEST_F(IssuedTest, TheRoadOfOneRequest) {
    gFilterIssued = "stale";
    // The register is empty: the editor comes at once, before the list shows.
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniEmessi&>(f);
        EXPECT_EQ(e.LumoXPForm1.Caption(), "Outgoing checques");
        EXPECT_EQ(e.lblNumero.Caption(), "Checque Number");
        Typed t;
        t.account = 3;
        t.payee = 12;
        t.number = "0042";
        t.amount = "1,250.75";
        t.reason = "Rent";
        type(e, t);
        e.cmdOK.click();
    });
    onModal([this](Form& f) {
        auto& l = dynamic_cast<frmAssegniEmessi&>(f);
        EXPECT_EQ(gFilterIssued, "");
        EXPECT_EQ(l.cmdAdd.Caption(), "&Add");
        EXPECT_EQ(column(5), Texts{"0042"});
        EXPECT_EQ(column(6), Texts{"2010-11-25 00:00:00"});
        EXPECT_EQ(column(11), Texts{"1,250.75 €"});
        EXPECT_EQ(totalCaption(), "Total amount of displayed cheques: €1,250.75");
        l.cmdClose_Click();
    });
    mainWindow().cmdAssegniEmessi.click();
    EXPECT_EQ(modalShown, (Texts{"frmEditAssegniEmessi", "frmAssegniEmessi"}));
    EXPECT_EQ(rows("select CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo, Causale, DateTimeCreated "
                   "from AssegniEmessi"),
              (Rows{{"3", "12", "0042", "2010-11-25 00:00:00", "1250.75", "Rent", "2010-11-25 14:05:09"}}));
    EXPECT_FALSE(Instance<frmAssegniEmessi>::exists());
    EXPECT_FALSE(Instance<frmEditAssegniEmessi>::exists());
    EXPECT_TRUE(prompts().empty());
}

}  // namespace
