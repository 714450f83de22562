// The received cheque editor and the endorsement and deposit editors.
#include <gtest/gtest.h>

#include "core/sqlhelpers.h"
#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedEditorTest : public qvtest::ReceivedTest {
protected:
    // Opens the editor on the list's first row (editing) or for a new cheque.
    void showEditor(bool isNew, std::function<void(frmEditAssegniRicevuti&)> script) {
        onModal([script](Form& f) { script(dynamic_cast<frmEditAssegniRicevuti&>(f)); });
        auto& l = list();
        if (isNew) {
            l.cmdAdd_Click();
        } else {
            l.MSFlexGrid1.doubleClickCell(1, 1);
        }
    }
};

TEST_F(ReceivedEditorTest, ChecksRunInOrderInItalianMode) {
    contact("Rossi", "'Mario'");
    contact("Bianchi", "'Anna'");
    cheque(1, 2, "1", "10");
    openList();
    env::setEnglish(false);
    showEditor(true, [this](frmEditAssegniRicevuti& e) {
        EXPECT_EQ(e.cboFIRMATARIOID.ListIndex(), -1);
        EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");   // today, at activation
        EXPECT_FALSE(e.cmdEliminaOperazione.Visible());
        EXPECT_EQ(e.txtStatoAssegno.Caption(), "");
        e.txtDataAssegno.setText("");
        // Each step puts right the previous failure and leaves every later field wrong.
        const std::vector<std::pair<std::function<void()>, std::string>> steps = {
            {[] {}, "Selezionare il firmatario"},
            {[&] { e.cboFIRMATARIOID.setListIndex(1); }, "Selezionare il beneficiario"},
            {[&] { e.cboNome.setListIndex(0); }, "Inserire il numero dell'assegno"},
            {[&] { e.txtNumero.setText("12a"); }, "Formato del numero dell'assegno non valido"},
            {[&] { e.txtNumero.setText(" 00123 "); }, "Inserire la data dell'assegno"},
            {[&] { e.txtDataAssegno.setText("31/02/2010"); }, "Formato della data dell'assegno non valido"},
            {[&] { e.txtDataAssegno.setText("24/11/2010"); }, "Inserire il codice ABI"},
            {[&] { e.txtABI.setText("1005"); }, checkABICAB("1005", "ABI")},
            {[&] { e.txtABI.setText(" 01005 "); }, "Inserire il codice CAB"},
            {[&] { e.txtCAB.setText("0320A"); }, checkABICAB("0320A", "CAB")},
            {[&] { e.txtCAB.setText("03200"); }, "Inserire il numero di conto corrente"},
            {[&] { e.txtNumeroConto.setText("1000"); }, "Inserire l'importo dell'assegno"},
            {[&] { e.txtImporto.setText("12A"); }, "Formato dell'importo dell'assegno non valido"},
        };
        for (const auto& [fix, message] : steps) {
            SCOPED_TRACE(message);
            box().clear();
            fix();
            e.cmdOK.click();
            EXPECT_EQ(prompts(), std::vector<std::string>{message});
            EXPECT_EQ(box().calls[0].buttons, 48);
            EXPECT_TRUE(e.Loaded());
        }
        EXPECT_EQ(checkABICAB("1005", "ABI"), "Lunghezza del codice ABI non valida");
        box().clear();
        e.txtImporto.setText("12,50");
        e.cmdOK.click();
        EXPECT_FALSE(e.Loaded());
    });
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(rows("select FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, ABI, CAB, Importo from AssegniRicevuti "
                   "where ASSEGNIRICEVUTIID = 2"),
              (std::vector<std::vector<std::string>>{
                  {"1", "2", "00123", "2010-11-24 00:00:00", "01005", "03200", "12.5"}}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));   // refilled
}

