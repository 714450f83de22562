// The received cheques list: its fill, the state of the current cheque with
// the two operation buttons, the delete of a cheque with its operations.
#include <gtest/gtest.h>

#include "received_fixture.h"

using namespace qv;

namespace {

class ReceivedListTest : public qvtest::ReceivedTest {};

TEST_F(ReceivedListTest, FillJoinsBothContactsFormatsAmountsAndFlagsAndTotals) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto bianchi = contact("Bianchi");
    cheque(rossi, bianchi, "111", "1234.5");
    cheque(bianchi, rossi, "222", "100", "'2010-11-03 00:00:00'", "0, 1, 1");
    cheque(rossi, 99, "333", "50");   // its payee is gone: not listed
    auto& l = openList();
    FlexGrid& g = l.MSFlexGrid1;
    ASSERT_EQ(g.Cols(), 19);
    const std::vector<std::string> headers = {
        "IDFIELD", "Signer", "IDFIELD", "Payee", "Checque Number", "Cheque Date", "Place of issue",
        "Town Cheque", "Bank", "Bank Code #1", "Bank Code #2", "Account number", "Negotiable", "Crossed",
        "Amount", "Reason", "Notes", "Created", "Last Updated"};
    for (int c = 0; c < 19; ++c) EXPECT_EQ(g.TextMatrix(0, c), headers[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(g.ColWidth(2), 0);
    EXPECT_EQ(column(1), (std::vector<std::string>{"Rossi Mario", "Bianchi "}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"Bianchi ", "Rossi Mario"}));
    EXPECT_EQ(column(14), (std::vector<std::string>{"1,234.50 €", "100.00 €"}));
    EXPECT_EQ(column(7), (std::vector<std::string>{"True", "False"}));
    EXPECT_EQ(column(13), (std::vector<std::string>{"", "True"}));   // a Null flag is an empty cell
    EXPECT_EQ(l.lblTotaleImporti.Caption(), "Total amount of displayed cheques: £1,334.50");
    EXPECT_EQ(g.Row(), 0);
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedListTest, StateLineAndButtonsInBothLanguages) {
    const auto rossi = contact("Rossi", "'Mario'");
    const auto bianchi = contact("Bianchi");
    const auto gone = contact("Neri", "'Luca'");
    const auto casa = account("Conto casa");
    struct Case {
        std::string what;
        std::function<void(long long)> setUp;
        std::string english, italian;
        bool free;
    };
    const std::vector<Case> cases = {
        {"full endorsement, no date or note", [&](long long c) { endorse(c, rossi, 1); },
         "Cheque endorsed (Full endorsement) to Rossi Mario", "Assegno girato (Girata piena) a Rossi Mario", false},
        {"endorsee without a first name, date and note trimmed",
         [&](long long c) { endorse(c, bianchi, 0, "' 2010-11-20 00:00:00 '", "'  grazie '"); },
         "Cheque endorsed to Bianchi  on 2010-11-20 00:00:00 (Notes: grazie)",
         "Assegno girato a Bianchi  il 2010-11-20 00:00:00 (Note: grazie)", false},
        {"orphaned endorsee", [&](long long c) { endorse(c, gone, 1); },
         "Cheque neither endorsed nor deposited", "Assegno non girato nè versato", true},
        {"deposit, its date shown as read", [&](long long c) { deposit(c, casa, "' 2010-11-21'", "'in banca'"); },
         "Cheque deposited on Conto casa on  2010-11-21 (Notes: in banca)",
         "Assegno versato su Conto casa il  2010-11-21 (Note: in banca)", false},
        {"deposit without date", [&](long long c) { deposit(c, casa); }, "Cheque deposited on Conto casa",
         "Assegno versato su Conto casa", false},
        {"both: the endorsement is told", [&](long long c) { deposit(c, casa); endorse(c, rossi, 0); },
         "Cheque endorsed to Rossi Mario", "Assegno girato a Rossi Mario", false},
        {"orphaned endorsee and a deposit", [&](long long c) { endorse(c, gone, 0); deposit(c, casa); },
         "Cheque deposited on Conto casa", "Assegno versato su Conto casa", false},
        {"two endorsements: the oldest", [&](long long c) { endorse(c, gone, 0); endorse(c, rossi, 0); endorse(c, bianchi, 0); },
         "Cheque endorsed to Rossi Mario", "Assegno girato a Rossi Mario", false},
        {"neither", [](long long) {}, "Cheque neither endorsed nor deposited", "Assegno non girato nè versato", true},
    };
    for (const auto& c : cases) c.setUp(cheque(rossi, bianchi, c.what.substr(0, 5), "10"));
    exec("delete from Anagrafica where ANAGRAFICAID = " + std::to_string(gone));
    auto& l = openList();
    ASSERT_EQ(l.MSFlexGrid1.Rows(), static_cast<int>(cases.size()) + 1);
    for (bool english : {true, false}) {
        env::setEnglish(english);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(cases[i].what + (english ? " (English)" : " (Italian)"));
            // The buttons start the other way round, so the refresh must set them.
            l.cmdGira.setEnabled(!cases[i].free);
            l.cmdVersa.setEnabled(!cases[i].free);
            l.MSFlexGrid1.pressCell(static_cast<int>(i) + 1, 3);
            EXPECT_EQ(l.txtStatoAssegno.Caption(), english ? cases[i].english : cases[i].italian);
            EXPECT_EQ(l.cmdGira.Enabled(), cases[i].free);
            EXPECT_EQ(l.cmdVersa.Enabled(), cases[i].free);
            EXPECT_EQ(l.mASSEGNIRICEVUTIID, static_cast<long long>(i) + 1);
        }
    }
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ReceivedListTest, AStateThatCannotBeReadEnablesNoOperation) {
    const auto rossi = contact("Rossi");
    cheque(rossi, rossi, "1", "10");
    auto& l = openList();
    for (const char* table : {"Girate", "MieiContiCorrenti"}) {
        SCOPED_TRACE(table);
        box().clear();
        l.cmdGira.setEnabled(true);
        l.cmdVersa.setEnabled(true);
        l.txtStatoAssegno.setCaption("stale");
        exec(std::string("alter table ") + table + " rename to Hidden");
        l.MSFlexGrid1.setRow(1);
        l.ToggleGiraVersa();
        exec(std::string("alter table Hidden rename to ") + table);
        ASSERT_EQ(prompts().size(), 1u);   // told once, by the query
        EXPECT_NE(prompts()[0].find("in procedure gRsOpen"), std::string::npos) << prompts()[0];
        EXPECT_FALSE(l.cmdGira.Enabled());
        EXPECT_FALSE(l.cmdVersa.Enabled());
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "");
        // The plain readers answer "none" after showing the error.
        box().clear();
        exec(std::string("alter table ") + table + " rename to Hidden");
        EXPECT_EQ(std::string(table) == "Girate" ? l.getGiratoMessage(1) : l.getVersatoMessage(1), "");
        exec(std::string("alter table Hidden rename to ") + table);
        EXPECT_EQ(prompts().size(), 1u);
    }
    // Readable again: a free cheque.
    l.ToggleGiraVersa();
    EXPECT_TRUE(l.cmdGira.Enabled());
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
}

