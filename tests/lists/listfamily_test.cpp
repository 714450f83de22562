// The list, editor and filter family, driven through the contact types register.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>

#include "core/database.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "lists/filterwindow.h"
#include "platform/webbrowser.h"
#include "registers/frmEditTipologiaPersone.h"
#include "registers/frmSelectTipologiaPersone.h"
#include "registers/frmTipologiaPersone.h"
#include "fixture.h"

using namespace qv;

namespace {

class ListFamilyTest : public qvtest::ListFixture<frmTipologiaPersone> {
protected:
    void addTypes(std::initializer_list<const char*> names) {
        for (const char* n : names)
            exec(std::string("insert into TipologiaPersone (Tipologia, DateTimeCreated) values ('") + n +
                 "', '2010-01-01 10:00:00')");
    }
    void editorTypes(const std::string& text) {
        onModal([text](Form& f) {
            auto& e = dynamic_cast<frmEditTipologiaPersone&>(f);
            e.txtTipologia.setText(text);
            e.cmdOK.click();
        });
    }
};

TEST_F(ListFamilyTest, FilterJoinsTheBaseQueryByItsWhere) {
    struct Case {
        std::string base, filter, expected;
    };
    const std::vector<Case> cases = {
        {"SELECT a FROM t a ", "", "SELECT a FROM t a "},
        {"SELECT a FROM t a ", "a.x = 1", "SELECT a FROM t a  WHERE a.x = 1"},
        {"SELECT a FROM t a WHERE a.y = 2 ", "a.x = 1", "SELECT a FROM t a WHERE a.y = 2  AND (a.x = 1)"},
        {"SELECT a FROM t a where a.y = 2 ", "a.x = 1", "SELECT a FROM t a where a.y = 2  AND (a.x = 1)"},
        {"SELECT a.WHEREVER FROM t a ", "a.x = 1", "SELECT a.WHEREVER FROM t a  WHERE a.x = 1"},
    };
    struct Probe : frmTipologiaPersone {
        std::string query() const { return listQuery(); }
    };
    for (const auto& c : cases) {
        Probe p;
        const_cast<ListDescriptor&>(p.descriptor()).baseQuery = c.base;
        gFilterTypes = c.filter;
        EXPECT_EQ(p.query(), c.expected);
    }
    gFilterTypes.clear();
}

TEST_F(ListFamilyTest, HeaderRules) {
    struct Probe : frmTipologiaPersone {
        std::string header(const std::string& name, const std::string& query) const {
            return headerFor(name, query).value_or("<kept>");
        }
    };
    struct Case {
        std::string name, query, expected;
    };
    const std::vector<Case> cases = {
        // A nameless field is named after the query's count, to its own bracket.
        {"", "SELECT a.X, count(max(a.Y)) + 1 FROM t a ", "count(max(a.Y))"},
        // No count to name it by: the header the cell already shows stays.
        {"", "SELECT a.X, a.Y || '' FROM t a ", "<kept>"},
        {"Expr1001", "", "Count"},
        {"TIPOLOGIAID", "", "IDFIELD"},
        {"Tipologiaid", "", "Tipologiaid"},
        {"DataUltimaModifica", "", "Data Ultima Modifica"},
    };
    Probe p;
    for (const auto& c : cases) EXPECT_EQ(p.header(c.name, c.query), c.expected) << c.name << c.query;
}

TEST_F(ListFamilyTest, ColumnWidthRule) {
    const std::vector<std::pair<long, int>> cases = {
        {0, 600}, {50, 600}, {3000, 3250}, {5999, 5999}, {6000, 6000}, {7500, 7500}, {9000, 8000}, {600, 1050}};
    for (const auto& [measured, width] : cases) EXPECT_EQ(columnWidthFor(measured), width) << measured;
}

TEST_F(ListFamilyTest, FillShowsHeadersCellsAndMeasuresTheFirstSixtyRows) {
    for (int i = 1; i <= 70; ++i) addTypes({i == 61 ? "a very long type name that is only in data row sixty-one of the list" : "T"});
    exec("update TipologiaPersone set DateTimeLastUpdated = '2010-02-02 08:00:00' where TIPOLOGIAID = 2");
    frmTipologiaPersone& l = openList();
    FlexGrid& g = l.MSFlexGrid1;
    ASSERT_EQ(g.Rows(), 71);
    ASSERT_EQ(g.Cols(), 4);
    EXPECT_EQ(g.TextMatrix(0, 0), "IDFIELD");
    EXPECT_EQ(g.TextMatrix(0, 1), "Type");
    EXPECT_EQ(g.TextMatrix(0, 2), "Created");
    EXPECT_EQ(g.TextMatrix(0, 3), "Last Updated");
    EXPECT_EQ(g.ColWidth(0), 0);
    EXPECT_EQ(g.TextMatrix(2, 3), "2010-02-02 08:00:00");
    EXPECT_EQ(g.TextMatrix(1, 3), "");   // Null shows empty
    // Measured on the headers as shown.
    EXPECT_EQ(g.ColWidth(1), columnWidthFor(std::max(g.TextWidth("Type"), g.TextWidth("T"))));
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(screen::mousePointer(), 0);
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ListFamilyTest, EmptyListOpensTheEditorAndTheFirstSaveRefills) {
    editorTypes("  Clienti  ");
    frmTipologiaPersone& l = openList();
    ASSERT_EQ(modalShown, std::vector<std::string>{"frmEditTipologiaPersone"});
    EXPECT_EQ(rows("select Tipologia, DateTimeCreated, ifnull(DateTimeLastUpdated,'-') from TipologiaPersone"),
              (std::vector<std::vector<std::string>>{{"Clienti", "2010-11-25 14:05:09", "-"}}));
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 1), "Type");   // refilled by FillGrid, headers in place
    EXPECT_EQ(column(1), std::vector<std::string>{"Clienti"});

    // A later insert appends one row and takes the newest key.
    editorTypes("Fornitori");
    l.cmdAdd_Click();
    EXPECT_EQ(column(1), (std::vector<std::string>{"Clienti", "Fornitori"}));
    EXPECT_EQ(l.mTIPOLOGIAID, 2);
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 0), "2");
}

