// One user's road through the received cheques, from the main window.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedRoadTest : public qvtest::ReceivedTest {};

void recordCheque(Form& f, const std::string& number, const std::string& amount) {
    auto& e = dynamic_cast<frmEditAssegniRicevuti&>(f);
    e.cboFIRMATARIOID.setListIndex(1);   // Rossi Mario
    e.cboNome.setListIndex(0);           // Bianchi Anna
    e.txtNumero.setText(number);
    e.txtNumeroConto.setText("CC 42");
    e.txtImporto.setText(amount);
    e.cmdOK.click();
}

TEST_F(ReceivedRoadTest, RecordEndorseRemoveDepositFilterAndPrint) {
    contact("Rossi", "'Mario'");
    contact("Bianchi", "'Anna'");
    account("Conto casa");
    gFilterReceived = "stale";

    // The list opens empty, so the editor comes first.
    onModal([](Form& f) { recordCheque(f, "100", "250,75"); });
    onModal([this](Form& f) {
        EXPECT_EQ(gFilterReceived, "");
        auto& l = dynamic_cast<frmAssegniRicevuti&>(f);
        EXPECT_EQ(l.LumoXPForm1.Caption(), "Incoming checques");
        EXPECT_EQ(column(1), std::vector<std::string>{"Rossi Mario"});
        FlexGrid& g = l.MSFlexGrid1;

        g.pressCell(1, 3);
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
        onModal([](Form& w) {
            auto& e = dynamic_cast<frmEditGirate&>(w);
            e.cboNome.setListIndex(0);
            e.cmdOK.click();
        });
        l.cmdGira.click();
        EXPECT_EQ(l.txtStatoAssegno.Caption(),
                  "Cheque endorsed (Full endorsement) to Bianchi Anna on 2010-11-25 00:00:00");
        EXPECT_FALSE(l.cmdGira.Enabled());
        EXPECT_FALSE(l.cmdVersa.Enabled());

        onModal([this](Form& w) {
            auto& e = dynamic_cast<frmEditAssegniRicevuti&>(w);
            box().queueAnswer(kAnswerYes);
            e.cmdEliminaOperazione.click();
            e.cmdCancel.click();
        });
        g.doubleClickCell(1, 3);
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
        EXPECT_TRUE(l.cmdVersa.Enabled());

        onModal([](Form& w) {
            auto& e = dynamic_cast<frmEditVersamenti&>(w);
            e.cboDescrizione.setListIndex(0);
            e.cmdOK.click();
        });
        l.cmdVersa.click();
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque deposited on Conto casa on 2010-11-25 00:00:00");

        // A second cheque, never deposited, then only the deposited ones.
        onModal([](Form& w) { recordCheque(w, "200", "99"); });
        l.cmdAdd.click();
        EXPECT_EQ(column(4), (std::vector<std::string>{"100", "200"}));
        onModal([](Form& w) {
            auto& s = dynamic_cast<frmSelectAssegniRicevuti&>(w);
            s.chkVersato.setValue(1);
            s.cmdOK.click();
        });
        l.cmdSelect.click();
        EXPECT_EQ(column(4), std::vector<std::string>{"100"});
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "");

        l.cmdPrintGrid.click();
        l.cmdClose.click();
    });
    mainWindow().cmdAssegniRicevuti.click();

    EXPECT_EQ(modalShown, (std::vector<std::string>{"frmEditAssegniRicevuti", "frmAssegniRicevuti", "frmEditGirate",
                                                     "frmEditAssegniRicevuti", "frmEditVersamenti",
                                                     "frmEditAssegniRicevuti", "frmSelectAssegniRicevuti"}));
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Are you sure to delete the operation?", "Operation deleted"}));
    EXPECT_EQ(count("select count(*) from Girate"), 0);
    EXPECT_EQ(rows("select ASSEGNIRICEVUTIID, CONTOCORRENTEID from Versamenti"),
              (std::vector<std::vector<std::string>>{{"1", "1"}}));
    EXPECT_FALSE(Instance<frmAssegniRicevuti>::exists());
    ASSERT_EQ(printed.size(), 1u);
    const std::string& page = printed[0];
    EXPECT_NE(page.find("Quorvel - Incoming cheques"), std::string::npos);
    EXPECT_NE(page.find("<th>Signer</th><th>Payee</th><th>Checque Number</th>"), std::string::npos) << page;
    EXPECT_NE(page.find("<td>Rossi Mario</td><td>Bianchi Anna</td><td>100</td>"), std::string::npos) << page;
    EXPECT_NE(page.find("<td>250.75 €</td>"), std::string::npos);
    EXPECT_EQ(page.find("IDFIELD"), std::string::npos);
    EXPECT_EQ(page.find("Last Updated"), std::string::npos);
    const auto total = page.find("Total amount of displayed cheques: €250.75");
    ASSERT_NE(total, std::string::npos);
    EXPECT_GT(total, page.find("</table>"));   // under the grid
}

}  // namespace