TEST_F(ReceivedListTest, NoCurrentRowEmptiesTheLineAndKeepsTheButtons) {
    const auto rossi = contact("Rossi");
    const auto casa = account("Casa");
    deposit(cheque(rossi, rossi, "1", "10"), casa);
    auto& l = openList();
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "");
    l.MSFlexGrid1.pressCell(1, 1);
    EXPECT_FALSE(l.cmdGira.Enabled());
    l.FillGrid();   // no row is current after a fill; the line stays until a refresh
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque deposited on Casa");
    l.MSFlexGrid1_KeyUp(40, 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "");
    EXPECT_FALSE(l.cmdGira.Enabled());
    // Endorse, deposit and delete do nothing without a current row.
    l.cmdGira_Click();
    l.cmdVersa_Click();
    l.cmdDelete_Click();
    EXPECT_TRUE(modalShown.empty());
    EXPECT_TRUE(box().calls.empty());
}

TEST_F(ReceivedListTest, DeleteTakesTheOperationsWithTheChequeOrNothing) {
    const auto rossi = contact("Rossi");
    const auto casa = account("Casa");
    const auto first = cheque(rossi, rossi, "1", "10");
    const auto second = cheque(rossi, rossi, "2", "20");
    for (auto c : {first, second}) {
        endorse(c, rossi, 1);
        deposit(c, casa);
    }
    auto& l = openList();
    auto rowsOf = [&](long long c) {
        const std::string k = std::to_string(c);
        return std::vector<long long>{count("select count(*) from Girate where ASSEGNIRICEVUTIID = " + k),
                                      count("select count(*) from Versamenti where ASSEGNIRICEVUTIID = " + k),
                                      count("select count(*) from AssegniRicevuti where ASSEGNIRICEVUTIID = " + k)};
    };
    const std::vector<long long> all = {1, 1, 1}, none = {0, 0, 0};

    // Any of the three statements failing leaves every row, the list and the state as they were.
    for (const char* table : {"Girate", "Versamenti", "AssegniRicevuti"}) {
        SCOPED_TRACE(table);
        box().clear();
        exec(std::string("create trigger stop before delete on ") + table +
             " begin select raise(abort, 'locked'); end");
        l.MSFlexGrid1.pressCell(1, 1);
        box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        exec("drop trigger stop");
        EXPECT_EQ(rowsOf(first), all);
        EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
        EXPECT_EQ(prompts(), (std::vector<std::string>{"Are you sure to delete the record?",
                                                        "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral"}));
        EXPECT_FALSE(l.cmdGira.Enabled());
        EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque endorsed (Full endorsement) to Rossi ");
    }
    // Not confirmed: nothing.
    box().queueAnswer(kAnswerNo);
    l.cmdDelete_Click();
    EXPECT_EQ(rowsOf(first), all);
    // Confirmed: the cheque and its operations go, the other cheque keeps its own.
    box().queueAnswer(kAnswerYes);
    l.cmdDelete_Click();
    EXPECT_EQ(rowsOf(first), none);
    EXPECT_EQ(rowsOf(second), all);
    EXPECT_EQ(column(0), std::vector<std::string>{"2"});
    EXPECT_EQ(l.MSFlexGrid1.Row(), 0);
    EXPECT_EQ(l.txtStatoAssegno.Caption(), "Cheque neither endorsed nor deposited");
    EXPECT_TRUE(l.cmdGira.Enabled());
    EXPECT_TRUE(l.cmdVersa.Enabled());
}

