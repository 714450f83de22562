// The received cheques filter: its conditions, the two state boxes that
// exclude each other, its checks and its remembered inputs.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "received_fixture.h"

using namespace qv;

namespace {

using F = frmSelectAssegniRicevuti;

class ReceivedFilterTest : public qvtest::ReceivedTest {
protected:
    void SetUp() override {
        ReceivedTest::SetUp();
        contact("Rossi");                        // 1, second in the lists
        contact("Bianchi");                      // 2, first
        contact("Verdi", "NULL", "5000000000");  // third
        account("Casa");                         // 1, first
        account("Lavoro");                       // 2, second
        for (int i = 1; i <= 6; ++i) cheque(1, 2, std::to_string(i), std::to_string(i * 100));
        endorse(1, 2, 1);
        endorse(2, 5000000000, 0);
        deposit(3, 1);
        deposit(4, 2);
        endorse(6, 5000000000, 1);
        deposit(6, 2);
        // Rows naming no cheque must not hide every cheque from "not endorsed/deposited".
        exec("insert into Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID) values (NULL, 1)");
        exec("insert into Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID) values (NULL, 1)");
        openList();
    }
    void filter(std::function<void(F&)> script) {
        onModal([script](Form& f) { script(dynamic_cast<F&>(f)); });
        list().cmdSelect_Click();
    }
};

const std::string kNotEndorsed =
    "a.assegniricevutiid not IN (select assegniricevutiid from girate where assegniricevutiid is not null)";
const std::string kNotDeposited =
    "a.assegniricevutiid not IN (select assegniricevutiid from versamenti where assegniricevutiid is not null)";
const std::string kEndorsedTo = "a.assegniricevutiid IN (select assegniricevutiid from girate gi where gi.anagraficaid=";
const std::string kDepositedInto =
    "a.assegniricevutiid IN (select assegniricevutiid from versamenti ve where ve.contocorrenteid=";

TEST_F(ReceivedFilterTest, EndorsedAndDepositedConditions) {
    struct Case {
        std::function<void(F&)> set;
        bool useOr;
        std::string condition;
        std::vector<std::string> listed;
    };
    const std::vector<Case> cases = {
        {[](F& s) { s.chkGirato.setValue(0); s.chkVersato.setValue(0); }, false,
         kNotEndorsed + " AND " + kNotDeposited, {"5"}},
        {[](F& s) { s.chkGirato.setValue(0); s.chkVersato.setValue(0); }, true,
         kNotEndorsed + " OR " + kNotDeposited, {"1", "2", "3", "4", "5"}},
        {[](F& s) { s.chkGirato.setValue(1); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from girate)", {"1", "2", "6"}},
        {[](F& s) { s.chkGirato.setValue(1); s.cmbGiratoA.setListIndex(2); }, false, kEndorsedTo + "5000000000)",
         {"2", "6"}},
        {[](F& s) { s.chkVersato.setValue(1); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from versamenti)", {"3", "4", "6"}},
        {[](F& s) { s.chkVersato.setValue(1); s.cmbVersatoSu.setListIndex(1); }, false, kDepositedInto + "2)",
         {"4", "6"}},
        {[](F& s) { s.chkGirato.setValue(1); s.cmbGiratoA.setListIndex(0); s.chkVersato.setValue(0); }, false,
         kEndorsedTo + "2) AND " + kNotDeposited, {"1"}},
        {[](F& s) { s.chkVersato.setValue(1); s.cmbVersatoSu.setListIndex(0); s.chkGirato.setValue(0); }, true,
         kNotEndorsed + " OR " + kDepositedInto + "1)", {"3", "4", "5"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        filter([&](F& s) {
            s.cmdClear.click();
            cases[i].set(s);
            s.optOR->setValue(cases[i].useOr);
            s.optAND->setValue(!cases[i].useOr);
            s.cmdOK.click();
        });
        EXPECT_EQ(gFilterReceived, cases[i].condition);
        EXPECT_EQ(column(4), cases[i].listed);
    }
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedFilterTest, EveryFieldJoinsInItsOrder) {
    filter([](F& s) {
        s.cboFIRMATARIOID.setListIndex(1);
        s.cboNome.setListIndex(0);
        s.txtNumero.setText("1, 3");
        s.txtDataDa.setText("01/11/2010");
        s.txtDataA.setText("2010-11-01");
        s.txtBanca.setText("Uno");
        s.txtCAB.setText("03200,03201");
        s.txtImportoDa.setText("0,500");   // half a euro, never five hundred
        s.txtImportoA.setText("1,000.00");
        s.txtCausale.setText("d'oro");
        s.chkSuPiazza.setValue(1);
        s.chkTrasferibile.setValue(0);
        s.chkGirato.setValue(0);
        s.cmdOK.click();
    });
    EXPECT_EQ(gFilterReceived,
              "a.FIRMATARIOID =1 AND a.ANAGRAFICAID = 2 AND a.Numero IN ('1', '3') AND "
              "a.DataAssegno >= ('2010-11-01 00:00:00') AND a.DataAssegno <= ('2010-11-01 00:00:00') AND "
              "a.Banca Like '%Uno%' AND a.CAB IN ('03200', '03201') AND a.Importo >= 0.500  AND "
              "a.Importo <= 1000.00  AND a.Causale Like '%d''oro%' AND a.SuPiazza = True  AND "
              "a.Trasferibile =False  AND " + kNotEndorsed);
    EXPECT_EQ(list().MSFlexGrid1.TextMatrix(0, 0), "0 Records");
}

TEST_F(ReceivedFilterTest, TheTwoStateBoxesExcludeEachOther) {
    filter([](F& s) {
        s.chkGirato.setValue(1);
        s.cmbGiratoA.setListIndex(2);
        EXPECT_TRUE(s.cmbGiratoA.Enabled());
        s.chkVersato.setValue(1);
        EXPECT_EQ(s.chkGirato.Value(), 2);
        EXPECT_EQ(s.cmbGiratoA.ListIndex(), -1);
        EXPECT_FALSE(s.cmbGiratoA.Enabled());
        EXPECT_TRUE(s.cmbVersatoSu.Enabled());
        s.cmbVersatoSu.setListIndex(1);
        s.chkGirato.setValue(1);
        EXPECT_EQ(s.chkVersato.Value(), 2);
        EXPECT_EQ(s.cmbVersatoSu.ListIndex(), -1);
        EXPECT_FALSE(s.cmbVersatoSu.Enabled());
        // Back to "any": the list is disabled and keeps its choice, which is not remembered.
        s.cmbGiratoA.setListIndex(2);
        s.chkGirato.setValue(2);
        EXPECT_FALSE(s.cmbGiratoA.Enabled());
        s.cmdOK.click();
    });
    EXPECT_EQ(gFilterReceived, "");
    filter([](F& s) { EXPECT_EQ(s.cmbGiratoA.ListIndex(), -1); });
}

TEST_F(ReceivedFilterTest, RemembersByKeyAndResetsToGrey) {
    filter([](F& s) {
        EXPECT_NEAR(s.chkGirato.Width(), 65, 15);   // English, at activation
        s.chkGirato.setValue(1);
        s.cmbGiratoA.setListIndex(2);   // Verdi
        s.optOR->setValue(true);
        s.optAND->setValue(false);
        s.cmdOK.click();
    });
    contact("Abate");   // sorts first: every entry moves down the lists
    mainWindow().annullaWhere();
    filter([](F& s) {
        EXPECT_EQ(s.chkGirato.Value(), 1);
        EXPECT_EQ(s.cmbGiratoA.Text(), "Verdi ");
        EXPECT_TRUE(s.optOR->Value());
        s.cmdClear.click();
        for (CheckBox* c : {&s.chkSuPiazza, &s.chkTrasferibile, &s.chkSbarrato, &s.chkGirato, &s.chkVersato})
            EXPECT_EQ(c->Value(), 2) << c->Name();
        s.cmdCancel.click();
    });
    EXPECT_EQ(gFilterReceived, "");
    filter([](F& s) { EXPECT_EQ(s.chkGirato.Value(), 2); });
}

}  // namespace
