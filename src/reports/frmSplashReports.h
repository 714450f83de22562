// The report chooser: one button per stored report; a press asks the report's
// parameters, puts the answers into its query and shows the result window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "reports/reportdefs.h"

namespace qv {

class frmSplashReports : public Form {
public:
    static constexpr int kButtons = 17;

    frmSplashReports();

    void Form_Load() override;
    // Reloads the report table (every row; the first seventeen get buttons).
    void PopolaArrayReport();
    // Puts the two prompts of a row into English.
    void traductiPrompPars(int row);
    void cmdShowReport_Click(int index);
    void cmdClose_Click();

    SkinForm& LumoXPForm;
    std::array<CommandButton*, kButtons> cmdShowReport{};
    CommandButton& cmdClose;

    // The last answers typed for parameter 1 and 2.
    std::string inputPar1, inputPar2;

private:
    // The placeholders of one run, or nothing when the asking ended early.
    std::optional<std::vector<Placeholder>> askParameters(const ReportDefinition& def);
    std::optional<std::vector<Placeholder>> askOne(ParamKind kind, int param, const std::string& prompt);
    std::optional<std::vector<Placeholder>> askPeriod();
    // One input box; the answer, or nothing when it is blank.
    std::optional<std::string> ask(const std::string& italian, const std::string& english, std::string& answer);
    // Whether the last load of the table read it to its end.
    bool reportsRead_ = false;
};

}  // namespace qv
