// The received cheque editor and the endorsement and deposit editors.
#include <gtest/gtest.h>

#include "core/sqlhelpers.h"
#include "core/trace.h"
#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedEditorTest : public qvtest::ReceivedTest {
protected:
    template <class W>
    void script(std::function<void(W&)> s) {
        onModal([s](Form& f) { s(dynamic_cast<W&>(f)); });
    }
};

TEST_F(ReceivedEditorTest, ThirteenChecksInOrderInItalianMode) {
    contact("Rossi", "'Mario'");
    contact("Bianchi", "'Anna'");
    cheque(1, 2, "1", "10");
    openList();
    env::setEnglish(false);
    script<frmEditAssegniRicevuti>([this](frmEditAssegniRicevuti& e) {
        EXPECT_EQ(e.txtDataAssegno.Text(), "25/11/2010");   // today, at activation
        EXPECT_FALSE(e.cmdEliminaOperazione.Visible());
        e.txtDataAssegno.setText("");
        // Each step puts right the previous failure; every later field is still wrong.
        const std::vector<std::pair<std::function<void()>, std::string>> steps = {
            {[] {}, "Selezionare il firmatario"},
            {[&] { e.cboFIRMATARIOID.setListIndex(1); }, "Selezionare il beneficiario"},
            {[&] { e.cboNome.setListIndex(0); }, "Inserire il numero dell'assegno"},
            {[&] { e.txtNumero.setText("12a"); }, "Formato del numero dell'assegno non valido"},
            {[&] { e.txtNumero.setText(" 00123 "); }, "Inserire la data dell'assegno"},
            {[&] { e.txtDataAssegno.setText("31/02/2010"); }, "Formato della data dell'assegno non valido"},
            {[&] { e.txtDataAssegno.setText("24/11/2010"); }, "Inserire il codice ABI"},
            {[&] { e.txtABI.setText("1005"); }, "Lunghezza del codice ABI non valida"},
            {[&] { e.txtABI.setText(" 01005 "); }, "Inserire il codice CAB"},
            {[&] { e.txtCAB.setText("0320A"); }, checkABICAB("0320A", "CAB")},
            {[&] { e.txtCAB.setText("03200"); }, "Inserire il numero di conto corrente"},
            {[&] { e.txtNumeroConto.setText("1000"); }, "Inserire l'importo dell'assegno"},
            {[&] { e.txtImporto.setText("12A"); }, "Formato dell'importo dell'assegno non valido"},
        };
        for (const auto& [fix, message] : steps) {
            box().clear();
            fix();
            e.cmdOK.click();
            EXPECT_EQ(prompts(), std::vector<std::string>{message});
            EXPECT_TRUE(e.Loaded());
        }
        // Leaving the date field refuses what the save would refuse.
        box().clear();
        e.txtDataAssegno.setText("24/13/2010");
        EXPECT_TRUE(e.txtDataAssegno.validate());
        e.txtDataAssegno.setText("24/11/2010");
        EXPECT_FALSE(e.txtDataAssegno.validate());
        EXPECT_EQ(prompts(), std::vector<std::string>{"Formato della data dell'assegno non valido"});
        box().clear();
        e.txtImporto.setText("12,50");
        e.cmdOK.click();
    });
    list().cmdAdd_Click();
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(rows("select FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, ABI, CAB, Importo from AssegniRicevuti "
                   "where ASSEGNIRICEVUTIID = 2"),
              (std::vector<std::vector<std::string>>{
                  {"1", "2", "00123", "2010-11-24 00:00:00", "01005", "03200", "12.5"}}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
}

TEST_F(ReceivedEditorTest, SavesWideKeysAndKeepsWhatItLoaded) {
    const auto rossi = contact("Rossi", "'Mario'", "70000");
    const auto bianchi = contact("Bianchi", "NULL", "5000000000");
    cheque(rossi, bianchi, "1", "1234.5");
    auto& l = openList();
    recordStatements();
    // English: the bank and branch codes are neither required nor tested.
    script<frmEditAssegniRicevuti>([](frmEditAssegniRicevuti& e) {
        e.cboFIRMATARIOID.setListIndex(1);
        e.cboNome.setListIndex(0);
        e.txtNumero.setText("77");
        e.txtABI.setText("1x");
        e.txtNumeroConto.setText("C/1");
        e.txtImporto.setText("1,000.5");
        e.chkSuPiazza.setValue(1);
        e.txtAssegnoNote.setText(" l'ultimo ");
        e.cmdOK.click();
    });
    l.cmdAdd_Click();
    // Saving a loaded cheque untouched writes back what it read.
    script<frmEditAssegniRicevuti>([](frmEditAssegniRicevuti& e) {
        EXPECT_EQ(e.idDelFirmatario, 70000);
        EXPECT_EQ(e.idDelBeneficiario, 5000000000LL);
        EXPECT_EQ(e.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
        e.activate();   // editing: the date stays
        e.cmdOK.click();
    });
    l.MSFlexGrid1.doubleClickCell(1, 1);
    EXPECT_EQ(statementsStartingWith("INSERT INTO AssegniRicevuti"),
              std::vector<std::string>{
                  "INSERT INTO AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, LuogoEmissione, "
                  "SuPiazza, Banca, ABI, CAB, NumeroConto, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote, "
                  "DateTimeCreated) VALUES (70000,  5000000000,  '77',  '2010-11-25 00:00:00',  Null,  1,  Null,  "
                  "'1x',  Null,  'C/1',  0,  0,  1000.5,  Null,  'l''ultimo',  '2010-11-25 14:05:09') "});
    EXPECT_EQ(statementsStartingWith("UPDATE AssegniRicevuti"),
              std::vector<std::string>{
                  "UPDATE AssegniRicevuti SET FIRMATARIOID = 70000,  ANAGRAFICAID = 5000000000,  Numero = '1',  "
                  "DataAssegno = '2010-11-01 00:00:00',  LuogoEmissione = Null,  SuPiazza = 1,  Banca = 'Banca Uno',  "
                  "ABI = '01005',  CAB = '03200',  NumeroConto = '1000',  Trasferibile = 0,  Sbarrato = 0,  "
                  "Importo = 1234.5,  Causale = Null,  AssegnoNote = Null,  DateTimeLastUpdated = "
                  "'2010-11-25 14:05:09' WHERE ASSEGNIRICEVUTIID = 1 "});
    // The appended row and the rewritten row are read by two differently written queries.
    auto oneRowQueries = [this] {
        std::vector<std::string> out;
        for (const auto& s : statements) {
            const auto from = s.find("FROM AssegniRicevuti a, Anagrafica b, ");
            if (s.find("WHERE ASSEGNIRICEVUTIID = ") != std::string::npos && from != std::string::npos)
                out.push_back(s.substr(from));
        }
        return out;
    };
    EXPECT_EQ(oneRowQueries(),
              (std::vector<std::string>{
                  "FROM AssegniRicevuti a, Anagrafica b, anagrafica c WHERE ASSEGNIRICEVUTIID = 2 AND "
                  "a.ANAGRAFICAID = b.ANAGRAFICAID and a.firmatarioid=c.anagraficaid ",
                  "FROM AssegniRicevuti a, Anagrafica b, Anagrafica c  WHERE ASSEGNIRICEVUTIID = 1 AND "
                  "a.ANAGRAFICAID = b.ANAGRAFICAID  and a.firmatarioid = c.anagraficaid "}));
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);   // refilled
    EXPECT_EQ(column(14), (std::vector<std::string>{"1,234.50 €", "1,000.50 €"}));
}

TEST_F(ReceivedEditorTest, HomeAndEndWalkTheContactListsTracedAndDoNothingInAnEmptyOne) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto bianchi = contact("Bianchi", "'Anna'");
    cheque(rossi, bianchi, "1", "10");
    openList();
    script<frmEditAssegniRicevuti>([&](frmEditAssegniRicevuti& e) {
        e.cboFIRMATARIOID.keyUp(35);
        EXPECT_EQ(e.idDelFirmatario, rossi);
        e.cboNome.keyUp(36);
        EXPECT_EQ(e.idDelBeneficiario, bianchi);
        e.cboFIRMATARIOID.keyUp(36);
        EXPECT_EQ(e.idDelFirmatario, bianchi);
        gCurrentProc.clear();
        e.cboNome.keyUp(40);
        EXPECT_EQ(gCurrentProc, "frmEditAssegniRicevuti::cboNome_KeyUp");
        e.cmdCancel.click();
    });
    list().cmdAdd_Click();
    exec("delete from Anagrafica");
    script<frmEditAssegniRicevuti>([](frmEditAssegniRicevuti& e) {
        for (ComboBox* c : {&e.cboFIRMATARIOID, &e.cboNome})   // no contact to go to
            for (int key : {35, 36}) c->keyUp(key);
        EXPECT_EQ(e.cboNome.ListIndex(), -1);
        e.cmdCancel.click();
    });
    list().cmdAdd_Click();
    EXPECT_EQ(prompts(), std::vector<std::string>{});
}

TEST_F(ReceivedEditorTest, RemovingTheOperationTakesBothKindsOrNothing) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto casa = account("Casa");
    const auto c = cheque(rossi, rossi, "1", "10");
    auto& l = openList();
    const std::string asked = "Are you sure to delete the operation?", told = "Cheque endorsed to Rossi Mario";
    struct Case {
        int answer;
        bool locked;
        std::vector<std::string> prompts;
        bool removed;
    };
    const std::vector<Case> cases = {{kAnswerNo, false, {asked}, false},
                                     {kAnswerYes, true, {asked, kLocked}, false},
                                     {kAnswerYes, false, {asked, "Operation deleted"}, true}};
    for (const auto& k : cases) {
        exec("delete from Girate");
        exec("delete from Versamenti");
        endorse(c, rossi, 0);
        deposit(c, casa);
        if (k.locked) lock("Versamenti");
        box().clear();
        script<frmEditAssegniRicevuti>([&](frmEditAssegniRicevuti& e) {
            EXPECT_EQ(e.txtStatoAssegno.Caption(), told);
            box().queueAnswer(k.answer);
            e.cmdEliminaOperazione.click();
            EXPECT_EQ(prompts(), k.prompts);
            EXPECT_EQ(e.cmdEliminaOperazione.Visible(), !k.removed);
            EXPECT_EQ(e.txtStatoAssegno.Caption(), k.removed ? "Cheque neither endorsed nor deposited" : told);
            e.cmdCancel.click();
        });
        l.MSFlexGrid1.doubleClickCell(1, 1);
        if (k.locked) unlock();
        const long long left = k.removed ? 0 : 1;
        EXPECT_EQ(count("select count(*) from Girate"), left);
        EXPECT_EQ(count("select count(*) from Versamenti"), left);
        EXPECT_EQ(l.cmdGira.Enabled(), k.removed);   // the list refreshed its line after the edit
    }
}

