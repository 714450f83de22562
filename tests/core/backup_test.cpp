// Database backup from the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/database.h"
#include "core/frmMain.h"
#include "fixture.h"

using namespace qv;
namespace fs = std::filesystem;

namespace {

class BackupTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startMain();
        box().clear();
        target = folder() + "/copies";
        fs::create_directory(target);
    }
    std::string bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void backup(const std::string& answer) {
        box().queueInput(answer);
        mainWindow().cmdBackup.click();
    }
    std::string target;
};

TEST_F(BackupTest, CopiesTheDatabaseOnceIntoTheTypedFolder) {
    gRsOpen("select * from settings");   // a result set still open does not stop the copy
    backup(target);
    CloseDb();
    EXPECT_TRUE(sqlite3_get_autocommit(gSqlLiteDb()->handle()));   // the read lock is let go
    ASSERT_EQ(box().calls.size(), 2u);
    EXPECT_TRUE(box().calls[0].isInput);
    EXPECT_EQ(box().calls[0].prompt, "Insert the destination path of the database backup");
    EXPECT_EQ(box().calls[0].title, "Quorvel");
    EXPECT_EQ(box().calls[1].prompt, "Database backupped successfully");
    EXPECT_EQ(box().calls[1].buttons, 64);
    const std::string copy = target + "/brindle3.db3";
    EXPECT_EQ(bytes(copy), bytes(dbPath()));

    // Again, with a final "/": same destination, refused, first copy untouched.
    const std::string before = bytes(copy);
    exec("insert into TipologiaPersone (Tipologia) values ('changed')");
    box().clear();
    backup("  " + target + "/  ");
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_EQ(prompts()[0], "Error occurred during the database backup");
    EXPECT_EQ(box().calls[1].buttons, 48);
    EXPECT_EQ(bytes(copy), before);

    // A folder typed with a final backslash is the same folder.
    box().clear();
    backup(target + "\\");
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error occurred during the database backup"});
    EXPECT_EQ(bytes(copy), before);
    // Nothing but the one backup is left in the folder (no temporary copy).
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 1);
}

TEST_F(BackupTest, BlankOrCancelledAnswerDoesNothing) {
    backup("   ");
    backup("");
    EXPECT_TRUE(prompts().empty());
    EXPECT_TRUE(fs::is_empty(target));
}

TEST_F(BackupTest, MissingOrUnwritableFolderFailsWithoutLeavingAFile) {
    backup(folder() + "/no/such/folder");
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error occurred during the database backup"});
    if (geteuid() != 0) {   // root writes anywhere
        box().clear();
        chmod(target.c_str(), 0555);
        backup(target);
        chmod(target.c_str(), 0755);
        EXPECT_EQ(prompts(), std::vector<std::string>{"Error occurred during the database backup"});
        EXPECT_TRUE(fs::is_empty(target));
    }
}

TEST_F(BackupTest, CopyThatFailsHalfWayLeavesNoFile) {
    // A file-size limit makes the writes fail after the first bytes.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    backup(target);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(prompts(), std::vector<std::string>{"Error occurred during the database backup"});
    EXPECT_TRUE(fs::is_empty(target));
}

}  // namespace
