// Deposits the received cheque that is current in the list into an own account.
#pragma once

#include "lists/editorwindow.h"

namespace qv {

class frmEditVersamenti : public EditorWindow {
public:
    frmEditVersamenti();

    ComboBox& cboDescrizione;
    Label& lblDataVersamento;
    TextBox& txtNote;
    Label& lblNote;
    Label& lblDescrizione;
    DateField& txtDataVersamento;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
    std::string saveStatement() override;
    void afterSave() override {}
};

}  // namespace qv
