// The own bank account editor.
#pragma once

#include "lists/editorwindow.h"

namespace qv {

class frmEditMieiContiCorrenti : public EditorWindow {
public:
    frmEditMieiContiCorrenti();
    void Form_Activate() override;

    // In the window's control order, which is also the order of its printout.
    TextBox& txtBanca;
    TextBox& txtABI;
    TextBox& txtCAB;
    TextBox& txtNumeroConto;
    TextBox& txtIntestatari;
    TextBox& txtDescrizione;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;

private:
    // An input with its caption label on the given line of the window.
    TextBox& field(int line, const std::string& suffix, const std::string& caption);
};

}  // namespace qv
