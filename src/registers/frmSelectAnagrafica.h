// The contacts filter: the type and fourteen text criteria joined by AND or OR.
#pragma once

#include "lists/filterwindow.h"

namespace qv {

class frmSelectAnagrafica : public FilterWindow {
public:
    frmSelectAnagrafica();

    ComboBox& cboTipologia;
    TextBox& txtNome;
    TextBox& txtCognome;
    TextBox& txtIndirizzo;
    TextBox& txtCAP;
    TextBox& txtComune;
    TextBox& txtProvincia;
    TextBox& txtTelefonoCasa;
    TextBox& txtTelefonoUfficio;
    TextBox& txtFax;
    TextBox& txtCellulare;
    TextBox& txtCFIva;
    TextBox& txtEmail;
    TextBox& txtSitoWeb;
    TextBox& txtNote;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;
    void fillCombos() override;

private:
    TextBox& detail(int index);
};

}  // namespace qv
