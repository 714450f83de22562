// Endorses the received cheque that is current in the list to a contact.
#pragma once

#include "lists/editorwindow.h"

namespace qv {

class frmEditGirate : public EditorWindow {
public:
    frmEditGirate();

    void Form_Activate() override;
    void cboNome_KeyUp(int keyCode, int shift);

    ComboBox& cboNome;
    Label& lblDataGirata;
    TextBox& txtNote;
    Label& lblNote;
    CheckBox& chkGirataPiena;
    Label& lblNome;
    DateField& txtDataGirata;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
    std::string saveStatement() override;
    // Nothing in the list changes: its own button handler refreshes the state line.
    void afterSave() override {}
};

// A typed operation date as an SQL value: Null when blank, else quoted at midnight.
// The text must have passed parseDateInput when not blank.
std::string sqlOperationDate(const std::string& typed);
// The values of an operation's INSERT, each but the last followed by a comma and two blanks.
std::string joinOperationValues(const std::vector<std::pair<std::string, std::string>>& columnValues);

}  // namespace qv
