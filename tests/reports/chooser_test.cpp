// The report chooser: loading the stored reports, the buttons, asking the
// parameters and abandoning a run.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fstream>

#include "core/database.h"
#include "core/dbupdates.h"
#include "core/translation.h"
#include "reports/frmReportistica.h"
#include "reports/frmSplashReports.h"
#include "fixture.h"

using namespace qv;

namespace {

class ChooserTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startMain();
        box().clear();
    }
    void TearDown() override {
        gArrayReport.clear();
        AppFixture::TearDown();
    }
    // Replaces the stored reports: (query, title, count, kind1, kind2, prompt1, prompt2) as SQL literals.
    void storeReports(const std::vector<std::string>& valueLists) {
        exec("delete from reportistica");
        int order = 0;
        for (const auto& v : valueLists)
            exec("insert into reportistica (sqlreport, titolo, numparametri, tipopar1, tipopar2, promptpar1, "
                 "promptpar2, ordine) values (" + v + ", " + std::to_string(++order) + ")");
    }
    frmSplashReports& openChooser() {
        auto& c = Instance<frmSplashReports>::get();
        c.Load();
        return c;
    }
    std::vector<std::string> inputPrompts() {
        std::vector<std::string> out;
        for (const auto& c : box().calls)
            if (c.isInput) out.push_back(c.prompt);
        return out;
    }
    // Runs button i; the query the result window ran, or "" when none opened.
    std::string run(frmSplashReports& c, int i, const std::vector<std::string>& answers) {
        for (const auto& a : answers) box().queueInput(a);
        const auto before = modalShown.size();
        c.cmdShowReport_Click(i);
        if (modalShown.size() == before) return "";
        return Instance<frmReportistica>::get().SqlReport();
    }
};

TEST_F(ChooserTest, ShippedReportsGetButtonsInOrder) {
    frmSplashReports& c = openChooser();
    EXPECT_EQ(c.LumoXPForm.Caption(), "Choose a Report");
    EXPECT_EQ(c.cmdClose.Caption(), "E&xit");
    EXPECT_EQ(c.cmdClose.Left(), 6720);
    EXPECT_EQ(c.cmdClose.Top(), 2520);
    for (int i = 0; i < frmSplashReports::kButtons; ++i) {
        const CommandButton& b = *c.cmdShowReport[static_cast<std::size_t>(i)];
        EXPECT_EQ(b.Visible(), i < 11) << i;
        if (i < 11) {
            EXPECT_EQ(b.Caption(), captionTable()[53 + static_cast<std::size_t>(i)].english);
        }
    }
    EXPECT_EQ(c.cmdShowReport[7]->Left(), 1560);
    EXPECT_EQ(c.cmdShowReport[7]->Top(), 1560);
    EXPECT_TRUE(box().calls.empty());
}

TEST_F(ChooserTest, AnyNumberOfRowsAndNullsLoadQuietly) {
    std::vector<std::string> rows = {
        "' 1 as x', '', 0, Null, Null, Null, Null",        // empty title: a button without caption
        "Null, 'senza query', 0, Null, Null, Null, Null",  // no query: no button
        "' 1 as x', Null, 1, Null, Null, Null, Null",      // Null title and kind
    };
    for (int i = 3; i < 40; ++i) rows.push_back("' " + std::to_string(i) + " as x', 'R" + std::to_string(i) + "', 0, 'STRINGA', Null, Null, Null");
    storeReports(rows);
    frmSplashReports& c = openChooser();
    EXPECT_TRUE(box().calls.empty());
    ASSERT_EQ(gArrayReport.size(), 40u);
    EXPECT_TRUE(c.cmdShowReport[0]->Visible());
    EXPECT_EQ(c.cmdShowReport[0]->Caption(), "");
    EXPECT_FALSE(c.cmdShowReport[1]->Visible());
    EXPECT_TRUE(c.cmdShowReport[2]->Visible());
    EXPECT_EQ(c.cmdShowReport[16]->Caption(), "R16");
    EXPECT_EQ(gArrayReport[2].titolo, "");
    EXPECT_EQ(gArrayReport[2].promptpar1, "");

    // The unknown (Null) kind asks nothing and the report runs.
    EXPECT_EQ(run(c, 2, {}), " 1 as x");
    EXPECT_TRUE(inputPrompts().empty());
}

TEST_F(ChooserTest, PromptsInBothLanguages) {
    storeReports({"' [P1] as a, [P2] as b', 'Due', 2, 'DATAMESE', 'DATAPRECISA', "
                  "'il mese di partenza (formato MM/AAAA)', 'la data di arrivo (formato GG/MM/AAAA)'",
                  "' ''[P1]'' as a, ''[P1ARR]'' as b', 'Periodo', 1, 'DUEDATEPRECISE', Null, 'ignorato', Null"});
    frmSplashReports& c = openChooser();
    run(c, 0, {"02/2010", ""});
    run(c, 1, {"01/01/2010", "31/12/2010"});
    EXPECT_EQ(inputPrompts(), (std::vector<std::string>{"Insert the starting month (format MM/YYYY)",
                                                        "Insert the end date (format DD/MM/YYYY)",
                                                        "Insert the starting date (DD/MM/YYYY)",
                                                        "Insert the end date (DD/MM/YYYY)"}));
    EXPECT_EQ(box().calls[0].title, "Quorvel");
    EXPECT_EQ(gArrayReport[1].sqlreport, " '[P1]' as a, '[P1ARR]' as b");   // put back after the run
    box().clear();
    c.cmdClose_Click();
    env::setEnglish(false);
    frmSplashReports& it = openChooser();
    EXPECT_EQ(it.cmdShowReport[0]->Caption(), "Due");
    run(it, 0, {""});
    run(it, 1, {""});
    EXPECT_EQ(inputPrompts(), (std::vector<std::string>{"Inserisci il mese di partenza (formato MM/AAAA)",
                                                        "Inserisci la data di partenza (GG/MM/AAAA)"}));
}

