// The issued cheques filter: criteria on every column of a cheque, joined by
// AND or OR, with three-state flags (any, set, not set).
#pragma once

#include "lists/filterwindow.h"

namespace qv {

class frmSelectAssegniEmessi : public FilterWindow {
public:
    frmSelectAssegniEmessi();

    Label& lblDescrizione;
    ComboBox& cboDescrizione;
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
    CheckBox& chkSuPiazza;
    CheckBox& chkTrasferibile;
    CheckBox& chkSbarrato;
    Label& lblImporto;
    Label& lblDaImporto;
    TextBox& txtImportoDa;
    Label& lblImportoA;
    TextBox& txtImportoA;
    Label& lblCausale;
    TextBox& txtCausale;
    Label& lblAssegnoNote;
    TextBox& txtAssegnoNote;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;
    void fillCombos() override;
    int clearedCheckValue() const override { return 2; }
    bool checks() override;
};

}  // namespace qv
