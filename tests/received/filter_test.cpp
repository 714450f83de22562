// The received cheques filter: its conditions, the two state boxes that
// exclude each other, its checks and its remembered inputs.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedFilterTest : public qvtest::ReceivedTest {
protected:
    void SetUp() override {
        ReceivedTest::SetUp();
        contact("Rossi");     // 1, second in the lists
        contact("Bianchi");   // 2, first
        contact("Verdi");     // 3, third
        account("Casa");      // 1, first
        account("Lavoro");    // 2, second
        for (int i = 1; i <= 6; ++i) cheque(1, 2, std::to_string(i), std::to_string(i * 100));
        endorse(1, 2, 1);
        endorse(2, 3, 0);
        deposit(3, 1);
        deposit(4, 2);
        endorse(6, 3, 1);
        deposit(6, 2);
        // Rows that name no cheque must not hide every cheque from "not endorsed/deposited".
        exec("insert into Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID) values (NULL, 1)");
        exec("insert into Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID) values (NULL, 1)");
        openList();
    }
    void filter(std::function<void(frmSelectAssegniRicevuti&)> script) {
        onModal([script](Form& f) { script(dynamic_cast<frmSelectAssegniRicevuti&>(f)); });
        list().cmdSelect_Click();
    }
};

const std::string kNotEndorsed =
    "a.assegniricevutiid not IN (select assegniricevutiid from girate where assegniricevutiid is not null)";
const std::string kNotDeposited =
    "a.assegniricevutiid not IN (select assegniricevutiid from versamenti where assegniricevutiid is not null)";

