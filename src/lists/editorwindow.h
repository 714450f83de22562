// The editor every register shares: load, the OK flow (checks in order, one
// INSERT or UPDATE, the list refreshed, the window closed), Cancel and Print.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "lists/listwindow.h"
#include "platform/forms.h"
#include "platform/webbrowser.h"

namespace qv {

class EditorWindow : public Form {
public:
    EditorWindow(const std::string& formName, const std::string& caption, int width, int height);

    void Form_Load() override;
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdPrint_Click();

    SkinForm& LumoXPForm1;
    CommandButton& cmdOK;
    CommandButton& cmdCancel;
    CommandButton& cmdPrint;
    WebBrowser& web;

protected:
    Owner owner() const { return Owner::form(Name()); }

    // The list window this editor saves into.
    virtual ListWindow& list() = 0;
    virtual void releaseInstance() = 0;
    // Loads the inputs: the record (when editing) and the lists of choices.
    virtual void loadInputs() = 0;
    // The checks in their order; the first failure shows its message and
    // answers false (see refuse).
    virtual bool checks() = 0;
    // (column, SQL value text) in the statement's order, stamps left out.
    virtual std::vector<std::pair<std::string, std::string>> columnValues() = 0;
    // The list refresh after a save: registers update or append one row.
    virtual void afterSave();
    // The statement OK runs: by default the INSERT or UPDATE of the list's
    // table from columnValues(); windows that write elsewhere give their own.
    virtual std::string saveStatement();

    // Shows a check's message (48) and answers false.
    bool refuse(const std::string& message);
    // The steps of load before the inputs (the order differs per member).
    virtual void prepare();

private:
    void layoutButtons(int width, int height);
};

// The INSERT and UPDATE texts every editor writes: values separated by a
// comma and two blanks, the stamp last.
std::string insertStatement(const std::string& table,
                            const std::vector<std::pair<std::string, std::string>>& columnValues,
                            const std::string& stamp);
std::string updateStatement(const std::string& table,
                            const std::vector<std::pair<std::string, std::string>>& columnValues,
                            const std::string& stamp, const std::string& keyColumn, std::int64_t key);

// A typed text as an SQL value: Null when blank, else quoted with quotes doubled.
std::string sqlTextValue(const std::string& typed);
// The moment of saving, quoted.
std::string sqlStamp();

// Fills a combo from a query of (id, text ...) rows, items carrying the id;
// selects the item whose id is selectId. Returns whether one was selected.
bool fillCombo(ComboBox& combo, const std::string& query, std::int64_t selectId = -1,
               const std::function<std::string()>& itemText = {});

}  // namespace qv
