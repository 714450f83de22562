// The filter window every register shares: criteria joined by AND or OR into
// the list's filter text, inputs remembered for the run, Reset, Cancel, Print.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lists/listwindow.h"
#include "platform/forms.h"
#include "platform/webbrowser.h"

namespace qv {

// The last inputs of one filter window, kept for the run. Values are kept by
// control name; a combo by the key of its chosen record, so the same record
// comes back even when the list of choices changed meanwhile.
struct SavedFilter {
    bool init = false;
    std::map<std::string, std::string> texts;
    std::map<std::string, int> checks;
    std::map<std::string, std::optional<std::int64_t>> combos;
    bool orChosen = false;   // optOR was selected at the last OK
    void clear() { *this = SavedFilter(); }
};

extern SavedFilter gSavedFilterTypes, gSavedFilterContacts, gSavedFilterAccounts, gSavedFilterIssued,
    gSavedFilterReceived;

// One criterion: the clause it gives, or "" when the input is not given.
using Criterion = std::function<std::string()>;
// Text input: a comma means an exact list (IN), otherwise a substring (Like).
Criterion textCriterion(const Control& input, const std::string& column);
// Combo: the chosen record's key.
Criterion comboCriterion(const ComboBox& input, const std::string& column);

// Date bound: column + " >= ('" + the date at midnight + "')" (op ">=" or "<=").
// The input must have been checked with parseDateInput.
Criterion dateBoundCriterion(const Control& input, const std::string& column, const std::string& op);
// Amount bound: column + " >= " + the amount as plain digits + " ".
Criterion amountBoundCriterion(const Control& input, const std::string& column, const std::string& op);
// Three-state flag: nothing for 2 (any), else prefix + "True"/"False" + " "
// (prefix as the clause writes it, e.g. "a.SuPiazza = " or "a.Sbarrato =").
Criterion flagCriterion(const CheckBox& input, const std::string& prefix);

class FilterWindow : public Form {
public:
    FilterWindow(const std::string& formName, const std::string& caption, SavedFilter& saved, bool andOr,
                 int width, int height);

    void Form_Load() override;
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdClear_Click();
    void cmdPrint_Click();

    SkinForm& LumoXPForm1;
    CommandButton& cmdOK;
    CommandButton& cmdCancel;
    CommandButton& cmdClear;
    CommandButton& cmdPrint;
    WebBrowser& web;
    OptionButton* optAND = nullptr;
    OptionButton* optOR = nullptr;

protected:
    Owner owner() const { return Owner::form(Name()); }
    virtual ListWindow& list() = 0;
    virtual void releaseInstance() = 0;
    // The list's filter text.
    virtual std::string& filterText() = 0;
    // Fills the lists of choices (nothing selected).
    virtual void fillCombos() {}
    // The value Reset gives a check box (0; the cheque filters' grey 2).
    virtual int clearedCheckValue() const { return 0; }
    // The last step of the load, after the inputs came back.
    virtual void afterLoad() {}

    // Input checks before any criterion is built; the first failure shows its
    // message (refuse) and answers false, leaving filter and list as they were.
    virtual bool checks() { return true; }
    bool refuse(const std::string& message);

    // Criteria in their fixed order.
    std::vector<Criterion> criteria;

    // The condition from the criteria joined by join.
    virtual std::string buildCondition(const std::string& join);

private:
    void remember();
    void restore();
    SavedFilter& saved_;
};

}  // namespace qv
