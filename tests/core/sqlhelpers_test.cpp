#include "core/sqlhelpers.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/msgbox.h"
#include "core/trace.h"
#include "platform/environment.h"
#include "platform/msgbox_component.h"

namespace qv {
namespace {

class SqlHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        env::setEnglish(true);
        resetMsgBox();
        msgbox::setFactory([this] {
            auto fake = std::make_unique<ScriptedMessageBox>();
            box = fake.get();
            return std::unique_ptr<MessageBoxComponent>(std::move(fake));
        });
    }
    void TearDown() override {
        resetMsgBox();
        msgbox::setFactory(nullptr);
        env::setEnglish(true);
    }
    std::size_t boxesShown() const { return box ? box->messages().size() : 0; }
    ScriptedMessageBox* box = nullptr;
};

TEST_F(SqlHelpers, StringReplaceIgnoresCaseAndNeverRescansInsertedText) {
    EXPECT_EQ(StringReplace("aXa", "a", "aa"), "aaXaa");
    EXPECT_EQ(StringReplace("ABab", "ab", "-"), "--");
    EXPECT_EQ(StringReplace("nothing", ",", ", "), "nothing");
}

TEST_F(SqlHelpers, PadDoublesQuotes) {
    EXPECT_EQ(Pad("l'anno"), "l''anno");
    EXPECT_EQ(Pad("''"), "''''");
    EXPECT_EQ(Pad("plain"), "plain");
}

TEST_F(SqlHelpers, PutTicksInQuotesEachItemAndUpdatesItsArgument) {
    const struct { const char* in; const char* out; } cases[] = {
        {"a,b, c", "'a', 'b', 'c'"},
        {"a ,b", "'a ', 'b'"},
        {"a,  b", "'a', ' b'"},
        {"abc", "'abc'"},
    };
    for (const auto& c : cases) {
        std::string list = c.in;
        EXPECT_EQ(PutTicksIn(list), c.out) << c.in;
        EXPECT_EQ(list, c.out) << c.in;
    }
}

TEST_F(SqlHelpers, PuntoTurnsEveryCommaIntoAPoint) {
    EXPECT_EQ(Punto("12,50"), "12.50");
    EXPECT_EQ(Punto("1.234,56"), "1.234.56");
}

TEST_F(SqlHelpers, FormattaDataWritesDateAndTime) {
    EXPECT_EQ(FormattaData(DateTime{2010, 11, 25, 14, 5, 9}), "2010-11-25 14:05:09");
    EXPECT_EQ(FormattaData(DateTime{2010, 11, 25}), "2010-11-25 00:00:00");
}

TEST_F(SqlHelpers, ConcatSqlJoinsThreeExpressions) {
    EXPECT_EQ(concatSql("c.cognome", "' '", "c.Nome"),
              " (ifnull(c.cognome,'') || ifnull(' ','') || ifnull(c.Nome,'')) ");
}

TEST_F(SqlHelpers, BooleanToStringByLanguage) {
    EXPECT_EQ(BooleanToString("-1"), "True");
    EXPECT_EQ(BooleanToString("1"), "True");
    EXPECT_EQ(BooleanToString("0"), "False");
    env::setEnglish(false);
    EXPECT_EQ(BooleanToString("1"), "Vero");
    EXPECT_EQ(BooleanToString("0"), "Falso");
    EXPECT_EQ(boxesShown(), 0u);
}

TEST_F(SqlHelpers, BooleanToStringOfANonNumberShowsTheStandardError) {
    EXPECT_EQ(BooleanToString(""), "");
    ASSERT_NE(box, nullptr);
    const auto shown = box->messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].prompt, "Error 13 (Type mismatch) in procedure BooleanToString of Modulo basDbDialect");
    EXPECT_EQ(shown[0].buttons, 48);
    EXPECT_EQ(shown[0].title, "Quorvel");
}

