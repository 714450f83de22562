// The received cheques list: its fill, the state of the current cheque with
// the two operation buttons, and deleting a cheque with its operations.
#include <gtest/gtest.h>

#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedListTest : public qvtest::ReceivedTest {};

TEST_F(ReceivedListTest, FillJoinsBothContactsWithAmountsFlagsAndTotal) {
    const auto rossi = contact("Rossi", "'Mario'", "5000000000");   // keys wider than 32 bits
    const auto bianchi = contact("Bianchi");
    cheque(rossi, bianchi, "111", "1234.5");
    cheque(bianchi, rossi, "222", "100", "0, 1, 1");
    cheque(rossi, 99, "333", "50");   // its payee is gone: not listed
    auto& l = openList();
    EXPECT_EQ(l.MSFlexGrid1.Cols(), 19);
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 2), "IDFIELD");
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 16), "Notes");
    EXPECT_EQ(column(1), (std::vector<std::string>{"Rossi Mario", "Bianchi "}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"Bianchi ", "Rossi Mario"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"5000000001", "5000000000"}));
    EXPECT_EQ(column(14), (std::vector<std::string>{"1,234.50 €", "100.00 €"}));
    EXPECT_EQ(column(13), (std::vector<std::string>{"", "True"}));   // a Null flag is an empty cell
    EXPECT_EQ(l.lblTotaleImporti.Caption(), "Total amount of displayed cheques: €1,334.50");
    EXPECT_TRUE(prompts().empty());
}

// Run also under the process locales it_IT.UTF-8 and en_US.UTF-8.
TEST_F(ReceivedListTest, TheExampleInTheRunsLocale) {
    qvtest::LocaleScope pin(qvtest::LocaleScope::run());
    env::setEnglish(false);
    const auto rossi = contact("Rossi");
    const auto bianchi = contact("Bianchi");
    for (const char* amount : {"100", "250.5", "1000"}) cheque(rossi, bianchi, amount, amount);
    auto& l = openList();
    const qvtest::ExampleMoney money = qvtest::exampleMoney();
    EXPECT_EQ(column(14), money.cells);
    EXPECT_EQ(l.lblTotaleImporti.Caption(), "Importo complessivo degli assegni visualizzati: " + money.total);
}

TEST_F(ReceivedListTest, StateLineAndButtonsInBothLanguages) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto bianchi = contact("Bianchi");
    const auto gone = contact("Neri", "'Luca'");
    const auto casa = account("Conto casa");
    struct Case {
        std::function<void(long long)> setUp;
        std::string english, italian;
        bool free;
    };
    const std::string neitherEn = "Cheque neither endorsed nor deposited", neitherIt = "Assegno non girato nè versato";
    const std::vector<Case> cases = {
        {[&](long long c) { endorse(c, rossi, 1); }, "Cheque endorsed (Full endorsement) to Rossi Mario",
         "Assegno girato (Girata piena) a Rossi Mario", false},
        // No first name leaves its blank; the endorsement's date is trimmed.
        {[&](long long c) { endorse(c, bianchi, 0, "' 2010-11-20 '", "'  grazie '"); },
         "Cheque endorsed to Bianchi  on 2010-11-20 (Notes: grazie)",
         "Assegno girato a Bianchi  il 2010-11-20 (Note: grazie)", false},
        {[&](long long c) { endorse(c, gone, 1); }, neitherEn, neitherIt, true},
        // The deposit's date is shown as read.
        {[&](long long c) { deposit(c, casa, "' 2010-11-21'", "'in banca'"); },
         "Cheque deposited on Conto casa on  2010-11-21 (Notes: in banca)",
         "Assegno versato su Conto casa il  2010-11-21 (Note: in banca)", false},
        {[&](long long c) { deposit(c, casa); endorse(c, rossi, 0); }, "Cheque endorsed to Rossi Mario",
         "Assegno girato a Rossi Mario", false},
        {[&](long long c) { endorse(c, gone, 0); deposit(c, casa); }, "Cheque deposited on Conto casa",
         "Assegno versato su Conto casa", false},
        {[&](long long c) { endorse(c, gone, 0); endorse(c, rossi, 0); endorse(c, bianchi, 0); },
         "Cheque endorsed to Rossi Mario", "Assegno girato a Rossi Mario", false},
        {[](long long) {}, neitherEn, neitherIt, true},
    };
    for (const auto& c : cases) c.setUp(cheque(rossi, bianchi, "1", "10"));
    exec("delete from Anagrafica where ANAGRAFICAID = " + std::to_string(gone));
    auto& l = openList();
    for (bool english : {true, false}) {
        env::setEnglish(english);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(std::to_string(i) + (english ? " English" : " Italian"));
            l.cmdGira.setEnabled(!cases[i].free);
            l.cmdVersa.setEnabled(!cases[i].free);
            l.MSFlexGrid1.pressCell(static_cast<int>(i) + 1, 3);
            EXPECT_EQ(l.txtStatoAssegno.Caption(), english ? cases[i].english : cases[i].italian);
            EXPECT_EQ(l.cmdGira.Enabled(), cases[i].free);
            EXPECT_EQ(l.cmdVersa.Enabled(), cases[i].free);
        }
    }
    // After a fill no cheque is current: the next refresh empties the line and keeps the buttons.
    l.FillGrid();
    l.MSFlexGrid1_KeyUp(40, 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "");
    EXPECT_TRUE(l.cmdGira.Enabled());
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedListTest, AStateThatCannotBeReadEnablesNoOperation) {
    const auto rossi = contact("Rossi");
    cheque(rossi, rossi, "1", "10");
    auto& l = openList();
    l.MSFlexGrid1.setRow(1);
    for (const char* table : {"Girate", "MieiContiCorrenti"}) {
        SCOPED_TRACE(table);
        box().clear();
        l.cmdGira.setEnabled(true);
        l.cmdVersa.setEnabled(true);
        exec(std::string("alter table ") + table + " rename to Hidden");
        l.ToggleGiraVersa();
        exec(std::string("alter table Hidden rename to ") + table);
        ASSERT_EQ(prompts().size(), 1u);   // told once, by the query
        EXPECT_NE(prompts()[0].find("in procedure gRsOpen"), std::string::npos);
        EXPECT_FALSE(l.cmdGira.Enabled());
        EXPECT_FALSE(l.cmdVersa.Enabled());
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "");
    }
}

