// The received cheques filter: every field of the cheque, and whether (and to
// whom, or into which account) it was endorsed or deposited.
#pragma once

#include "lists/filterwindow.h"

namespace qv {

class frmSelectAssegniRicevuti : public FilterWindow {
public:
    frmSelectAssegniRicevuti();

    void Form_Activate() override;
    void chkGirato_Click();
    void chkVersato_Click();

    Label& lblFirmatario;
    ComboBox& cboFIRMATARIOID;
    Label& lblNome;
    ComboBox& cboNome;
    Label& lblNumero;
    TextBox& txtNumero;
    Label& lblDataAssegno;
    Label& lblDaData;
    TextBox& txtDataDa;
    Label& lblDataA;
    TextBox& txtDataA;
    Label& lblLuogoEmissione;
    TextBox& txtLuogoEmissione;
    Label& lblBanca;
    TextBox& txtBanca;
    Label& lblABI;
    TextBox& txtABI;
    Label& lblCAB;
    TextBox& txtCAB;
    Label& lblNumeroConto;
    TextBox& txtNumeroConto;
    Label& lblImporto;
    Label& lblDaImporto;
    TextBox& txtImportoDa;
    Label& lblImportoA;
    TextBox& txtImportoA;
    Label& lblCausale;
    TextBox& txtCausale;
    Label& lblAssegnoNote;
    TextBox& txtAssegnoNote;
    CheckBox& chkSuPiazza;
    CheckBox& chkTrasferibile;
    CheckBox& chkSbarrato;
    CheckBox& chkGirato;
    Label& lblA;
    ComboBox& cmbGiratoA;
    CheckBox& chkVersato;
    Label& lblSu;
    ComboBox& cmbVersatoSu;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;
    void fillCombos() override;
    int clearedCheckValue() const override { return 2; }
    bool checks() override;
    void afterLoad() override;
};

}  // namespace qv