TEST_F(ReceivedEditorTest, EndorsementAndDepositInsertTexts) {
    const auto rossi = contact("Rossi", "'Mario'");
    contact("Bianchi");
    account("Conto casa");
    account("Altro");
    cheque(rossi, rossi, "1", "10");
    cheque(rossi, rossi, "2", "10");
    auto& l = openList();
    recordStatements();
    const std::string girate =
        "INSERT INTO Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, DataGirata, DateTimeCreated,notegirata) "
        "VALUES (";
    const std::string versamenti =
        "INSERT INTO Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento, noteversamento,DateTimeCreated) "
        "VALUES (";
    l.MSFlexGrid1.pressCell(1, 1);
    script<frmEditGirate>([](frmEditGirate& e) {   // as it opens: full, today
        EXPECT_EQ(e.lblNome.Caption(), "Benificiario");
        e.cboNome.setListIndex(1);
        e.txtNote.setText("l'amico ");
        e.cmdOK.click();
    });
    l.cmdGira_Click();
    EXPECT_EQ(l.txtStatoAssegno.Caption(),
              "Cheque endorsed (Full endorsement) to Rossi Mario on 2010-11-25 00:00:00 (Notes: l'amico)");
    l.MSFlexGrid1.pressCell(2, 1);
    script<frmEditGirate>([](frmEditGirate& e) {
        e.cboNome.setListIndex(0);
        e.chkGirataPiena.setValue(0);
        e.txtDataGirata.setText("  ");
        e.cmdOK.click();
    });
    l.cmdGira_Click();
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque endorsed to Bianchi ");
    script<frmEditVersamenti>([](frmEditVersamenti& e) {
        EXPECT_EQ(e.txtDataVersamento.Text(), "25/11/2010");
        e.cboDescrizione.setListIndex(1);   // Conto casa
        e.cmdOK.click();
    });
    Instance<frmEditVersamenti>::get().ShowModal();
    script<frmEditVersamenti>([](frmEditVersamenti& e) {
        e.cboDescrizione.setListIndex(0);
        e.txtDataVersamento.setText("");
        e.txtNote.setText("sportello");
        e.cmdOK.click();
    });
    Instance<frmEditVersamenti>::get().ShowModal();
    EXPECT_EQ(statementsStartingWith("INSERT"),
              (std::vector<std::string>{
                  girate + "1,  1,  1,  '2010-11-25 00:00:00',  '2010-11-25 14:05:09',  'l''amico') ",
                  girate + "2,  2,  0,  Null,  '2010-11-25 14:05:09',  Null) ",
                  versamenti + "2,  1,  '2010-11-25 00:00:00',  Null,  '2010-11-25 14:05:09') ",
                  versamenti + "2,  2,  Null,  'sportello',  '2010-11-25 14:05:09') "}));
    EXPECT_EQ(scalar("select DataVersamento from Versamenti where CONTOCORRENTEID = 2"), std::nullopt);
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedEditorTest, OperationChecksAndAFailingInsertKeepTheWindowOpen) {
    cheque(contact("Rossi"), 1, "1", "10");
    auto& l = openList();
    l.MSFlexGrid1.pressCell(1, 1);
    script<frmEditVersamenti>([](frmEditVersamenti& e) { e.cmdOK.click(); });   // no own accounts
    l.cmdVersa_Click();
    script<frmEditGirate>([this](frmEditGirate& e) {
        e.cmdOK.click();
        e.cboNome.setListIndex(0);
        e.txtDataGirata.setText("30/02/2010");
        e.cmdOK.click();
        e.txtDataGirata.setText("");
        lock("Girate", "insert");
        e.cmdOK.click();
        unlock();
        EXPECT_TRUE(e.Loaded());
        e.txtDataGirata.setText("01/01/2010");
        e.activate();   // every activation puts today back
        EXPECT_EQ(e.txtDataGirata.Text(), "25/11/2010");
        e.cmdCancel.click();
    });
    l.cmdGira_Click();
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Select the acccount number", "Select the payee",
                                                    "Invalid endorsement date",
                                                    "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral"}));
    EXPECT_EQ(count("select count(*) from Girate"), 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
}

}  // namespace