TEST_F(ReceivedEditorTest, WritesItsStatementsAndKeepsWhatItLoaded) {
    contact("Rossi", "'Mario'");
    contact("Bianchi");
    cheque(1, 2, "1", "1234.5");
    auto& l = openList();
    recordStatements();
    // English: the bank and branch codes are neither required nor tested.
    showEditor(true, [](frmEditAssegniRicevuti& e) {
        e.cboFIRMATARIOID.setListIndex(1);   // Rossi, key 1
        e.cboNome.setListIndex(0);           // Bianchi, key 2
        e.txtNumero.setText("77");
        e.txtABI.setText("1x");
        e.txtNumeroConto.setText("C/1");
        e.txtImporto.setText("1,000.5");
        e.chkSuPiazza.setValue(1);
        e.txtAssegnoNote.setText(" l'ultimo ");
        e.cmdOK.click();
    });
    // Edit the first cheque without touching it: the same values go back.
    showEditor(false, [](frmEditAssegniRicevuti& e) {
        EXPECT_EQ(e.cboFIRMATARIOID.Text(), "Rossi Mario");
        EXPECT_EQ(e.cboNome.Text(), "Bianchi ");
        EXPECT_EQ(e.idDelFirmatario, 1);
        EXPECT_EQ(e.idDelBeneficiario, 2);
        EXPECT_EQ(e.txtDataAssegno.Text(), "01/11/2010");
        EXPECT_EQ(e.txtImporto.Text(), "1234.5");
        EXPECT_EQ(e.chkSuPiazza.Value(), 1);
        EXPECT_EQ(e.chkSbarrato.Value(), 0);   // stored Null
        e.activate();                           // editing: the date stays
        EXPECT_EQ(e.txtDataAssegno.Text(), "01/11/2010");
        e.cmdOK.click();
    });
    const auto writes = statementsStartingWith("INSERT INTO AssegniRicevuti");
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0],
              "INSERT INTO AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, LuogoEmissione, "
              "SuPiazza, Banca, ABI, CAB, NumeroConto, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, "
              "DateTimeCreated) VALUES (1,  2,  '77',  '2010-11-25 00:00:00',  Null,  1,  Null,  '1x',  Null,  "
              "'C/1',  0,  0,  1000.5,  Null,  'l''ultimo',  '2010-11-25 14:05:09') ");
    const auto updates = statementsStartingWith("UPDATE AssegniRicevuti");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0],
              "UPDATE AssegniRicevuti SET FIRMATARIOID = 1,  ANAGRAFICAID = 2,  Numero = '1',  DataAssegno = "
              "'2010-11-01 00:00:00',  LuogoEmissione = Null,  SuPiazza = 1,  Banca = 'Banca Uno',  ABI = '01005',  "
              "CAB = '03200',  NumeroConto = '1000',  Trasferibile = 0,  Sbarrato = 0,  Importo = 1234.5,  Causale = "
              "Null,  AssegnoNote = Null,  DateTimeLastUpdated = '2010-11-25 14:05:09' WHERE ASSEGNIRICEVUTIID = 1 ");
    EXPECT_EQ(scalar("select Importo from AssegniRicevuti where ASSEGNIRICEVUTIID = 1"), "1234.5");
    // Saved: the list is refilled under its filter, no row current.
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);
    EXPECT_EQ(column(14), (std::vector<std::string>{"1,234.50 €", "1,000.50 €"}));
}

