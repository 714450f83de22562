// The contact type editor.
#pragma once

#include "lists/editorwindow.h"

namespace qv {

class frmEditTipologiaPersone : public EditorWindow {
public:
    frmEditTipologiaPersone();
    void Form_Activate() override;

    Label& lblTipologia;
    TextBox& txtTipologia;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
};

}  // namespace qv
