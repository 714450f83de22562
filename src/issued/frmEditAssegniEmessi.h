// The issued cheque editor: records a new cheque or edits the list's current one.
#pragma once

#include "lists/editorwindow.h"

namespace qv {

class frmEditAssegniEmessi : public EditorWindow {
public:
    frmEditAssegniEmessi();
    void Form_Activate() override;

    void cboDescrizione_Change();
    void cboNome_Change();
    void cboDescrizione_KeyUp(int keyCode, int shift);
    void cboNome_KeyUp(int keyCode, int shift);
    // Answers true (cancel the move) when the field holds no valid date.
    bool txtDataAssegno_Validate();

    // The chosen account and payee; -1 for none.
    std::int64_t idDelContoCorrente = -1;
    std::int64_t idDelBeneficiarioEm = -1;

    Label& lblDescrizione;
    ComboBox& cboDescrizione;
    Label& lblNome;
    ComboBox& cboNome;
    Label& lblNumero;
    TextBox& txtNumero;
    Label& lblDataAssegno;
    DateField& txtDataAssegno;
    Label& lblLuogoEmissione;
    TextBox& txtLuogoEmissione;
    CheckBox& chkSuPiazza;
    CheckBox& chkTrasferibile;
    CheckBox& chkSbarrato;
    Label& lblImporto;
    TextBox& txtImporto;
    Label& lblCausale;
    TextBox& txtCausale;
    Label& lblAssegnoNote;
    TextBox& txtAssegnoNote;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
    void afterSave() override;

private:
    void homeEnd(ComboBox& combo, int keyCode, const std::string& proc);
};

}  // namespace qv