TEST_F(ReceivedEditorTest, RemovingTheOperationTakesBothKindsOrNothing) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto casa = account("Casa");
    const auto c = cheque(rossi, rossi, "1", "10");
    auto opRows = [&] {
        return std::vector<long long>{count("select count(*) from Girate"), count("select count(*) from Versamenti")};
    };
    auto& l = openList();
    struct Case {
        std::string what;
        int answer;
        const char* failing;   // table whose delete fails, or null
        std::vector<long long> left;
        std::vector<std::string> prompts;
    };
    const std::vector<Case> cases = {
        {"No", kAnswerNo, nullptr, {1, 1}, {"Are you sure to delete the operation?"}},
        {"a failing delete", kAnswerYes, "Versamenti", {1, 1},
         {"Are you sure to delete the operation?", "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral"}},
        {"Yes", kAnswerYes, nullptr, {0, 0}, {"Are you sure to delete the operation?", "Operation deleted"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        exec("delete from Girate");
        exec("delete from Versamenti");
        endorse(c, rossi, 1);
        deposit(c, casa);
        if (k.failing)
            exec(std::string("create trigger stop before delete on ") + k.failing +
                 " begin select raise(abort, 'locked'); end");
        box().clear();
        showEditor(false, [&](frmEditAssegniRicevuti& e) {
            EXPECT_EQ(e.txtStatoAssegno.Caption(), "Cheque endorsed (Full endorsement) to Rossi Mario");
            ASSERT_TRUE(e.cmdEliminaOperazione.Visible());
            box().queueAnswer(k.answer);
            e.cmdEliminaOperazione.click();
            EXPECT_EQ(prompts(), k.prompts);
            const bool removed = k.left[0] == 0;
            EXPECT_EQ(e.cmdEliminaOperazione.Visible(), !removed);
            EXPECT_EQ(e.txtStatoAssegno.Caption(), removed ? "Cheque neither endorsed nor deposited"
                                                           : "Cheque endorsed (Full endorsement) to Rossi Mario");
            e.cmdCancel.click();
        });
        if (k.failing) exec("drop trigger stop");
        EXPECT_EQ(opRows(), k.left);
        // After the cancelled edit the list shows the row's state again.
        EXPECT_EQ(l.cmdGira.Enabled(), k.left[0] == 0);
    }
    EXPECT_EQ(count("select count(*) from AssegniRicevuti"), 1);
}

TEST_F(ReceivedEditorTest, StateLineAtLoadInItalian) {
    const auto rossi = contact("Rossi");
    const auto casa = account("Casa");
    deposit(cheque(rossi, rossi, "1", "10"), casa, "'2010-11-21 00:00:00'");
    cheque(rossi, rossi, "2", "10");
    openList();
    env::setEnglish(false);
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniRicevuti&>(f);
        EXPECT_EQ(e.txtStatoAssegno.Caption(), "Assegno versato su Casa il 2010-11-21 00:00:00");
        EXPECT_TRUE(e.cmdEliminaOperazione.Visible());
    });
    list().MSFlexGrid1.doubleClickCell(1, 1);
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAssegniRicevuti&>(f);
        EXPECT_EQ(e.txtStatoAssegno.Caption(), "Assegno non girato nè versato");
        EXPECT_FALSE(e.cmdEliminaOperazione.Visible());
        // Leaving the date field with something that is not a date.
        e.txtDataAssegno.setText("32/01/2010");
        EXPECT_TRUE(e.txtDataAssegno_Validate());
        e.txtDataAssegno.setText("31/01/2010");
        EXPECT_FALSE(e.txtDataAssegno_Validate());
    });
    list().MSFlexGrid1.doubleClickCell(2, 1);
    EXPECT_EQ(prompts(), std::vector<std::string>{"Formato della data dell'assegno non valido"});
}

// ---------------------------------------------------------------- endorsement and deposit editors

class OperationEditorTest : public qvtest::ReceivedTest {};

