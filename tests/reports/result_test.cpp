// The report result window: the fill, the total line, refusals and printing.
#include <gtest/gtest.h>

#include <QLocale>

#include <algorithm>

#include "core/database.h"
#include "core/globals.h"
#include "lists/amounts.h"
#include "platform/webbrowser.h"
#include "reports/frmReportistica.h"
#include "reports/reportdefs.h"
#include "fixture.h"
#include "locale_scope.h"

using namespace qv;

namespace {

class ResultTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startMain();
        exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, SuPiazza, Importo) values "
             "(1, 1, '10', '2010-02-01 00:00:00', 1, 1234.5), (1, 1, '11', '2010-02-02 00:00:00', 0, 100), "
             "(1, 1, '12', '2010-02-03 00:00:00', Null, Null)");
        box().clear();
    }
    void TearDown() override {
        gArrayReport.clear();
        AppFixture::TearDown();
    }
    frmReportistica& show(const std::string& query, const std::string& title = "Assegni emessi nel mese") {
        gArrayReport = {ReportDefinition{query, title, Value("0"), "", "", "", ""}};
        gReportIndex = 0;
        Instance<frmReportistica>::release();
        auto& w = Instance<frmReportistica>::get();
        w.Load();
        return w;
    }
    std::vector<std::string> row(int r) {
        const FlexGrid& g = Instance<frmReportistica>::get().MSFlexGrid1;
        std::vector<std::string> out;
        for (int c = 0; c < g.Cols(); ++c) out.push_back(g.TextMatrix(r, c));
        return out;
    }
    qvtest::LocaleScope english_{qvtest::LocaleScope::english()};
};

TEST_F(ResultTest, FillHidesKeysFormatsAmountsAndFlags) {
    frmReportistica& w = show(
        " a.ASSEGNIEMESSIID as ASSEGNIEMESSIID, a.Numero as Numero, a.Importo as Importo, a.SuPiazza as SuPiazza, "
        "a.ANAGRAFICAID as AnagraficaId, a.AssegnoNote as AssegnoNote FROM AssegniEmessi a order by a.ASSEGNIEMESSIID");
    const FlexGrid& g = w.MSFlexGrid1;
    EXPECT_EQ(w.LumoXPForm1.Caption(), "Report - Outgoing cheques in the month");
    EXPECT_FALSE(w.cmdAdd.Visible());
    EXPECT_FALSE(w.cmdDelete.Visible());
    EXPECT_FALSE(w.cmdSelect.Visible());
    EXPECT_EQ(row(0), (std::vector<std::string>{"ASSEGNIEMESSIID", "Numero", "Amount", "Town Cheque", "Contacts Id", "Notes"}));
    EXPECT_EQ(row(1), (std::vector<std::string>{"1", "10", "1,234.50 €", "True", "1", ""}));
    EXPECT_EQ(row(2), (std::vector<std::string>{"2", "11", "100.00 €", "False", "1", ""}));
    EXPECT_EQ(row(3), (std::vector<std::string>{"3", "12", "", "", "1", ""}));   // Null amount and flag
    EXPECT_EQ(g.ColWidth(0), 0);
    EXPECT_GT(g.ColWidth(4), 0);   // "Id" is no key
    EXPECT_EQ(w.lblTotaleImporti.Caption(), "Total amount of displayed cheques: €1,334.50");
    EXPECT_TRUE(box().calls.empty());

    // Every column named Importo... goes into the one total.
    show(" 100.25 as Importo, 50 as ImportoBis, 7 as Numero");
    EXPECT_EQ(row(1), (std::vector<std::string>{"100.25 €", "50.00 €", "7"}));
    EXPECT_EQ(Instance<frmReportistica>::get().total(), 150.25);
}

