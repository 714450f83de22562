// The reports shipped with the database, run through the chooser on a few
// cheques, and the whole road from the main window to a printed report.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "core/translation.h"
#include "platform/webbrowser.h"
#include "reports/frmReportistica.h"
#include "reports/frmSplashReports.h"
#include "fixture.h"
#include "locale_scope.h"

using namespace qv;

namespace {

class ShippedReportsTest : public qvtest::AppFixture {
protected:
    qvtest::LocaleScope english_{qvtest::LocaleScope::english()};
    void SetUp() override {
        AppFixture::SetUp();
        exec("insert into Anagrafica (ANAGRAFICAID, TIPOLOGIAID, Cognome, Nome) values "
             "(1, 1, 'Rossi', 'Mario'), (2, 1, 'Bianchi', 'Anna'), (3, 1, 'Verdi', Null)");
        exec("insert into MieiContiCorrenti (CONTOCORRENTEID, Descrizione, Banca, NumeroConto) values (1, 'BPM', 'BPM', '1')");
        // Issued: 'E1'..'E5' by date.
        exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
             "(1, 1, '1', '2010-02-01 00:00:00', 100), (1, 2, '2', '2010-02-28 00:00:00', 200), "
             "(1, 1, '3', '2010-03-01 00:00:00', 300), (1, 3, '4', '2011-01-31 00:00:00', 400), "
             "(1, 1, '5', '2011-02-01 00:00:00', 500)");
        // Received 21..26, signer Verdi, payee Rossi.
        for (int n = 21; n <= 26; ++n)
            exec("insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, NumeroConto, Importo) "
                 "values (3, 1, '" + std::to_string(n) + "', '2010-02-" + std::to_string(n - 10) + " 00:00:00', 'x', " +
                 std::to_string(n) + ")");
        // 21: endorsed twice to existing contacts; 22: endorsed to a deleted contact, deposited;
        // 23: deposited; 24: nothing; 25: endorsed and deposited; 26: endorsed to a deleted contact.
        exec("insert into Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, DataGirata) values "
             "(1, 2, 1, '2010-03-10 00:00:00'), (1, 1, 0, '2010-03-12 00:00:00'), (2, 99, 0, '2010-03-01 00:00:00'), "
             "(5, 2, 0, '2010-03-31 00:00:00'), (6, 99, 0, '2010-03-05 00:00:00')");
        exec("insert into Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento) values "
             "(2, 1, '2010-03-15 00:00:00'), (3, 1, '2010-04-01 00:00:00'), (5, 1, '2010-03-20 00:00:00')");
        startMain();
        box().clear();
    }
    void TearDown() override {
        gArrayReport.clear();
        AppFixture::TearDown();
    }
    // The cheque numbers a button lists with the answers given, and its total.
    std::pair<std::vector<std::string>, double> listed(frmSplashReports& c, int button,
                                                       const std::vector<std::string>& answers) {
        for (const auto& a : answers) box().queueInput(a);
        std::pair<std::vector<std::string>, double> out;
        onModal([&](Form& f) {
            auto& w = dynamic_cast<frmReportistica&>(f);
            const FlexGrid& g = w.MSFlexGrid1;
            for (int col = 0; col < g.Cols(); ++col)
                if (g.TextMatrix(0, col) == "Checque Number")
                    for (int r = 1; r < g.Rows(); ++r) out.first.push_back(g.TextMatrix(r, col));
            out.second = w.total();
            w.cmdClose_Click();
        });
        c.cmdShowReport_Click(button);
        return out;
    }
};