TEST_F(OperationEditorTest, EndorsementAndDepositInsertTexts) {
    const auto rossi = contact("Rossi", "'Mario'");
    contact("Bianchi");
    account("Conto casa");
    account("Altro");
    const auto c = cheque(rossi, rossi, "1", "10");
    cheque(rossi, rossi, "2", "10");
    auto& l = openList();
    recordStatements();
    struct Case {
        std::string what;
        std::function<void(Form&)> script;
        int row;
        std::string insert;
    };
    const std::vector<Case> cases = {
        {"endorsement as it opens",
         [](Form& f) {
             auto& e = dynamic_cast<frmEditGirate&>(f);
             EXPECT_EQ(e.chkGirataPiena.Value(), 1);
             EXPECT_EQ(e.txtDataGirata.Text(), "25/11/2010");
             e.cboNome.setListIndex(1);
             e.txtNote.setText("l'amico ");
             e.cmdOK.click();
         },
         1,
         "INSERT INTO Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, DataGirata, DateTimeCreated,notegirata) "
         "VALUES (1,  1,  1,  '2010-11-25 00:00:00',  '2010-11-25 14:05:09',  'l''amico') "},
        {"endorsement without date, not full",
         [](Form& f) {
             auto& e = dynamic_cast<frmEditGirate&>(f);
             e.cboNome.setListIndex(0);
             e.chkGirataPiena.setValue(0);
             e.txtDataGirata.setText("  ");
             e.cmdOK.click();
         },
         2,
         "INSERT INTO Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, DataGirata, DateTimeCreated,notegirata) "
         "VALUES (2,  2,  0,  Null,  '2010-11-25 14:05:09',  Null) "},
        {"deposit as it opens",
         [](Form& f) {
             auto& e = dynamic_cast<frmEditVersamenti&>(f);
             EXPECT_EQ(e.txtDataVersamento.Text(), "25/11/2010");
             e.cboDescrizione.setListIndex(1);   // Conto casa
             e.txtNote.setText("sportello");
             e.cmdOK.click();
         },
         1,
         "INSERT INTO Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento, noteversamento,DateTimeCreated) "
         "VALUES (1,  1,  '2010-11-25 00:00:00',  'sportello',  '2010-11-25 14:05:09') "},
        {"deposit without date",
         [](Form& f) {
             auto& e = dynamic_cast<frmEditVersamenti&>(f);
             e.cboDescrizione.setListIndex(0);
             e.txtDataVersamento.setText("");
             e.cmdOK.click();
         },
         2,
         "INSERT INTO Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento, noteversamento,DateTimeCreated) "
         "VALUES (2,  2,  Null,  Null,  '2010-11-25 14:05:09') "},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        statements.clear();
        exec("delete from Girate");
        exec("delete from Versamenti");
        l.MSFlexGrid1.pressCell(k.row, 1);
        onModal(k.script);
        if (k.insert.rfind("INSERT INTO Girate", 0) == 0)
            l.cmdGira_Click();
        else
            l.cmdVersa_Click();
        EXPECT_EQ(statementsStartingWith("INSERT"), std::vector<std::string>{k.insert});
        EXPECT_FALSE(l.cmdGira.Enabled());   // the list refreshed its state at once
    }
    EXPECT_EQ(scalar("select DataVersamento from Versamenti"), std::nullopt);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque deposited on Altro");
    EXPECT_TRUE(prompts().empty());
    (void)c;
}

TEST_F(OperationEditorTest, ChecksAndAFailingInsertKeepTheWindowOpen) {
    const auto rossi = contact("Rossi");
    cheque(rossi, rossi, "1", "10");
    auto& l = openList();
    l.MSFlexGrid1.pressCell(1, 1);
    onModal([this](Form& f) {
        auto& e = dynamic_cast<frmEditVersamenti&>(f);
        e.cmdOK.click();   // no own accounts at all
        e.txtDataVersamento.setText("30/02/2010");
        e.cmdOK.click();
        EXPECT_EQ(prompts(), (std::vector<std::string>{"Select the acccount number", "Select the acccount number"}));
    });
    l.cmdVersa_Click();
    box().clear();
    onModal([this](Form& f) {
        auto& e = dynamic_cast<frmEditGirate&>(f);
        e.cmdOK.click();
        e.cboNome.setListIndex(0);
        e.txtDataGirata.setText("30/02/2010");
        e.cmdOK.click();
        EXPECT_EQ(prompts(), (std::vector<std::string>{"Select the payee", "Invalid endorsement date"}));
        box().clear();
        exec("create trigger stop before insert on Girate begin select raise(abort, 'full'); end");
        e.txtDataGirata.setText("");
        e.cmdOK.click();
        exec("drop trigger stop");
        EXPECT_TRUE(e.Loaded());
        EXPECT_EQ(prompts(), std::vector<std::string>{"Error 3146 (full) in procedure gDbExecute of Modulo basGeneral"});
        e.cmdCancel.click();
    });
    l.cmdGira_Click();
    EXPECT_EQ(count("select count(*) from Girate"), 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
    EXPECT_FALSE(Instance<frmEditGirate>::exists());
}

TEST_F(OperationEditorTest, EndorsementWindowAtEveryActivation) {
    contact("Rossi");
    cheque(1, 1, "1", "10");
    auto& l = openList();
    l.MSFlexGrid1.pressCell(1, 1);
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditGirate&>(f);
        // Twips stand on whole pixels: within one pixel.
        EXPECT_NEAR(e.chkGirataPiena.Width(), 1500, 15);
        EXPECT_NEAR(e.chkGirataPiena.Left(), 1450, 15);
        EXPECT_EQ(e.lblNome.Caption(), "Benificiario");
        e.txtDataGirata.setText("01/01/2010");
        e.activate();
        EXPECT_EQ(e.txtDataGirata.Text(), "25/11/2010");
    });
    l.cmdGira_Click();
}

}  // namespace
