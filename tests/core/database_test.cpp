// Database access: the shared result set, statements, settings and the
// existence checks.
#include <gtest/gtest.h>

#include "core/database.h"
#include "fixture.h"

using namespace qv;

namespace {

class DatabaseTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        openDb();
        exec("create table settings (mnemocode text primary key, value text)");
        exec("insert into settings values ('PRTCSIZE','7')");
        exec("insert into Anagrafica (TIPOLOGIAID, Cognome, Nome) values (1, 'O''Brien', 'Pat')");
    }
};

TEST_F(DatabaseTest, ResultSetReadsRowsFieldsAndNulls) {
    exec("insert into Anagrafica (TIPOLOGIAID, Cognome) values (2, 'Rossi')");
    resetRs();
    gRsOpen("select ANAGRAFICAID, Cognome, Nome from anagrafica order by anagraficaid");
    Recordset& rs = gRs();
    ASSERT_FALSE(rs.isEOF());
    EXPECT_EQ(rs.FieldCount(), 3);
    EXPECT_EQ(rs.Fields(1).Name(), "Cognome");
    EXPECT_EQ(rs.Fields("cognome").value().str(), "O'Brien");
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields("NOME").value().isNull());
    EXPECT_THROW(rs.Fields("NOME").value().toText(), RuntimeError);
    rs.MoveNext();
    EXPECT_TRUE(rs.isEOF());
    try {
        rs.Fields(0).value();
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), kErrNoCurrentRow);
    }
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).value().toLong(), 1);
    CloseDb();
    CloseDb();   // twice: no message
    try {
        rs.isEOF();
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), kErrObjectClosed);
    }
    resetRs();
    EXPECT_FALSE(gRs().isOpen());   // an empty gRs is a fresh, closed result set
    EXPECT_TRUE(prompts().empty());
}

TEST_F(DatabaseTest, FailedStatementIsReportedAndToldToTheCaller) {
    EXPECT_TRUE(gDbExecute("update Anagrafica set Nome = 'X'"));
    EXPECT_FALSE(gDbExecute("update NoSuchTable set a = 1"));
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_EQ(prompts()[0],
              "Error 3146 (no such table: NoSuchTable) in procedure gDbExecute of Modulo basGeneral");
    // Two statements in one call are refused whole: nothing of either runs.
    EXPECT_FALSE(gDbExecute("delete from Anagrafica; delete from settings"));
    EXPECT_EQ(count("select count(*) from Anagrafica"), 1);
    // "Exists already" stays silent only when asked.
    box().clear();
    EXPECT_FALSE(gDbExecute("insert into settings values ('PRTCSIZE','9')", true));
    EXPECT_FALSE(gDbExecute("create table settings (a)", true));
    EXPECT_TRUE(prompts().empty());
    EXPECT_FALSE(gDbExecute("insert into settings values ('PRTCSIZE','9')"));
    EXPECT_EQ(prompts().size(), 1u);
}

TEST_F(DatabaseTest, FailedQueryLeavesResultSetEmpty) {
    // Told here, then passed up so that the caller stops (a told error is not told again).
    EXPECT_THROW(gRsOpen("select nothing from nowhere"), RuntimeError);
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("in procedure gRsOpen of Modulo basGeneral"), std::string::npos);
    EXPECT_FALSE(gRs().isOpen());
}

TEST_F(DatabaseTest, Settings) {
    EXPECT_EQ(getSetting("PRTCSIZE"), "7");
    EXPECT_EQ(getSetting("MISSING"), "");
    EXPECT_EQ(getSetting("it's"), "");   // a quote in the key cannot break the query
    exec("insert into settings values ('EMPTY', null)");
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(getSetting("EMPTY"), "");
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("in procedure getSetting of Modulo basGeneralCustom"), std::string::npos);
}

TEST_F(DatabaseTest, ExistenceChecksWriteTheirTextsAndTellFailureFromNoRows) {
    recordStatements();
    struct Case {
        std::string table, field, value, kind, exField, exValue;
        std::string sql;
        Check expected;
    };
    const std::vector<Case> cases = {
        {"anagrafica", "cognome", "O'Brien", "S", "", "",
         "select count(*) as conteggio from anagrafica where cognome = 'O''Brien'", true},
        {"anagrafica", "tipologiaid", "1", "N", "", "",
         "select count(*) as conteggio from anagrafica where tipologiaid = 1", true},
        {"anagrafica", "tipologiaid", "7", "N", "", "",
         "select count(*) as conteggio from anagrafica where tipologiaid = 7", false},
        {"anagrafica", "cognome", "O'Brien", "S", "anagraficaid", "1",
         "select count(*) as conteggio from anagrafica where cognome = 'O''Brien'  and anagraficaid <>1", false},
    };
    for (const auto& c : cases) {
        statements.clear();
        EXPECT_EQ(esisteRecord(c.table, c.field, c.value, c.kind, c.exField, c.exValue), c.expected) << c.sql;
        ASSERT_FALSE(statements.empty());
        EXPECT_EQ(statements[0], c.sql);
    }
    EXPECT_TRUE(prompts().empty());

    // A value of kind "N" or an excluded value that is not a number is refused, not sent.
    statements.clear();
    EXPECT_EQ(esisteRecord("anagrafica", "tipologiaid", "1 or 1=1", "N"), std::nullopt);
    EXPECT_EQ(esisteRecord("anagrafica", "cognome", "x", "S", "anagraficaid", "0 or 1=1"), std::nullopt);
    EXPECT_TRUE(statements.empty());
    EXPECT_EQ(prompts().size(), 2u);
    // A failing check is not "no rows".
    box().clear();
    EXPECT_EQ(esisteRecord("nosuchtable", "a", "1", "N"), std::nullopt);
    EXPECT_EQ(esisteRecordSQL("select 1 as other"), std::nullopt);
    EXPECT_EQ(esisteRecordSQL("select count(*) as conteggio from anagrafica"), Check(true));
    ASSERT_EQ(prompts().size(), 2u);
    EXPECT_NE(prompts()[0].find("in procedure esisteRecord of Modulo basGeneralCustom"), std::string::npos);
    EXPECT_NE(prompts()[1].find("in procedure esisteRecordSQL of Modulo basGeneralCustom"), std::string::npos);
}

TEST_F(DatabaseTest, SecondOpenDoesNothing) {
    SQLiteComponent* first = gSqlLiteDb();
    OpenDb();
    EXPECT_EQ(gSqlLiteDb(), first);
    EXPECT_EQ(gDbPath, folder() + "/brindle3.db3");
    EXPECT_TRUE(prompts().empty());
}

}  // namespace