TEST_F(ShippedReportsTest, TitlesAreTheTranslatedOnes) {
    const auto titles = rows("select titolo from reportistica order by ordine");
    ASSERT_EQ(titles.size(), 11u);
    for (std::size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(titles[i][0], captionTable()[53 + i].italian);
}

TEST_F(ShippedReportsTest, EveryReportListsTheExpectedCheques) {
    using Numbers = std::vector<std::string>;
    struct Case {
        int button;
        std::vector<std::string> answers;
        Numbers numbers;
        double total;
    };
    const std::vector<Case> cases = {
        {0, {"02/2010"}, {"1", "2"}, 300},
        {0, {"03/2010"}, {"3"}, 300},
        {1, {"02/2010"}, {"21", "22", "23", "24", "25", "26"}, 141},
        {1, {"03/2010"}, {}, 0},
        {2, {"02/2010"}, {"1", "2", "3", "4"}, 1000},
        {3, {"03/2009"}, {"21", "22", "23", "24", "25", "26"}, 141},
        {4, {}, {"21", "25"}, 46},
        {5, {}, {"22", "23", "24", "26"}, 95},
        {6, {}, {"22", "23"}, 45},
        {7, {}, {"21", "24", "25", "26"}, 96},
        {8, {}, {"24", "26"}, 50},
        {9, {"01/03/2010", "31/03/2010"}, {"21", "25"}, 46},
        {9, {"01/03/2010", "30/03/2010"}, {"21"}, 21},
        {10, {"01/03/2010", "31/03/2010"}, {"22"}, 22},
        {10, {"16/03/2010", "01/04/2010"}, {"23"}, 23},
    };
    frmSplashReports& c = Instance<frmSplashReports>::get();
    c.Load();
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "button " << k.button << " " << (k.answers.empty() ? "" : k.answers[0]));
        const auto before = modalShown.size();
        const auto [numbers, total] = listed(c, k.button, k.answers);
        EXPECT_EQ(modalShown.size(), before + 1);
        EXPECT_EQ(numbers, k.numbers);
        EXPECT_DOUBLE_EQ(total, k.total);
    }
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ShippedReportsTest, HeadersOfTheEndorsementReport) {
    frmSplashReports& c = Instance<frmSplashReports>::get();
    c.Load();
    std::vector<std::string> headers, first;
    onModal([&](Form& f) {
        const FlexGrid& g = dynamic_cast<frmReportistica&>(f).MSFlexGrid1;
        for (int col = 0; col < g.Cols(); ++col) {
            if (g.ColWidth(col) == 0) continue;
            headers.push_back(g.TextMatrix(0, col));
            first.push_back(g.TextMatrix(1, col));
        }
    });
    c.cmdShowReport_Click(4);
    EXPECT_EQ(headers, (std::vector<std::string>{"Signer", "Payee", "Checque Number", "Cheque Date", "Place of issue",
                                                 "Bank", "Town Cheque", "Negotiable", "Crossed", "Amount", "Reason",
                                                 "Notes", "Endorsement Payee", "Full Endorsement", "Endorsement Date",
                                                 "Endorsement Notes"}));
    EXPECT_EQ(first, (std::vector<std::string>{"Verdi", "Rossi Mario", "21", "2010-02-11 00:00:00", "", "", "", "", "",
                                               "21.00 €", "", "", "Bianchi Anna", "True", "2010-03-10 00:00:00", ""}));
}

TEST_F(ShippedReportsTest, FromTheMainWindowToAPrintedReport) {
    box().queueInput("02/2010");
    box().queueInput("02/2010");
    bool secondRun = false;
    auto resultScript = [&](Form& f) {
        auto& w = dynamic_cast<frmReportistica&>(f);
        EXPECT_EQ(w.LumoXPForm1.Caption(), "Report - Outgoing cheques in the month");
        EXPECT_FALSE(w.sortDescendingNext());   // a fresh window every run
        if (!secondRun) {
            w.MSFlexGrid1.pressCell(0, 2);   // "Payee": ascending
            EXPECT_EQ(w.MSFlexGrid1.TextMatrix(1, 2), "Bianchi Anna");
            w.MSFlexGrid1.pressCell(0, 2);
            EXPECT_EQ(w.MSFlexGrid1.TextMatrix(1, 2), "Rossi Mario");
            w.cmdPrintGrid_Click();
        }
        w.cmdClose_Click();
    };
    onModal([&](Form& f) {
        auto& c = dynamic_cast<frmSplashReports&>(f);
        onModal(resultScript);
        c.cmdShowReport[0]->click();
        secondRun = true;
        onModal(resultScript);
        c.cmdShowReport[0]->click();
        c.cmdClose.click();
    });
    mainWindow().cmdReportistica.click();
    EXPECT_EQ(modalShown, (std::vector<std::string>{"frmSplashReports", "frmReportistica", "frmReportistica"}));
    EXPECT_FALSE(Instance<frmSplashReports>::exists());
    EXPECT_TRUE(prompts().empty());
    ASSERT_EQ(printed.size(), 1u);
    const std::string& page = printed[0];
    EXPECT_NE(page.find("Quorvel - Assegni emessi nel mese</p>"), std::string::npos);
    EXPECT_EQ(page.find("ASSEGNIEMESSIID"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Account</th><th>Payee</th><th>Checque Number</th>"), std::string::npos) << page;
    EXPECT_NE(page.find("<td>Rossi Mario</td><td>1</td><td>2010-02-01 00:00:00</td>"), std::string::npos) << page;
    EXPECT_NE(page.find("</table>Total amount of displayed cheques: €300.00</body>"), std::string::npos) << page;
}

}  // namespace
