// The own bank accounts register: list, editor and filter.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "core/globals.h"
#include "lists/filterwindow.h"
#include "platform/webbrowser.h"
#include "registers/frmEditMieiContiCorrenti.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmSelectMieiContiCorrenti.h"
#include "fixture.h"

using namespace qv;

namespace {

struct Account {
    std::string descrizione, banca, abi, cab, numero, intestatari;
};

class AccountsTest : public qvtest::ListFixture<frmMieiContiCorrenti> {
protected:
    void addAccount(const std::string& values) {
        exec("insert into MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto, Intestatari, "
             "DateTimeCreated) values (" + values + ", '2010-01-01 10:00:00')");
    }
    void addThree() {
        addAccount("'Conto casa', 'Banca Uno', '01005', '03200', '1000', 'Mario Rossi'");
        addAccount("'Conto ufficio', 'Banca Due', '03069', '01600', '2000', Null");
        addAccount("'Deposito', 'Banca Uno', '01005', '03201', '3000', 'Anna Bianchi'");
    }
    // Scripts the next editor: types the account and presses OK; `open` tells
    // whether the editor was still open afterwards.
    void typeAccount(const Account& a, bool* open = nullptr) {
        onModal([a, open](Form& f) {
            auto& e = dynamic_cast<frmEditMieiContiCorrenti&>(f);
            e.txtDescrizione.setText(a.descrizione);
            e.txtBanca.setText(a.banca);
            e.txtABI.setText(a.abi);
            e.txtCAB.setText(a.cab);
            e.txtNumeroConto.setText(a.numero);
            e.txtIntestatari.setText(a.intestatari);
            e.cmdOK.click();
            if (open) *open = e.Loaded();
            if (e.Loaded()) {
                EXPECT_EQ(e.txtDescrizione.Text(), a.descrizione);
                EXPECT_EQ(e.txtABI.Text(), a.abi);
            }
        });
    }
    std::vector<std::string> writes() const {
        std::vector<std::string> out;
        for (const auto& s : statements)
            if (s.rfind("INSERT", 0) == 0 || s.rfind("UPDATE", 0) == 0 || s.rfind("DELETE", 0) == 0)
                out.push_back(s);
        return out;
    }
};

TEST_F(AccountsTest, EditorChecksInOrder) {
    addAccount("'Conto casa', 'Banca Uno', '01005', '03200', '1000', Null");
    openList();
    struct Case {
        bool english;
        Account typed;
        std::string message;   // "" = saved
    };
    const std::vector<Case> cases = {
        {true, {" ", "Banca", "", "", "", ""}, "Insert the description"},
        {true, {"Nuovo", "  ", "", "", "", ""}, "Insert the bank name"},
        {true, {"Nuovo", "Banca", "", "", " ", ""}, "Insert the account number"},
        {true, {" Conto casa ", "Banca", "", "", "9", ""}, "The record already exists"},
        {false, {"Nuovo", "Banca", " ", "03200", "9", ""}, "Inserire il codice ABI"},
        {false, {"Nuovo", "Banca", "1005", "", "9", ""}, "Lunghezza del codice ABI non valida"},
        {false, {"Nuovo", "Banca", "0100A", "", "9", ""}, "Il codice ABI contiene caratteri non validi"},
        {false, {"Nuovo", "Banca", "01005", "", "9", ""}, "Inserire il codice CAB"},
        {false, {"Nuovo", "Banca", "01005", "032001", "9", ""}, "Lunghezza del codice CAB non valida"},
        {false, {"Nuovo", "Banca", "01005", "0320x", "9", ""}, "Il codice CAB contiene caratteri non validi"},
        {false, {"Nuovo", "Banca", "01005", "03200", "", ""}, "Inserire il numero di conto corrente"},
        {false, {"Conto casa", "Banca", "01005", "03200", "9", ""}, "Il record già esiste"},
        {false, {"Italiano", "Banca", " 01005 ", "03200", "9", ""}, ""},
        // In English mode the codes are free text.
        {true, {"Estero", "Bank", "GB29", "NWBK6016", "31926819", ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.descrizione + "/" + c.typed.abi + "/" + c.typed.cab);
        env::setEnglish(c.english);
        box().clear();
        gIsNew = true;
        bool open = false;
        typeAccount(c.typed, &open);
        Instance<frmEditMieiContiCorrenti>::get().ShowModal();
        EXPECT_EQ(open, !c.message.empty());
        EXPECT_EQ(prompts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        if (!c.message.empty()) {
            EXPECT_EQ(box().calls[0].buttons, 48);
        }
    }
    EXPECT_EQ(rows("select Descrizione, ABI, CAB from MieiContiCorrenti where CONTOCORRENTEID > 1"),
              (std::vector<std::vector<std::string>>{{"Italiano", "01005", "03200"}, {"Estero", "GB29", "NWBK6016"}}));
}

TEST_F(AccountsTest, DuplicateDescriptionsAndTheSavedTexts) {
    addThree();
    frmMieiContiCorrenti& l = openList();
    recordStatements();
    // An account keeps its own description; it cannot take another's.
    gIsNew = false;
    l.MSFlexGrid1.setRow(2);
    l.mCONTOCORRENTEID = 2;
    bool open = false;
    typeAccount({"Deposito", "Banca Due", "", "", "2000", ""}, &open);
    Instance<frmEditMieiContiCorrenti>::get().ShowModal();
    EXPECT_TRUE(open);
    EXPECT_EQ(prompts(), std::vector<std::string>{"The record already exists"});
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditMieiContiCorrenti&>(f);
        EXPECT_EQ(e.txtDescrizione.Text(), "Conto ufficio");
        EXPECT_EQ(e.txtIntestatari.Text(), "");
        e.txtBanca.setText(" Banca d'Italia ");
        e.txtIntestatari.setText("  ");
        e.cmdOK.click();
    });
    Instance<frmEditMieiContiCorrenti>::get().ShowModal();
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 2), "Banca d'Italia");
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 8), "2010-11-25 14:05:09");
    // A quoted description is stored and then found again.
    gIsNew = true;
    typeAccount({"L'altro conto", "Banca", "", "", "4000", " Io "});
    Instance<frmEditMieiContiCorrenti>::get().ShowModal();
    typeAccount({"L'altro conto", "Banca", "", "", "5000", ""}, &open);
    Instance<frmEditMieiContiCorrenti>::get().ShowModal();
    EXPECT_TRUE(open);
    EXPECT_EQ(writes(),
              (std::vector<std::string>{
                  "UPDATE MieiContiCorrenti SET Descrizione = 'Conto ufficio',  Banca = 'Banca d''Italia',  ABI = "
                  "'03069',  CAB = '01600',  NumeroConto = '2000',  Intestatari = Null,  DateTimeLastUpdated = "
                  "'2010-11-25 14:05:09' WHERE CONTOCORRENTEID = 2 ",
                  "INSERT INTO MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto, Intestatari, "
                  "DateTimeCreated) VALUES ('L''altro conto',  'Banca',  Null,  Null,  '4000',  'Io',  '2010-11-25 "
                  "14:05:09') "}));
    EXPECT_NE(std::find(statements.begin(), statements.end(),
                        "select count(*) as conteggio from mieiconticorrenti where descrizione = 'Deposito'  and "
                        "contocorrenteid <>2"),
              statements.end());
    EXPECT_EQ(column(1), (std::vector<std::string>{"Conto casa", "Conto ufficio", "Deposito", "L'altro conto"}));
}

