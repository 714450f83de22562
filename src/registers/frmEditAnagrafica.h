// The contact editor.
#pragma once

#include <array>
#include <cstdint>

#include "lists/editorwindow.h"

namespace qv {

// A contact's detail inputs in the order both contact windows handle them:
// the input and label names end in `suffix`; `column` is the stored column.
struct ContactDetail {
    const char* suffix;
    const char* column;
    const char* caption;
};
extern const std::array<ContactDetail, 14> kContactDetails;

// The contact types in the order both contact windows offer them.
extern const char* const kContactTypesQuery;

class frmEditAnagrafica : public EditorWindow {
public:
    frmEditAnagrafica();

    void cboTipologia_Change();
    void cboTipologia_KeyUp(int keyCode, int shift);

    // The chosen type's key; -1 for none.
    std::int64_t idDelTipoAnag = 0;

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
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;

private:
    TextBox& detail(int index);
    TextBox& input(const ContactDetail& d) const;
};

}  // namespace qv