TEST_F(ListFamilyTest, AFailedFillOpensNoEditorAndKeepsTheRowsItRead) {
    // A query that fails: one box, told by the query, and no editor as if the register were empty.
    gFilterTypes = "a.NoSuchColumn = 1";
    // The message comes before the fill's closing steps, the hourglass still up.
    std::vector<int> pointerAtMessage;
    box().onCall = [&](const ScriptedMessageBox::Call&) { pointerAtMessage.push_back(screen::mousePointer()); };
    openList();
    box().onCall = nullptr;
    EXPECT_EQ(pointerAtMessage, (std::vector<int>{11}));
    EXPECT_EQ(screen::mousePointer(), 0);
    EXPECT_TRUE(modalShown.empty());
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error 3146 (no such column: a.NoSuchColumn) in procedure gRsOpen "
                                                  "of Modulo basGeneral"});
    EXPECT_TRUE(list().fillFailed());
    Instance<frmTipologiaPersone>::release();
    gFilterTypes.clear();
    box().clear();

    // A damaged page part way: the rows before it stay, one box says the file is damaged.
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
         "INSERT INTO TipologiaPersone (Tipologia, DateTimeCreated) SELECT 'Tipo numero ' || i, "
         "'2010-01-01 10:00:00' FROM n");
    damageTablePage("TipologiaPersone");
    frmTipologiaPersone& l = openList();
    EXPECT_GT(l.MSFlexGrid1.Rows(), 2);
    EXPECT_LT(l.MSFlexGrid1.Rows(), 3001);
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(1, 1), "Tipo numero 1");
    EXPECT_EQ(prompts(), std::vector<std::string>{kDbDamagedText});
    EXPECT_TRUE(modalShown.empty());

}