TEST_F(SqlHelpers, FlagWordLeavesAnEmptyCellEmptyWithoutMessage) {
    EXPECT_EQ(flagWord(Value::Null()), "");
    EXPECT_EQ(flagWord(""), "");
    EXPECT_EQ(flagWord("1"), "True");
    EXPECT_EQ(flagWord("0"), "False");
    EXPECT_EQ(boxesShown(), 0u);
}

TEST_F(SqlHelpers, WrapBooleanChk) {
    EXPECT_EQ(wrapbooleanchk(1), "True");
    EXPECT_EQ(wrapbooleanchk(0), "False");
    EXPECT_EQ(wrapbooleanchk(2), "False");
}

TEST_F(SqlHelpers, CheckAbiCab) {
    env::setEnglish(false);
    const struct { const char* code; const char* label; const char* out; } cases[] = {
        {"1234", "ABI", "Lunghezza del codice ABI non valida"},
        {"123456", "ABI", "Lunghezza del codice ABI non valida"},
        {"12A45", "CAB", "Il codice CAB contiene caratteri non validi"},
        {"1234\xC3\xA8", "CAB", "Il codice CAB contiene caratteri non validi"},   // five characters
        {"12345", "CAB", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(checkABICAB(c.code, c.label), c.out) << c.code;
    env::setEnglish(true);
    EXPECT_EQ(checkABICAB("1234", "ABI"), "");
    EXPECT_EQ(checkABICAB("12A45", "CAB"), "");
}

TEST_F(SqlHelpers, IsBooleanFieldComparesTheExactName) {
    for (const char* name : {"SuPiazza", "GirataPiena", "Trasferibile", "Sbarrato"})
        EXPECT_TRUE(isBooleanField(name)) << name;
    for (const char* name : {"supiazza", "Importo", ""}) EXPECT_FALSE(isBooleanField(name)) << name;
}

// The module name is part of every error text these helpers show.
TEST_F(SqlHelpers, EachHelperTracesItsOwnModule) {
    const struct { std::function<void()> call; const char* trace; } cases[] = {
        {[] { StringReplace("x", "x", "y"); }, "basGeneral::StringReplace"},
        {[] { Punto("1,5"); }, "basGeneralCustom::Punto"},
        {[] { FormattaData(DateTime{}); }, "basDbDialect::FormattaData"},
        {[] { concatSql("a", "b", "c"); }, "basDbDialect::concatSql"},
        {[] { BooleanToString("1"); }, "basDbDialect::BooleanToString"},
        {[] { wrapbooleanchk(1); }, "basGeneralCustom::wrapbooleanchk"},
        {[] { checkABICAB("12345", "ABI"); }, "basGeneralCustom::checkABICAB"},
        {[] { isBooleanField("Sbarrato"); }, "basGeneral::isBooleanField"},
    };
    for (const auto& c : cases) {
        gCurrentProc.clear();
        c.call();
        EXPECT_EQ(gCurrentProc, c.trace);
    }
}

// Pad and PutTicksIn trace themselves before each replace they are built on.
TEST_F(SqlHelpers, NestedHelpersTraceInOrder) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qv_sqlhelpers_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    env::setProgramFolder(dir.string());
    gLogStatus = "ON";
    std::string list = "a,b";
    Pad("x");
    PutTicksIn(list);
    gLogStatus.clear();
    env::setProgramFolder("");

    std::ifstream in(dir / kLogFileName);
    std::vector<std::string> procs;
    for (std::string line; std::getline(in, line);)
        procs.push_back(line.substr(line.find("] ") + 2, line.find('\r') - line.find("] ") - 2));
    std::filesystem::remove_all(dir);
    const std::vector<std::string> expected = {
        "basGeneral::Pad",        "basGeneral::StringReplace", "basGeneral::PutTicksIn",
        "basGeneral::StringReplace", "basGeneral::StringReplace", "basGeneral::StringReplace"};
    EXPECT_EQ(procs, expected);
}

}  // namespace
}  // namespace qv