TEST_F(ResultTest, ADamagedPageStopsTheFillInPlainWords) {
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
         "INSERT INTO AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo, Causale) "
         "SELECT 1, 1, i, '2010-11-01 00:00:00', 2, 'Affitto del magazzino' FROM n");
    damageTablePage("AssegniEmessi");
    const std::string before = fileBytes();
    frmReportistica& w =
        show(" a.ASSEGNIEMESSIID as ASSEGNIEMESSIID, a.Numero as Numero, a.Importo as Importo FROM AssegniEmessi a");
    EXPECT_EQ(w.MSFlexGrid1.ColWidth(0), 0);   // the key stays hidden
    const int shown = w.MSFlexGrid1.Rows() - 1;
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 3003);
    EXPECT_EQ(prompts(), std::vector<std::string>{kDbDamagedText});
    EXPECT_EQ(w.lblTotaleImporti.Caption(), totalLine(w.total()));
    EXPECT_GT(w.total(), 0);
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(ResultTest, EmptyResultAndRefusedQueries) {
    frmReportistica& w = show(" * FROM AssegniEmessi WHERE 1 = 0");
    EXPECT_EQ(w.MSFlexGrid1.TextMatrix(0, 0), "0 Records");
    EXPECT_EQ(w.MSFlexGrid1.ColWidth(0), 1000);
    EXPECT_EQ(w.lblTotaleImporti.Caption(), "Total amount of displayed cheques: €0.00");
    EXPECT_TRUE(modalShown.empty());

    const std::vector<std::string> refused = {
        " 1; DELETE FROM AssegniEmessi",
        " * FROM AssegniEmessi; UPDATE AssegniEmessi SET Importo = 0",
        " * FROM NoSuchTable",
        "",
    };
    for (const auto& q : refused) {
        SCOPED_TRACE(q);
        box().clear();
        frmReportistica& r = show(q);
        ASSERT_EQ(prompts().size(), 1u);   // one standard error text, no second one
        EXPECT_NE(prompts()[0].find("in procedure FillGrid of Form frmReportistica"), std::string::npos);
        EXPECT_EQ(r.MSFlexGrid1.Rows(), 1);
        EXPECT_EQ(r.total(), 0);
        EXPECT_EQ(screen::mousePointer(), 0);
    }
    EXPECT_EQ(count("select count(*) from AssegniEmessi where Importo > 0"), 2);
}

TEST_F(ResultTest, TheQueryRunsOnce) {
    recordStatements();
    show(" Numero FROM AssegniEmessi order by Numero");
    EXPECT_EQ(std::count(statements.begin(), statements.end(), "SELECT Numero FROM AssegniEmessi order by Numero"), 1);
    EXPECT_EQ(Instance<frmReportistica>::get().MSFlexGrid1.Rows(), 4);
}

TEST_F(ResultTest, TotalInACommaLocaleIsTheSum) {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    env::setEnglish(false);
    frmReportistica& w = show(" Importo FROM AssegniEmessi");
    EXPECT_EQ(w.MSFlexGrid1.TextMatrix(1, 0), "1.234,50 €");
    EXPECT_EQ(w.lblTotaleImporti.Caption(), "Importo complessivo degli assegni visualizzati: 1.334,50 €");
    EXPECT_EQ(w.LumoXPForm1.Caption(), "Report - Assegni emessi nel mese");
}

// Run also under the process locales it_IT.UTF-8 and en_US.UTF-8, where the
// stored amounts must still be read with their decimals.
TEST_F(ResultTest, TheExampleInTheRunsLocale) {
    qvtest::LocaleScope pin(qvtest::LocaleScope::run());
    env::setEnglish(false);
    exec("delete from AssegniEmessi");
    exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
         "(1, 1, '1', '2010-02-01 00:00:00', 100), (1, 1, '2', '2010-02-01 00:00:00', 250.5), "
         "(1, 1, '3', '2010-02-01 00:00:00', 1000)");
    frmReportistica& w = show(" Importo FROM AssegniEmessi order by Numero");
    const qvtest::ExampleMoney money = qvtest::exampleMoney();
    EXPECT_EQ((std::vector<std::string>{row(1)[0], row(2)[0], row(3)[0]}), money.cells);
    EXPECT_EQ(w.lblTotaleImporti.Caption(), "Importo complessivo degli assegni visualizzati: " + money.total);
}

TEST_F(ResultTest, PrintEscapesTitleAndTotal) {
    frmReportistica& w = show(" 1 as ASSEGNIEMESSIID, '<b>' as Causale, 5 as Importo", "Sconti <speciali> & co");
    w.cmdPrintGrid_Click();
    ASSERT_EQ(printed.size(), 1u);
    const std::string& page = printed[0];
    EXPECT_EQ(gPrintGridOptions[1], -1);
    EXPECT_NE(page.find("Quorvel - Sconti &lt;speciali&gt; & co</p>"), std::string::npos) << page;
    EXPECT_NE(page.find("<tr><th>Reason</th><th>Amount</th></tr><tr><td>&lt;b&gt;</td><td>5.00 €</td></tr></table>"
                        "Total amount of displayed cheques: €5.00</body>"),
              std::string::npos)
        << page;
}

}  // namespace