TEST_F(ReceivedListTest, AddGridRowErrorWordsItsOwnTextWhileErrorsAreTrapped) {
    const auto rossi = contact("Rossi");
    cheque(rossi, rossi, "1", "10");
    auto& l = openList();
    exec("alter table AssegniRicevuti rename to Hidden");
    ASSERT_TRUE(gTrapErrors);
    l.AddGridRow();
    ASSERT_EQ(prompts().size(), 2u);
    EXPECT_NE(prompts()[0].find("in procedure gRsOpen"), std::string::npos);
    // Number, description, and the procedure traced last.
    EXPECT_EQ(prompts()[1].rfind("Error No: 3704 " + errorDescription(3704) + " in ", 0), 0u) << prompts()[1];
    EXPECT_NE(prompts()[1].find("::"), std::string::npos) << prompts()[1];
    EXPECT_EQ(box().calls[1].buttons, 48);
    EXPECT_EQ(screen::mousePointer(), 0);
    // Before the main window's first activation: the standard text.
    box().clear();
    gTrapErrors = false;
    l.AddGridRow();
    gTrapErrors = true;
    exec("alter table Hidden rename to AssegniRicevuti");
    ASSERT_EQ(prompts().size(), 2u);
    EXPECT_EQ(prompts()[1].rfind("Error 3704 (", 0), 0u);
    EXPECT_NE(prompts()[1].find("in procedure AddGridRow of Form frmAssegniRicevuti"), std::string::npos);
}

}  // namespace
