// The received cheque editor: the cheque's fields, its state line, and the
// button that removes its endorsement or deposit.
#pragma once

#include <cstdint>

#include "lists/editorwindow.h"

namespace qv {

class frmAssegniRicevuti;

class frmEditAssegniRicevuti : public EditorWindow {
public:
    frmEditAssegniRicevuti();

    void Form_Activate() override;
    void cboFIRMATARIOID_Change();
    void cboFIRMATARIOID_KeyUp(int keyCode, int shift);
    void cboNome_Change();
    void cboNome_KeyUp(int keyCode, int shift);
    // Leaving the date field: true cancels the move (the date is not a date).
    bool txtDataAssegno_Validate();
    void cmdEliminaOperazione_Click();

    // The contacts chosen as signer and payee; -1 for none.
    std::int64_t idDelFirmatario = -1;
    std::int64_t idDelBeneficiario = -1;

    Label& lblFirmatario;
    ComboBox& cboFIRMATARIOID;
    Label& lblNome;
    ComboBox& cboNome;
    Label& lblNumero;
    TextBox& txtNumero;
    Label& lblDataAssegno;
    DateField& txtDataAssegno;
    Label& lblLuogoEmissione;
    TextBox& txtLuogoEmissione;
    CheckBox& chkSuPiazza;
    Label& lblBanca;
    TextBox& txtBanca;
    Label& lblABI;
    TextBox& txtABI;
    Label& lblCAB;
    TextBox& txtCAB;
    Label& lblNumeroConto;
    TextBox& txtNumeroConto;
    CheckBox& chkTrasferibile;
    CheckBox& chkSbarrato;
    Label& lblImporto;
    TextBox& txtImporto;
    Label& lblCausale;
    TextBox& txtCausale;
    Label& lblAssegnoNote;
    TextBox& txtAssegnoNote;
    Label& txtStatoAssegno;
    CommandButton& cmdEliminaOperazione;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
    void afterSave() override;

private:
    frmAssegniRicevuti& receivedList();
    void loadState();
};

}  // namespace qv