TEST_F(AccountsTest, DeleteIsRefusedWhileACheckOrADepositUsesTheAccount) {
    addThree();
    struct Case {
        std::string reference;   // statement making account 2 used, "" for none
        bool refused;
    };
    const std::vector<Case> cases = {
        {"insert into AssegniEmessi (CONTOCORRENTEID, Numero) values (2, '1')", true},
        {"insert into Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID) values (1, 2)", true},
        // A received cheque names a bank account by its texts only.
        {"insert into AssegniRicevuti (Banca, ABI, CAB, NumeroConto) values ('Banca Due', '03069', '01600', "
         "'2000')",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        exec("delete from AssegniEmessi; delete from Versamenti; delete from AssegniRicevuti;");
        exec(c.reference);
        frmMieiContiCorrenti& l = openList();
        box().clear();
        l.MSFlexGrid1.pressCell(2, 1);
        if (!c.refused) box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        if (c.refused) {
            EXPECT_EQ(prompts(), std::vector<std::string>{"Unable to delete the record. Related cheques exist."});
            EXPECT_EQ(box().calls[0].buttons, 48);
            EXPECT_EQ(column(1), (std::vector<std::string>{"Conto casa", "Conto ufficio", "Deposito"}));
        } else {
            EXPECT_EQ(prompts(), std::vector<std::string>{"Are you sure to delete the record?"});
            EXPECT_EQ(column(1), (std::vector<std::string>{"Conto casa", "Deposito"}));
            EXPECT_EQ(l.MSFlexGrid1.Row(), 2);
        }
        EXPECT_EQ(count("select count(*) from MieiContiCorrenti where CONTOCORRENTEID = 2"), c.refused ? 1 : 0);
        l.cmdClose_Click();
        forms::flushReleased();
    }
}

TEST_F(AccountsTest, FilterTextsWithAndAndOr) {
    addThree();
    frmMieiContiCorrenti& l = openList();
    struct Case {
        Account typed;
        bool orChosen;
        std::string filter;
        std::vector<std::string> listed;
    };
    const std::vector<Case> cases = {
        {{"conto", "Uno", "", "", "", ""}, false, "a.Descrizione Like '%conto%' AND a.Banca Like '%Uno%'", {"Conto casa"}},
        {{"conto", "Uno", "", "", "", ""}, true, "a.Descrizione Like '%conto%' OR a.Banca Like '%Uno%'",
         {"Conto casa", "Conto ufficio", "Deposito"}},
        {{"", "", "01005", "03200, 01600", "", "Anna"}, true,
         "a.ABI Like '%01005%' OR a.CAB IN ('03200', '01600') OR a.Intestatari Like '%Anna%'",
         {"Conto casa", "Conto ufficio", "Deposito"}},
        {{"", "", "", "", "1000,3000", "Rossi"}, false, "a.NumeroConto IN ('1000', '3000') AND a.Intestatari Like '%Rossi%'",
         {"Conto casa"}},
        {{"d'", "", "", "", "", ""}, false, "a.Descrizione Like '%d''%'", {}},
        {{"", "", "", "", "", ""}, true, "", {"Conto casa", "Conto ufficio", "Deposito"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        onModal([&](Form& f) {
            auto& s = dynamic_cast<frmSelectMieiContiCorrenti&>(f);
            s.txtDescrizione.setText(c.typed.descrizione);
            s.txtBanca.setText(c.typed.banca);
            s.txtABI.setText(c.typed.abi);
            s.txtCAB.setText(c.typed.cab);
            s.txtNumeroConto.setText(c.typed.numero);
            s.txtIntestatario.setText(c.typed.intestatari);
            (c.orChosen ? s.optOR : s.optAND)->setValue(true);
            s.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(gFilterAccounts, c.filter);
        EXPECT_EQ(gSavedFilterAccounts.orChosen, c.orChosen);
        if (c.listed.empty()) {
            EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 0), "0 Records");
        } else {
            EXPECT_EQ(column(1), c.listed);
        }
    }
}

TEST_F(AccountsTest, PrintoutsLeaveOutTheKeyAndTheStamps) {
    addThree();
    frmMieiContiCorrenti& l = openList();
    for (bool english : {true, false}) {
        env::setEnglish(english);
        l.cmdPrintGrid_Click();
    }
    EXPECT_EQ((std::vector<int>(gPrintGridOptions.begin() + 1, gPrintGridOptions.begin() + 5)),
              (std::vector<int>{0, 7, 8, -1}));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_NE(printed[0].find("Quorvel - Bank accounts</p>"), std::string::npos);
    EXPECT_NE(printed[1].find("Quorvel - Conti correnti</p>"), std::string::npos);
    EXPECT_NE(printed[0].find("<tr><th>Description</th><th>Bank</th><th>Bank Code #1</th><th>Bank Code #2</th>"
                              "<th>Account number</th><th>Holders</th></tr>"
                              "<tr><td>Conto casa</td><td>Banca Uno</td><td>01005</td><td>03200</td><td>1000</td>"
                              "<td>Mario Rossi</td></tr>"),
              std::string::npos)
        << printed[0];
    EXPECT_EQ(printed[0].find("2010-01-01"), std::string::npos);
}

TEST_F(AccountsTest, TheWholeRoadFromTheMainWindow) {
    addThree();
    gFilterAccounts = "stale";
    EXPECT_EQ(mainWindow().cmdContiCorrenti.Caption(), "&Accounts");
    onModal([&](Form& f) {
        EXPECT_EQ(gFilterAccounts, "");
        auto& l = dynamic_cast<frmMieiContiCorrenti&>(f);
        EXPECT_EQ(l.LumoXPForm1.Caption(), "My bank accounts");
        for (const auto& [c, header] : std::vector<std::pair<int, std::string>>{
                 {0, "IDFIELD"}, {3, "Bank Code #1"}, {5, "Account number"}, {6, "Holders"}, {8, "Last Updated"}})
            EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, c), header);
        EXPECT_EQ(column(1), (std::vector<std::string>{"Conto casa", "Conto ufficio", "Deposito"}));
        // Edit the second account.
        onModal([](Form& e) {
            auto& ed = dynamic_cast<frmEditMieiContiCorrenti&>(e);
            EXPECT_EQ(ed.LumoXPForm1.Caption(), "My bank accounts");
            EXPECT_EQ(dynamic_cast<Label*>(ed.findControl("lblNumeroConto"))->Caption(), "Account number");
            ed.txtNumeroConto.setText("2001");
            ed.cmdOK.click();
        });
        l.MSFlexGrid1.doubleClickCell(2, 1);
        EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 5), "2001");
        // Filter on the bank.
        onModal([](Form& s) {
            auto& sel = dynamic_cast<frmSelectMieiContiCorrenti&>(s);
            EXPECT_EQ(sel.LumoXPForm1.Caption(), "Search Conti Correnti");
            EXPECT_EQ(dynamic_cast<Label*>(sel.findControl("lblIntestatario"))->Caption(), "Holder");
            EXPECT_EQ(sel.optAND->Caption(), "AND");
            sel.txtBanca.setText("Uno");
            sel.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(column(1), (std::vector<std::string>{"Conto casa", "Deposito"}));
        // Delete the last row shown.
        l.MSFlexGrid1.pressCell(2, 1);
        box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        EXPECT_EQ(column(1), std::vector<std::string>{"Conto casa"});
        l.cmdClose_Click();
    });
    mainWindow().cmdContiCorrenti.click();
    EXPECT_EQ(modalShown, (std::vector<std::string>{"frmMieiContiCorrenti", "frmEditMieiContiCorrenti",
                                                     "frmSelectMieiContiCorrenti"}));
    EXPECT_EQ(rows("select Descrizione, NumeroConto from MieiContiCorrenti"),
              (std::vector<std::vector<std::string>>{{"Conto casa", "1000"}, {"Conto ufficio", "2001"}}));
    EXPECT_FALSE(Instance<frmMieiContiCorrenti>::exists());
}

}  // namespace