TEST_F(ListFamilyTest, FilterMatchingNothingLeavesAQuietGrid) {
    addTypes({"Clienti"});
    frmTipologiaPersone& l = openList();
    gFilterTypes = "a.Tipologia = 'none'";
    l.FillGrid();
    FlexGrid& g = l.MSFlexGrid1;
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.TextMatrix(0, 0), "0 Records");
    EXPECT_EQ(g.ColWidth(0), 1000);
    EXPECT_EQ(g.TextMatrix(0, 1), "Type");   // the old headers stay
    box().clear();
    l.MSFlexGrid1_DblClick();
    l.MSFlexGrid1_MouseDown(1, 0, 10, 10);
    l.MSFlexGrid1_MouseUp(1, 0, 10, 10);
    l.MSFlexGrid1_SelChange();
    l.cmdDelete_Click();
    EXPECT_TRUE(modalShown.empty());
    EXPECT_TRUE(box().calls.empty());
    EXPECT_FALSE(l.sortDescendingNext());
}

TEST_F(ListFamilyTest, HeaderClicksToggleOneSortForAllColumns) {
    addTypes({"b", "c", "a"});
    frmTipologiaPersone& l = openList();
    FlexGrid& g = l.MSFlexGrid1;
    g.pressCell(0, 1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"a", "b", "c"}));
    g.pressCell(0, 2);   // another column: descending now
    EXPECT_FALSE(l.sortDescendingNext());
    g.pressCell(0, 1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"a", "b", "c"}));
    g.pressCell(0, 1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"c", "b", "a"}));
    // A click on a data row selects the whole row and sorts nothing.
    g.pressCell(2, 2);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.ColSel(), 3);
    EXPECT_EQ(column(1), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(ListFamilyTest, DoubleClickEditsADataRowOnly) {
    addTypes({"Clienti", "Fornitori"});
    frmTipologiaPersone& l = openList();
    l.MSFlexGrid1.doubleClickCell(0, 1);
    // The header current, as every fill leaves it, and a double click that
    // pressed no cell of the grid (the second click of the button that opened it).
    gGridMouseY = 100000;
    l.MSFlexGrid1_DblClick();
    // A double click whose second click falls on the header, a record other
    // than the first current.
    l.MSFlexGrid1.pressCell(2, 1);
    QHeaderView* header = static_cast<QTableView*>(l.MSFlexGrid1.widget())->horizontalHeader();
    const QPointF onHeader(header->sectionViewportPosition(1) + 4, 4);
    QMouseEvent second(QEvent::MouseButtonDblClick, onHeader, header->viewport()->mapToGlobal(onHeader),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &second);
    EXPECT_EQ(l.MSFlexGrid1.MouseRow(), 0);
    EXPECT_TRUE(modalShown.empty());
    EXPECT_TRUE(box().calls.empty());
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditTipologiaPersone&>(f);
        EXPECT_EQ(e.txtTipologia.Text(), "Fornitori");
        e.txtTipologia.setText("Fornitori esteri");
        e.cmdOK.click();
    });
    l.MSFlexGrid1.doubleClickCell(2, 1);
    EXPECT_EQ(modalShown, std::vector<std::string>{"frmEditTipologiaPersone"});
    EXPECT_FALSE(gIsNew);
    EXPECT_EQ(l.mTIPOLOGIAID, 2);
    EXPECT_EQ(column(1), (std::vector<std::string>{"Clienti", "Fornitori esteri"}));
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 3), "2010-11-25 14:05:09");
    EXPECT_EQ(scalar("select DateTimeCreated from TipologiaPersone where TIPOLOGIAID = 2"), "2010-01-01 10:00:00");
}