TEST_F(ReceivedListTest, DeleteTakesTheOperationsWithTheChequeOrNothing) {
    const auto rossi = contact("Rossi");
    const auto casa = account("Casa");
    for (auto c : {cheque(rossi, rossi, "1", "10"), cheque(rossi, rossi, "2", "20")}) {
        endorse(c, rossi, 1);
        deposit(c, casa);
    }
    auto& l = openList();
    auto rowsOf = [&](int c) {
        std::vector<long long> n;
        for (const char* t : {"Girate", "Versamenti", "AssegniRicevuti"})
            n.push_back(count(std::string("select count(*) from ") + t + " where ASSEGNIRICEVUTIID = " +
                              std::to_string(c)));
        return n;
    };
    const std::vector<long long> all = {1, 1, 1}, none = {0, 0, 0};
    for (const char* table : {"Girate", "Versamenti", "AssegniRicevuti"}) {
        SCOPED_TRACE(table);
        box().clear();
        lock(table);
        l.MSFlexGrid1.pressCell(1, 1);
        box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        unlock();
        EXPECT_EQ(rowsOf(1), all);
        EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
        EXPECT_EQ(prompts(), (std::vector<std::string>{"Are you sure to delete the record?", kLocked}));
        EXPECT_FALSE(l.cmdGira.Enabled());
    }
    box().queueAnswer(kAnswerNo);
    l.cmdDelete_Click();
    EXPECT_EQ(rowsOf(1), all);
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(rowsOf(1), none);
    EXPECT_EQ(rowsOf(2), all);
    EXPECT_EQ(column(0), std::vector<std::string>{"2"});
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
    EXPECT_TRUE(l.cmdGira.Enabled());
    EXPECT_TRUE(l.cmdVersa.Enabled());
}

TEST_F(ReceivedListTest, AddGridRowWordsItsOwnErrorWhileErrorsAreTrapped) {
    cheque(contact("Rossi"), 1, "1", "10");
    auto& l = openList();
    // A query that fails is told once, by the query; a key that is no number by AddGridRow.
    exec("alter table AssegniRicevuti rename to Hidden");
    for (bool textKey : {false, true}) {
        if (textKey) exec("create table AssegniRicevuti (ASSEGNIRICEVUTIID); insert into AssegniRicevuti values ('x')");
        for (bool trapped : {true, false}) {
            SCOPED_TRACE(std::string(textKey ? "text key" : "no table") + (trapped ? ", trapped" : ""));
            box().clear();
            gTrapErrors = trapped;
            l.AddGridRow();
            ASSERT_EQ(prompts().size(), 1u);
            const std::string expected = !textKey ? "Error 3146 (no such table: AssegniRicevuti) in procedure gRsOpen"
                                         : trapped ? "Error No: 13 " + errorDescription(13) + " in "
                                                   : "Error 13 (" + errorDescription(13) + ") in procedure AddGridRow";
            EXPECT_EQ(prompts()[0].rfind(expected, 0), 0u) << prompts()[0];
            EXPECT_EQ(box().calls[0].buttons, 48);
        }
    }
    gTrapErrors = true;
}

}  // namespace
