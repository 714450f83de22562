// Start-up through the main window: the database, the replayed settings, the
// statement file, activation and the log.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "core/database.h"
#include "core/dbupdates.h"
#include "core/frmMain.h"
#include "core/globals.h"
#include "core/trace.h"
#include "platform/databaselock.h"
#include "fixture.h"
#include "locale_scope.h"

using namespace qv;

namespace {

// Root writes any file whatever its mode: while this lasts, this thread
// keeps to the file modes as any user does.
class KeepingToFileModes {
public:
    KeepingToFileModes() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct data[2] = {saved_[0], saved_[1]};
        data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, data);
    }
    ~KeepingToFileModes() { syscall(SYS_capset, &header_, saved_); }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

class StartupTest : public qvtest::AppFixture {
protected:
    // A new run of the program on the same folder.
    void restart() {
        releaseMainWindow();
        resetDatabase();
        gNumAggiornamenti = 0;
        gLogStatus.clear();
        box().clear();
        startMain();
    }
    void writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream(folder() + "/" + name, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) {
        std::ifstream in(folder() + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(StartupTest, FreshDatabaseGetsItsSettingsAndTheWindowIsPrepared) {
    startMain();
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(scalar("select value from settings where mnemocode='PRTCSIZE'"), "7");
    EXPECT_EQ(scalar("select value from settings where mnemocode='LOGSTATUS'"), "OFF");
    frmMain& m = mainWindow();
    EXPECT_TRUE(m.Loaded());
    EXPECT_EQ(m.Caption(), "Quorvel 3.0");
    EXPECT_EQ(gPrintFontSize, 7);
    EXPECT_EQ(gLogStatus, "OFF");
    EXPECT_TRUE(gTrapErrors);
    EXPECT_EQ(gDbName, "brindle3.db3");
    const std::vector<std::pair<CommandButton*, std::string>> captions = {
        {&m.cmdAssegniRicevuti, "&Incoming Cheques"}, {&m.cmdAssegniEmessi, "&Outgoing Cheques"},
        {&m.cmdAnagrafica, "Co&ntacts"},              {&m.cmdContiCorrenti, "&Accounts"},
        {&m.cmdReportistica, "Re&ports"},             {&m.cmdTipologia, "Contact &Types"},
        {&m.cmdInfo, "Abou&t"},                       {&m.cmdBackup, "Database &Backup"},
        {&m.cmdEsci, "E&xit"}};
    for (const auto& [button, caption] : captions) EXPECT_EQ(button->Caption(), caption);
}

TEST_F(StartupTest, SecondStartIsSilentAndKeepsStoredSettings) {
    startMain();
    exec("update settings set value='10' where mnemocode='PRTCSIZE'");
    exec("update settings set value='ON' where mnemocode='LOGSTATUS'");
    restart();
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(gPrintFontSize, 10);
    EXPECT_EQ(gLogStatus, "ON");
    EXPECT_EQ(count("select count(*) from settings"), 2);
}

TEST_F(StartupTest, LostSettingComesBackAtNextStart) {
    startMain();
    exec("delete from settings where mnemocode='PRTCSIZE'");
    restart();
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(scalar("select value from settings where mnemocode='PRTCSIZE'"), "7");
}

TEST_F(StartupTest, MissingOrUnreadableDatabaseEndsTheStart) {
    struct Case {
        const char* label;
        std::string bytes;   // empty with missing: no file at all
        bool missing;
    };
    std::vector<Case> cases = {
        {"missing", "", true},
        {"unreadable", "this is not a database, just text\n", false},
        {"0 bytes", "", false},
    };
    {
        // Another program's database: SQLite opens it, but it is not ours.
        exec("create table Fatture (id integer primary key, totale real)");
        exec("insert into Fatture (totale) values (12.5)");
        for (const char* t : {"TipologiaPersone", "Anagrafica", "MieiContiCorrenti", "AssegniEmessi",
                              "AssegniRicevuti", "Girate", "Versamenti"})
            exec(std::string("drop table ") + t);
        cases.push_back({"foreign", readFile("brindle3.db3"), false});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string& bytes = c.bytes;
        std::filesystem::remove(dbPath());
        if (!c.missing) writeFile("brindle3.db3", bytes);
        restart();
        ASSERT_EQ(box().calls.size(), 1u);
        EXPECT_EQ(box().calls[0].prompt, "Impossibile connettersi al database");
        EXPECT_EQ(box().calls[0].buttons, 16);
        EXPECT_FALSE(mainWindow().Loaded());
        EXPECT_FALSE(mainWindow().Visible());
        if (c.missing) {
            EXPECT_FALSE(std::filesystem::exists(dbPath()));
        } else {
            EXPECT_EQ(readFile("brindle3.db3"), bytes);   // byte for byte, no settings table
            EXPECT_FALSE(std::filesystem::exists(dbPath() + "-journal"));
        }
    }
}

TEST_F(StartupTest, PrintSizeMustBeAWholeNumber) {
    startMain();
    for (const std::string bad : {"7.5", "", "abc", " 7"}) {
        SCOPED_TRACE(bad);
        exec("update settings set value='" + bad + "' where mnemocode='PRTCSIZE'");
        exec("update settings set value='ON' where mnemocode='LOGSTATUS'");
        box().clear();
        gPrintFontSize = 9;
        gLogStatus = "OFF";
        mainWindow().activate();
        ASSERT_EQ(prompts().size(), 1u);
        EXPECT_EQ(prompts()[0], "Error 13 (Type mismatch) in procedure Form_Activate of Form frmMain");
        EXPECT_EQ(gPrintFontSize, 9);
        EXPECT_EQ(gLogStatus, "OFF");
    }
    exec("update settings set value='-3' where mnemocode='PRTCSIZE'");
    mainWindow().activate();
    EXPECT_EQ(gPrintFontSize, -3);
    // Too large for the size: refused, not cut down to some other number.
    box().clear();
    exec("update settings set value='4294967303' where mnemocode='PRTCSIZE'");
    mainWindow().activate();
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error 6 (Overflow) in procedure Form_Activate of Form frmMain"});
    EXPECT_EQ(gPrintFontSize, -3);
}

TEST_F(StartupTest, StatementFileRunsEveryLineOnce) {
    exec("delete from reportistica");
    // Blank lines, CRLF, lone CR and LF, a statement split over two lines
    // (both halves fail alone) and a Windows-1252 "è".
    writeFile("nuovireport.sql",
              "insert into reportistica (titolo, ordine) values ('uno', 1)\r\n"
              "\r\n"
              "insert into reportistica (titolo, ordine) values ('due', 2)\r"
              "insert into reportistica (titolo,\n"
              "ordine) values ('tre', 3)\n"
              "insert into reportistica (titolo, ordine) values ('n\xE8', 4)\n");
    startMain();
    EXPECT_EQ(rows("select titolo from reportistica order by ordine"),
              (std::vector<std::vector<std::string>>{{"uno"}, {"due"}, {"n\xC3\xA8"}}));
    const auto shown = prompts();
    ASSERT_EQ(shown.size(), 2u);   // the two halves of the split statement
    for (const auto& p : shown) EXPECT_EQ(p.rfind("Error 3146 (", 0), 0u) << p;
    for (const auto& p : shown) EXPECT_NE(p.find("in procedure gDbExecute of Modulo basGeneral"), std::string::npos);
    // The file stays and runs again; the rows it added exist already, silently.
    restart();
    EXPECT_EQ(count("select count(*) from reportistica"), 3);
    EXPECT_EQ(prompts().size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(folder() + "/nuovireport.sql"));
}

// Every save after the start reaches the file, whatever transaction the
// file's lines begin; what they leave unfinished is not kept, and said.
TEST_F(StartupTest, AStatementFileLeavesNoTransactionOpen) {
    const std::string add = "insert into TipologiaPersone (Tipologia) values ('dal file')";
    struct Case {
        std::string lines;
        long long fromFile;   // rows the file's insert leaves
        bool told;
    };
    const std::vector<Case> cases = {
        {"begin", 0, true},
        {"BEGIN EXCLUSIVE TRANSACTION\r\n" + add, 0, true},
        {"begin\n" + add + "\ncommit", 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        exec("delete from TipologiaPersone");
        writeFile("nuovireport.sql", c.lines);
        restart();
        EXPECT_EQ(prompts(), c.told ? std::vector<std::string>{kReportFileUnfinishedText} : std::vector<std::string>{});
        ASSERT_TRUE(gDbExecute("insert into TipologiaPersone (Tipologia) values ('salvato')"));
        EXPECT_EQ(count("select count(*) from TipologiaPersone where Tipologia = 'salvato'"), 1);   // seen by others
        EXPECT_EQ(count("select count(*) from TipologiaPersone where Tipologia = 'dal file'"), c.fromFile);
    }
}

TEST_F(StartupTest, AVeryLongFailingLineShowsAReadableBoxAndIsLoggedWhole) {
    const std::string token = "'" + std::string(2u << 20, 'x') + "\xC3\xA8";   // unterminated: SQLite quotes it all
    writeFile("nuovireport.sql", "insert into reportistica (titolo) values (" + token +
                                     "\r\ninsert into reportistica (titolo, ordine) values ('dopo', 99)\r\n");
    gLogStatus = "ON";
    startMain();
    const auto shown = prompts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_LT(shown[0].size(), kShownDescription + 100);
    EXPECT_EQ(shown[0].rfind("Error 3146 (unrecognized token: \"'xxx", 0), 0u) << shown[0].substr(0, 100);
    EXPECT_NE(shown[0].find("xxx...) in procedure gDbExecute of Modulo basGeneral"), std::string::npos);
    EXPECT_EQ(count("select count(*) from reportistica where titolo = 'dopo'"), 1);   // the next line still runs
    EXPECT_NE(readFile("quorvel3.log").find(token), std::string::npos);
}

TEST_F(StartupTest, StatementFileDecoding) {
    EXPECT_EQ(decodeStatementFile("\xEF\xBB\xBFselect 1"), "select 1");
    EXPECT_EQ(decodeStatementFile("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(decodeStatementFile("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST_F(StartupTest, StatementFileThatIsAFolderIsIgnored) {
    std::filesystem::create_directory(folder() + "/nuovireport.sql");
    startMain();
    EXPECT_TRUE(prompts().empty());
    EXPECT_TRUE(mainWindow().Loaded());
}

TEST_F(StartupTest, StatementListHoldsThirtyStatements) {
    inizializzaAggiornamentiDatabase();
    EXPECT_EQ(gNumAggiornamenti, 3);
    for (int i = 4; i <= 30; ++i) aggiungiAggiornamentoDatabase("select " + std::to_string(i));
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(gAggiornamenti[30], "select 30");
    aggiungiAggiornamentoDatabase("select 31");
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_EQ(prompts()[0],
              "Error 9 (Subscript out of range) in procedure aggiungiAggiornamentoDatabase of Modulo "
              "basAggiornamentiDatabase");
    EXPECT_EQ(gNumAggiornamenti, 31);
}

TEST_F(StartupTest, LogWritesOneLinePerTracedProcedureOnlyWhenExactlyOn) {
    qvtest::LocaleScope british(QLocale(QLocale::English, QLocale::UnitedKingdom));   // day first in the log
    startMain();
    exec("update settings set value='ON' where mnemocode='LOGSTATUS'");
    mainWindow().activate();
    mainWindow().cmdAnagrafica_Click();
    const std::string log = readFile(kLogFileName);
    EXPECT_NE(log.find("[25/11/2010 - 14:05:09] frmMain::cmdAnagrafica_Click\r\n"), std::string::npos) << log;
    // The activation traced itself before it read LOGSTATUS: the first line is a later procedure's.
    EXPECT_EQ(log.find("frmMain::cmdAnagrafica_Click"), 24u);
    EXPECT_LT(log.find("frmMain::cmdAnagrafica_Click"), log.find("frmMain::annullaWhere"));

    for (const std::string off : {"on", "ON "}) {
        exec("update settings set value='" + off + "' where mnemocode='LOGSTATUS'");
        mainWindow().activate();
        std::filesystem::remove(folder() + "/" + kLogFileName);
        mainWindow().cmdAnagrafica_Click();
        EXPECT_FALSE(std::filesystem::exists(folder() + "/" + kLogFileName)) << off;
    }
}

TEST_F(StartupTest, UnwritableLogIsReportedOnce) {
    startMain();
    std::filesystem::create_directory(folder() + "/" + kLogFileName);   // cannot be opened as a file
    exec("update settings set value='ON' where mnemocode='LOGSTATUS'");
    mainWindow().activate();
    mainWindow().cmdAnagrafica_Click();
    mainWindow().cmdTipologia_Click();
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_EQ(prompts()[0], "Error 75 (Path/File access error) in procedure addToLog of Modulo basGeneralCustom");
}

TEST_F(StartupTest, ASecondCopyOnOneDatabaseEndsAndAKilledCopysLockIsTakenOver) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    struct Copy {   // the first copy: keeps the database until it is killed
        pid_t pid = -1;
        void kill9() {
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
            pid = -1;
        }
        ~Copy() { kill9(); }
    } first;
    first.pid = fork();
    ASSERT_GE(first.pid, 0);
    if (first.pid == 0) {
        DatabaseLock held(dbPath());
        const char state = held.state() == DatabaseLock::State::Held ? 'y' : 'n';
        if (write(ready[1], &state, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    close(ready[0]);
    close(ready[1]);
    ASSERT_EQ(state, 'y');
    const std::string before = fileBytes();
    startMain();   // the second copy
    ASSERT_EQ(prompts(), std::vector<std::string>{kDbInOtherWindowText});
    EXPECT_EQ(box().calls[0].buttons, 16);
    EXPECT_FALSE(mainWindow().Loaded());
    EXPECT_TRUE(fileBytes() == before);   // nothing written
    EXPECT_TRUE(std::filesystem::exists(DatabaseLock::lockPath(dbPath())));   // the first copy's lock stays

    // On a disk that keeps no file locks only the lock file speaks for the
    // first copy, however long that has run: the same file, unlocked, aged.
    const std::string lock = DatabaseLock::lockPath(dbPath());
    const std::string held = readFile("brindle3.db3.lock");
    std::filesystem::remove(lock);
    writeFile("brindle3.db3.lock", held);
    const timespec longAgo[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, lock.c_str(), longAgo, 0), 0);
    restart();
    EXPECT_EQ(prompts(), std::vector<std::string>{kDbInOtherWindowText});
    EXPECT_FALSE(mainWindow().Loaded());
    EXPECT_TRUE(fileBytes() == before);

    first.kill9();
    restart();   // after a copy was killed: its lock does not block
    EXPECT_EQ(prompts(), std::vector<std::string>{});
    EXPECT_TRUE(mainWindow().Loaded());
}

TEST_F(StartupTest, AReadOnlyDatabaseSaysSoOnceAtStartAndAtEachRefusedSave) {
    startMain();
    writeFile("nuovireport.sql", "insert into reportistica (titolo, ordine) values ('nuovo', 99)\n");
    // The file itself, or a folder where neither the lock nor SQLite's journal can be made.
    struct Case {
        const char* what;
        mode_t file, folder;
    };
    for (const Case c : {Case{"read-only file", 0444, 0755}, Case{"read-only folder", 0666, 0555}}) {
        SCOPED_TRACE(c.what);
        resetDatabase();   // the last run lets go of its lock while it still can
        chmod(dbPath().c_str(), c.file);
        chmod(folder().c_str(), c.folder);
        {
            KeepingToFileModes asAUser;
            restart();
            EXPECT_EQ(prompts(), std::vector<std::string>{kDbReadOnlyText});   // the start-up statements quiet
            EXPECT_TRUE(dbReadOnly());   // known from the start, not from the first refused write
            EXPECT_TRUE(mainWindow().Loaded());
            box().clear();
            EXPECT_FALSE(gDbExecute("update settings set value='9' where mnemocode='PRTCSIZE'"));
            EXPECT_EQ(prompts(), std::vector<std::string>{kDbReadOnlyText});
        }
        chmod(folder().c_str(), 0755);
        chmod(dbPath().c_str(), 0644);
        EXPECT_EQ(count("select count(*) from reportistica where titolo = 'nuovo'"), 0);
        EXPECT_EQ(scalar("select value from settings where mnemocode='PRTCSIZE'"), "7");
    }
}

}  // namespace