TEST_F(ListFamilyTest, DeleteFlow) {
    addTypes({"uno", "due", "tre", "quattro"});
    exec("insert into Anagrafica (TIPOLOGIAID, Cognome) values (1, 'Rossi')");
    frmTipologiaPersone& l = openList();
    FlexGrid& g = l.MSFlexGrid1;

    // Used by a contact: refused.
    g.pressCell(1, 1);
    l.cmdDelete_Click();
    EXPECT_EQ(prompts(), std::vector<std::string>{"Unable to delete the record: related records exist in the contact list"});
    EXPECT_EQ(box().calls[0].buttons, 48);
    // Not confirmed: nothing changes.
    box().clear();
    g.pressCell(2, 1);
    box().queueAnswer(kAnswerNo);
    g.pressKey(46);
    EXPECT_EQ(prompts(), std::vector<std::string>{"Are you sure to delete the record?"});
    EXPECT_EQ(count("select count(*) from TipologiaPersone"), 4);
    // A middle row: the row that takes its place is selected whole.
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(count("select count(*) from TipologiaPersone"), 3);
    EXPECT_EQ(column(1), (std::vector<std::string>{"uno", "tre", "quattro"}));
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.ColSel(), 3);
    // A statement that fails keeps the row.
    box().clear();
    exec("create trigger nodelete before delete on TipologiaPersone begin select raise(abort, 'locked'); end");
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(column(1), (std::vector<std::string>{"uno", "tre", "quattro"}));
    ASSERT_EQ(prompts().size(), 2u);
    EXPECT_EQ(prompts()[1], "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral");
    exec("drop trigger nodelete");
    // A failing reference check stops the delete.
    box().clear();
    exec("alter table Anagrafica rename to AnagraficaOld");
    l.cmdDelete_Click();
    EXPECT_EQ(count("select count(*) from TipologiaPersone"), 3);
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("in procedure esisteRecord"), std::string::npos);
    exec("alter table AnagraficaOld rename to Anagrafica");
}

TEST_F(ListFamilyTest, DeletingTheOnlyRowLeavesTheHeader) {
    addTypes({"solo"});
    frmTipologiaPersone& l = openList();
    l.MSFlexGrid1.pressCell(1, 1);
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(l.MSFlexGrid1.Rows(), 1);
    EXPECT_EQ(count("select count(*) from TipologiaPersone"), 0);
}

TEST_F(ListFamilyTest, EditorChecksInOrderAndKeepsInputOnFailure) {
    addTypes({"Clienti", "Fornitori"});
    frmTipologiaPersone& l = openList();
    struct Case {
        std::string typed;
        bool isNew;
        std::string message;   // "" = saved
    };
    const std::vector<Case> cases = {
        {"   ", true, "Insert the type"},
        {" Clienti ", true, "The record already exists"},
        {"Fornitori", false, "The record already exists"},   // editing Clienti into another's name
        {" Clienti", false, ""},                             // its own name
        {"l'Anno", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        box().clear();
        l.mTIPOLOGIAID = 1;
        l.MSFlexGrid1.setRow(1);
        gIsNew = c.isNew;
        bool stayedOpen = false;
        onModal([&](Form& f) {
            auto& e = dynamic_cast<frmEditTipologiaPersone&>(f);
            e.txtTipologia.setText(c.typed);
            e.cmdOK.click();
            stayedOpen = e.Loaded();
            if (stayedOpen) {
                EXPECT_EQ(e.txtTipologia.Text(), c.typed);
            }
        });
        Instance<frmEditTipologiaPersone>::get().ShowModal();
        EXPECT_EQ(stayedOpen, !c.message.empty());
        const std::vector<std::string> expected =
            c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message};
        EXPECT_EQ(prompts(), expected);
    }
    EXPECT_EQ(scalar("select Tipologia from TipologiaPersone where TIPOLOGIAID = 3"), "l'Anno");
    EXPECT_EQ(scalar("select Tipologia from TipologiaPersone where TIPOLOGIAID = 1"), "Clienti");
}

TEST_F(ListFamilyTest, EditorWritesTheFamilyStatements) {
    addTypes({"Clienti"});
    frmTipologiaPersone& l = openList();
    recordStatements();
    editorTypes("d'oro");
    l.cmdAdd_Click();
    l.MSFlexGrid1.setRow(1);
    l.mTIPOLOGIAID = 1;
    gIsNew = false;
    editorTypes("Clienti");
    Instance<frmEditTipologiaPersone>::get().ShowModal();
    std::vector<std::string> writes;
    for (const auto& s : statements)
        if (s.rfind("INSERT", 0) == 0 || s.rfind("UPDATE", 0) == 0) writes.push_back(s);
    EXPECT_EQ(writes, (std::vector<std::string>{
                          "INSERT INTO TipologiaPersone (Tipologia, DateTimeCreated) VALUES ('d''oro',  "
                          "'2010-11-25 14:05:09') ",
                          "UPDATE TipologiaPersone SET Tipologia = 'Clienti',  DateTimeLastUpdated = '2010-11-25 "
                          "14:05:09' WHERE TIPOLOGIAID = 1 "}));
}