TEST_F(ChooserTest, BadAnswersAreRefusedWithTheirMessage) {
    storeReports({"' [P1] as a', 'Mese', 1, 'DATAMESE', Null, 'il mese', Null",
                  "' [P1] as a, [P2] as b', 'Date', 2, 'DATAPRECISA', 'DATAPRECISA', 'inizio', 'fine'",
                  "' [P1] as a', 'Numero', 1, 'NUMERICO', Null, 'importo', Null",
                  "' [P1] as a', 'Periodo', 1, 'DUEDATEPRECISE', Null, Null, Null",
                  "' [P1] as a', 'Testo', 1, 'STRINGA', Null, 'testo', Null"});
    struct Case {
        int button;
        std::vector<std::string> answers;
        std::string message;   // "" = none
    };
    const std::vector<Case> cases = {
        {0, {"13/2010"}, "Invalid month format"},
        {1, {"31/02/2010"}, "Invalid date format"},
        {1, {"01/02/2010", "2010"}, "Formato della data non valido"},
        {2, {"12A"}, "Invalid number format"},
        {3, {"x"}, "Invalid date format"},
        {3, {"01/02/2010", "x"}, "Invalid date format"},
        {0, {"   "}, ""},
        {4, {"  "}, ""},
    };
    frmSplashReports& c = openChooser();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.answers[0]);
        box().clear();
        EXPECT_EQ(run(c, k.button, k.answers), "");
        std::vector<std::string> expected;
        if (!k.message.empty()) expected.push_back(k.message);
        EXPECT_EQ(prompts(), expected);
        if (!k.message.empty()) {
            EXPECT_EQ(box().messages()[0].buttons, 48);
        }
        EXPECT_EQ(inputPrompts().size(), k.answers.size());
    }
    EXPECT_TRUE(modalShown.empty());
}

TEST_F(ChooserTest, AbandonedRunAsksAgainFromTheStoredText) {
    storeReports({"' ''[P1]'' as a, ''[P2]'' as b', 'Due', 2, 'DATAPRECISA', 'STRINGA', 'da', 'chi'"});
    frmSplashReports& c = openChooser();
    EXPECT_EQ(run(c, 0, {"01/02/2010", ""}), "");
    EXPECT_TRUE(modalShown.empty());
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(run(c, 0, {"05/03/2010", "l'[P1]"}), " '2010-03-05 00:00:00' as a, 'l''[P1]' as b");
    EXPECT_EQ(inputPrompts().size(), 4u);
    EXPECT_EQ(gArrayReport[0].sqlreport, " '[P1]' as a, '[P2]' as b");
}

TEST_F(ChooserTest, ACountThatIsNoNumberFailsTheRunOnly) {
    storeReports({"' 1 as a', 'Rotto', Null, 'STRINGA', Null, 'x', Null"});
    frmSplashReports& c = openChooser();
    EXPECT_EQ(run(c, 0, {"ignored"}), "");
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("in procedure cmdShowReport_Click of Form frmSplashReports"), std::string::npos);
    EXPECT_TRUE(inputPrompts().empty());
}

// A reload that another program's lock stopped is made again by the next
// button; while the lock lasts each press tells it once and shows nothing.
TEST_F(ChooserTest, AButtonReadsTheReportsAgainAfterALoadThatFailed) {
    storeReports({"' 1 as Uno', 'Uno', 0, Null, Null, Null, Null", "' 2 as Due', 'Due', 0, Null, Null, Null, Null"});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(dbPath().c_str(), &other), SQLITE_OK);
    const auto lock = [other] { sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr); };
    const auto unlock = [other] { sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr); };
    frmSplashReports& c = openChooser();
    lock();
    c.PopolaArrayReport();   // as after a run, when the result window closes
    for (bool locked : {true, false}) {
        SCOPED_TRACE(locked);
        if (!locked) unlock();
        box().clear();
        EXPECT_EQ(run(c, 1, {}), locked ? "" : " 2 as Due");
        EXPECT_EQ(prompts(), locked ? std::vector<std::string>{kDbBusyText} : std::vector<std::string>{});
    }
    sqlite3_close(other);
}

TEST_F(ChooserTest, ReplayedReportLinesAddAReportOnce) {
    {
        std::ifstream shipped(std::string(QV_DATA_DIR) + "/reports.sql");
        std::ofstream out(folder() + "/nuovireport.sql");
        out << shipped.rdbuf() << "\r\n"
            << "INSERT INTO reportistica (sqlreport, titolo, numparametri, ordine) VALUES (' 1 as Uno', 'Nuovo', 0, 120);\r\n";
    }
    AggiornaReportistica();
    AggiornaReportistica();
    EXPECT_TRUE(box().calls.empty());
    EXPECT_EQ(count("select count(*) from reportistica"), 12);
    EXPECT_EQ(count("select count(*) from reportistica where titolo = 'Nuovo'"), 1);
}

}  // namespace
