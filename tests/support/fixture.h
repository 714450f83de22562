// A headless program run: a temporary program folder holding a fresh database
// built from data/, scripted message boxes, a fixed clock and scripted modal
// windows.
#pragma once

#include <gtest/gtest.h>

#include <QLocale>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/msgbox_component.h"

namespace qvtest {

// Builds a database from the shipped scripts at path.
void buildShippedDatabase(const std::string& path);

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    qv::ScriptedMessageBox& box() { return *box_; }
    const std::string& folder() const { return folder_; }
    std::string dbPath() const { return folder_ + "/brindle3.db3"; }

    // Opens the database as the program does (no window).
    void openDb();
    // Loads and shows the main window as the program's start does.
    void startMain();

    // What the next modal window does; a window with no script closes at once.
    void onModal(std::function<void(qv::Form&)> script) { scripts_.push_back(std::move(script)); }
    std::vector<std::string> modalShown;   // names of the windows shown modally, in order

    // Records the text of every statement and query the program's connection
    // runs from now on (the connection must be open).
    void recordStatements();
    std::vector<std::string> statements;

    // Direct access to the database file, beside the program's connection.
    void exec(const std::string& sql);
    std::optional<std::string> scalar(const std::string& sql);   // first column of first row; nullopt for Null/no row
    long long count(const std::string& sql);
    std::vector<std::vector<std::string>> rows(const std::string& sql);

    // Damages one leaf page of a table in the middle of its rows, as a bad
    // disk would; the program's connection sees the change at its next read.
    void damageTablePage(const std::string& table);
    std::string fileBytes() const;   // the database file as it is on disk

    // The texts of every message box shown so far (input boxes left out).
    std::vector<std::string> prompts() const;

    qv::DateTime clock{2010, 11, 25, 14, 5, 9};
    // Every page sent to the print preview, in order (nothing is shown).
    std::vector<std::string> printed;

private:
    QLocale locale_;   // put back after each test, which may have pinned another
    std::string folder_;
    qv::ScriptedMessageBox* box_ = nullptr;
    std::deque<std::function<void(qv::Form&)>> scripts_;
};

// What a shell command writes to its standard output.
std::string commandOutput(const std::string& command);

// The data rows' texts of one grid column.
std::vector<std::string> gridColumn(const qv::FlexGrid& grid, int col);

// A run with the main window loaded and one register's list window at hand.
template <class List>
class ListFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startMain();
        box().clear();
    }
    List& list() { return qv::Instance<List>::get(); }
    // Loads the list as the main window does, without a modal loop.
    List& openList() {
        list().Load();
        return list();
    }
    std::vector<std::string> column(int c) { return gridColumn(list().MSFlexGrid1, c); }
};

}  // namespace qvtest