TEST_F(ListFamilyTest, FailingSaveKeepsTheEditorOpenAndTheListUnchanged) {
    addTypes({"Clienti"});
    frmTipologiaPersone& l = openList();
    exec("create trigger noinsert before insert on TipologiaPersone begin select raise(abort, 'full'); end");
    bool open = false;
    onModal([&](Form& f) {
        auto& e = dynamic_cast<frmEditTipologiaPersone&>(f);
        e.txtTipologia.setText("Nuovo");
        e.cmdOK.click();
        open = e.Loaded();
        EXPECT_EQ(e.txtTipologia.Text(), "Nuovo");
    });
    l.cmdAdd_Click();
    EXPECT_TRUE(open);
    EXPECT_EQ(column(1), std::vector<std::string>{"Clienti"});
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error 3146 (full) in procedure gDbExecute of Modulo basGeneral"});
}

TEST_F(ListFamilyTest, FilterTextsResetCancelAndRemembering) {
    addTypes({"a", "b", "c", "d''oro", "abc"});
    frmTipologiaPersone& l = openList();
    struct Case {
        std::string typed, filter;
        std::vector<std::string> listed;
    };
    const std::vector<Case> cases = {
        {"a,b, c", "a.Tipologia IN ('a', 'b', 'c')", {"a", "b", "c"}},
        {"d'oro", "a.Tipologia Like '%d''oro%'", {"d'oro"}},
        {" b ", "a.Tipologia Like '%b%'", {"b", "abc"}},
        {"", "", {"a", "b", "c", "d'oro", "abc"}},
    };
    for (const auto& c : cases) {
        onModal([&](Form& f) {
            auto& s = dynamic_cast<frmSelectTipologiaPersone&>(f);
            s.txtTipologia.setText(c.typed);
            s.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(gFilterTypes, c.filter);
        EXPECT_EQ(column(1), c.listed);
    }
    // Filter by "b", then Reset and Cancel: the list stays filtered, the input is forgotten.
    onModal([](Form& f) {
        auto& s = dynamic_cast<frmSelectTipologiaPersone&>(f);
        s.txtTipologia.setText("b");
        s.cmdOK.click();
    });
    l.cmdSelect_Click();
    onModal([](Form& f) {
        auto& s = dynamic_cast<frmSelectTipologiaPersone&>(f);
        EXPECT_EQ(s.txtTipologia.Text(), "b");
        s.cmdClear.click();
        EXPECT_EQ(s.txtTipologia.Text(), "");
        s.cmdCancel.click();
    });
    l.cmdSelect_Click();
    EXPECT_EQ(gFilterTypes, "a.Tipologia Like '%b%'");
    EXPECT_EQ(column(1), (std::vector<std::string>{"b", "abc"}));
    onModal([](Form& f) { EXPECT_EQ(dynamic_cast<frmSelectTipologiaPersone&>(f).txtTipologia.Text(), ""); });
    l.cmdSelect_Click();
}

// A filter window with a combo and the AND/OR choice, over the contact types list.
struct ComboFilter : FilterWindow {
    ComboFilter() : FilterWindow("frmComboFilter", "Cerca", saved, true, 6000, 3000) {
        criteria = {comboCriterion(cboTipo, "a.TIPOLOGIAID"), textCriterion(txtTipologia, "a.Tipologia")};
    }
    ComboBox& cboTipo = addAt<ComboBox>(240, 600, 3000, 315, "cboTipo");
    TextBox& txtTipologia = addAt<TextBox>(240, 1000, 3000, 315, "txtTipologia");
    static SavedFilter saved;
    ListWindow& list() override { return Instance<frmTipologiaPersone>::get(); }
    void releaseInstance() override { Instance<ComboFilter>::release(); }
    std::string& filterText() override { return gFilterTypes; }
    void fillCombos() override {
        fillCombo(cboTipo, "SELECT TIPOLOGIAID, Tipologia FROM TipologiaPersone order by Tipologia ");
    }
};
SavedFilter ComboFilter::saved;

TEST_F(ListFamilyTest, CombosJoinAndOrAndComeBackByKey) {
    addTypes({"m", "z"});
    openList();
    onModal([](Form& f) {
        auto& s = dynamic_cast<ComboFilter&>(f);
        s.cboTipo.setListIndex(1);   // "z", key 2
        s.txtTipologia.setText("m");
        s.optOR->setValue(true);
        s.cmdOK.click();
    });
    Instance<ComboFilter>::get().ShowModal();
    EXPECT_EQ(gFilterTypes, "a.TIPOLOGIAID = 2 OR a.Tipologia Like '%m%'");
    EXPECT_EQ(column(1), (std::vector<std::string>{"m", "z"}));

    // The main window's reset empties the filter but keeps the inputs; a new
    // type sorting first moves "z" down the combo, which still comes back.
    mainWindow().annullaWhere();
    EXPECT_EQ(gFilterTypes, "");
    addTypes({"a"});
    onModal([](Form& f) {
        auto& s = dynamic_cast<ComboFilter&>(f);
        EXPECT_EQ(s.cboTipo.Text(), "z");
        EXPECT_EQ(s.txtTipologia.Text(), "m");
        EXPECT_TRUE(s.optOR->Value());
        EXPECT_FALSE(s.optAND->Value());
        s.optAND->setValue(true);
        s.cmdOK.click();
    });
    Instance<ComboFilter>::get().ShowModal();
    EXPECT_EQ(gFilterTypes, "a.TIPOLOGIAID = 2 AND a.Tipologia Like '%m%'");
    // The remembered record deleted: nothing is chosen.
    exec("delete from TipologiaPersone where TIPOLOGIAID = 2");
    onModal([](Form& f) { EXPECT_EQ(dynamic_cast<ComboFilter&>(f).cboTipo.ListIndex(), -1); });
    Instance<ComboFilter>::get().ShowModal();
    Instance<ComboFilter>::release();
    ComboFilter::saved.clear();
}

TEST_F(ListFamilyTest, TheWholeRoadFromTheMainWindow) {
    gFilterTypes = "stale";
    // The list opens empty: the editor comes at once, before the list is shown.
    editorTypes("Fornitori");
    onModal([&](Form& f) {
        EXPECT_EQ(f.Name(), "frmTipologiaPersone");
        EXPECT_EQ(gFilterTypes, "");
        auto& l = dynamic_cast<frmTipologiaPersone&>(f);
        EXPECT_EQ(l.cmdAdd.Caption(), "&Add");
        EXPECT_EQ(l.LumoXPForm1.Caption(), "Contact Type");
        editorTypes("Banche");
        l.cmdAdd_Click();
        // Edit the second row.
        onModal([](Form& e) {
            auto& ed = dynamic_cast<frmEditTipologiaPersone&>(e);
            ed.txtTipologia.setText("Banche italiane");
            ed.cmdOK.click();
        });
        l.MSFlexGrid1.doubleClickCell(2, 1);
        // Filter, then print.
        onModal([](Form& s) {
            auto& sel = dynamic_cast<frmSelectTipologiaPersone&>(s);
            EXPECT_EQ(sel.LumoXPForm1.Caption(), "Search Contact Type");
            sel.txtTipologia.setText("Banche");
            sel.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(column(1), std::vector<std::string>{"Banche italiane"});
        l.cmdPrintGrid_Click();
        // Delete it.
        l.MSFlexGrid1.pressCell(1, 1);
        box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        l.cmdClose_Click();
    });
    mainWindow().cmdTipologia.click();
    EXPECT_EQ(modalShown, (std::vector<std::string>{"frmEditTipologiaPersone", "frmTipologiaPersone",
                                                     "frmEditTipologiaPersone", "frmEditTipologiaPersone",
                                                     "frmSelectTipologiaPersone"}));
    EXPECT_EQ(rows("select Tipologia from TipologiaPersone"), (std::vector<std::vector<std::string>>{{"Fornitori"}}));
    EXPECT_FALSE(Instance<frmTipologiaPersone>::exists());
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_NE(printed[0].find("Quorvel - Contact types</p>"), std::string::npos);
    EXPECT_NE(printed[0].find("<tr><th>Type</th></tr><tr><td>Banche italiane</td></tr>"), std::string::npos)
        << printed[0];
}

}  // namespace