TEST_F(ReceivedFilterTest, EndorsedAndDepositedConditions) {
    struct Case {
        std::string what;
        std::function<void(frmSelectAssegniRicevuti&)> set;
        bool useOr;
        std::string condition;
        std::vector<std::string> listed;
    };
    using F = frmSelectAssegniRicevuti;
    const std::vector<Case> cases = {
        {"neither, AND", [](F& s) { s.chkGirato.setValue(0); s.chkVersato.setValue(0); }, false,
         kNotEndorsed + " AND " + kNotDeposited, {"5"}},
        {"lacking either, OR", [](F& s) { s.chkGirato.setValue(0); s.chkVersato.setValue(0); }, true,
         kNotEndorsed + " OR " + kNotDeposited, {"1", "2", "3", "4", "5"}},
        {"endorsed", [](F& s) { s.chkGirato.setValue(1); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from girate)", {"1", "2", "6"}},
        {"endorsed to Verdi", [](F& s) { s.chkGirato.setValue(1); s.cmbGiratoA.setListIndex(2); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from girate gi where gi.anagraficaid=3)", {"2", "6"}},
        {"deposited", [](F& s) { s.chkVersato.setValue(1); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from versamenti)", {"3", "4", "6"}},
        {"deposited into Lavoro", [](F& s) { s.chkVersato.setValue(1); s.cmbVersatoSu.setListIndex(1); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from versamenti ve where ve.contocorrenteid=2)",
         {"4", "6"}},
        {"endorsed to Bianchi and not deposited",
         [](F& s) { s.chkGirato.setValue(1); s.cmbGiratoA.setListIndex(0); s.chkVersato.setValue(0); }, false,
         "a.assegniricevutiid IN (select assegniricevutiid from girate gi where gi.anagraficaid=2) AND " +
             kNotDeposited,
         {"1"}},
        {"not endorsed or deposited into Casa",
         [](F& s) { s.chkVersato.setValue(1); s.cmbVersatoSu.setListIndex(0); s.chkGirato.setValue(0); }, true,
         kNotEndorsed + " OR " +
             "a.assegniricevutiid IN (select assegniricevutiid from versamenti ve where ve.contocorrenteid=1)",
         {"3", "4", "5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        filter([&](F& s) {
            s.cmdClear.click();
            c.set(s);
            s.optOR->setValue(c.useOr);
            s.optAND->setValue(!c.useOr);
            s.cmdOK.click();
        });
        EXPECT_EQ(gFilterReceived, c.condition);
        EXPECT_EQ(column(4), c.listed);
        EXPECT_EQ(list().txtStatoAssegno.Caption(), "");
    }
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedFilterTest, EveryFieldJoinsInItsOrder) {
    filter([](frmSelectAssegniRicevuti& s) {
        s.cboFIRMATARIOID.setListIndex(1);   // Rossi
        s.cboNome.setListIndex(0);           // Bianchi
        s.txtNumero.setText("1, 3");
        s.txtDataDa.setText("01/11/2010");
        s.txtDataA.setText("2010-11-01");
        s.txtLuogoEmissione.setText("");
        s.txtBanca.setText("Uno");
        s.txtABI.setText("01005");
        s.txtCAB.setText("03200,03201");
        s.txtNumeroConto.setText("100");
        s.txtImportoDa.setText("100,50");
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
              "a.Banca Like '%Uno%' AND a.ABI Like '%01005%' AND a.CAB IN ('03200', '03201') AND "
              "a.NumeroConto Like '%100%' AND a.Importo >= 100.50  AND a.Importo <= 1000.00  AND "
              "a.Causale Like '%d''oro%' AND a.SuPiazza = True  AND a.Trasferibile =False  AND " +
                  kNotEndorsed);
    EXPECT_TRUE(column(4).empty());   // no reason is stored: nothing matches
    EXPECT_EQ(list().MSFlexGrid1.TextMatrix(0, 0), "0 Records");
}

TEST_F(ReceivedFilterTest, TheTwoStateBoxesExcludeEachOther) {
    filter([](frmSelectAssegniRicevuti& s) {
        s.chkGirato.setValue(1);
        s.cmbGiratoA.setListIndex(2);
        EXPECT_TRUE(s.cmbGiratoA.Enabled());
        EXPECT_FALSE(s.cmbVersatoSu.Enabled());
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
        // Back to "any": the endorsee list is disabled but keeps its choice.
        s.cmbGiratoA.setListIndex(2);
        s.chkGirato.setValue(2);
        EXPECT_FALSE(s.cmbGiratoA.Enabled());
        EXPECT_EQ(s.cmbGiratoA.ListIndex(), 2);
        s.cmdOK.click();
    });
    EXPECT_EQ(gFilterReceived, "");
    // A choice kept under a grey box does not come back.
    filter([](frmSelectAssegniRicevuti& s) {
        EXPECT_EQ(s.chkGirato.Value(), 2);
        EXPECT_EQ(s.cmbGiratoA.ListIndex(), -1);
    });
}

TEST_F(ReceivedFilterTest, ChecksComeFirstAndInOrder) {
    struct Case {
        std::string dateFrom, dateTo, min, max, message;
    };
    const std::vector<Case> cases = {
        {"31/02/2010", "x", "x", "x", "Invalid start date"},
        {" ", "2010-13-01", "x", "x", "Invalid end date"},
        {"", "", "12A", "x", "Invalid minimum amount"},
        {"", "", "1,5", "1.2.3", "Invalid maximum amount"},
    };
    gFilterReceived = "a.Numero = '1'";
    list().FillGrid();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        box().clear();
        filter([&](frmSelectAssegniRicevuti& s) {
            s.chkGirato.setValue(1);
            s.txtDataDa.setText(c.dateFrom);
            s.txtDataA.setText(c.dateTo);
            s.txtImportoDa.setText(c.min);
            s.txtImportoA.setText(c.max);
            s.cmdOK.click();
            EXPECT_TRUE(s.Loaded());
            s.cmdCancel.click();
        });
        EXPECT_EQ(prompts(), std::vector<std::string>{c.message});
        EXPECT_EQ(gFilterReceived, "a.Numero = '1'");
        EXPECT_EQ(column(4), std::vector<std::string>{"1"});
    }
}

TEST_F(ReceivedFilterTest, RemembersByKeyResetsToGreyAndNarrowsTheStateBoxesInEnglish) {
    filter([](frmSelectAssegniRicevuti& s) {
        EXPECT_NEAR(s.chkGirato.Width(), 65, 15);
        EXPECT_NEAR(s.chkVersato.Width(), 65, 15);
        s.chkGirato.setValue(1);
        s.cmbGiratoA.setListIndex(2);   // Verdi
        s.cboNome.setListIndex(0);      // Bianchi
        s.optOR->setValue(true);
        s.optAND->setValue(false);
        s.cmdOK.click();
    });
    // A new contact sorting first moves every entry down the lists.
    contact("Abate");
    mainWindow().annullaWhere();
    filter([](frmSelectAssegniRicevuti& s) {
        EXPECT_EQ(s.chkGirato.Value(), 1);
        EXPECT_EQ(s.cmbGiratoA.Text(), "Verdi ");
        EXPECT_EQ(s.cboNome.Text(), "Bianchi ");
        EXPECT_TRUE(s.optOR->Value());
        s.cmdClear.click();
        for (CheckBox* c : {&s.chkSuPiazza, &s.chkTrasferibile, &s.chkSbarrato, &s.chkGirato, &s.chkVersato})
            EXPECT_EQ(c->Value(), 2) << c->Name();
        EXPECT_EQ(s.cboNome.ListIndex(), -1);
        EXPECT_TRUE(s.optOR->Value());
        s.cmdCancel.click();
    });
    EXPECT_EQ(gFilterReceived, "");
    filter([](frmSelectAssegniRicevuti& s) { EXPECT_EQ(s.chkGirato.Value(), 2); });
}

}  // namespace
