// The contact editor.
#pragma once

#include <cstdint>

#include "lists/editorwindow.h"
#include "registers/contactinputs.h"

namespace qv {

class frmEditAnagrafica : public ContactInputs<EditorWindow> {
public:
    frmEditAnagrafica();

    void cboTipologia_Change();
    void cboTipologia_KeyUp(int keyCode, int shift);

    // The chosen type's key; -1 for none.
    std::int64_t idDelTipoAnag = 0;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    void prepare() override;
    void loadInputs() override;
    bool checks() override;
    std::vector<std::pair<std::string, std::string>> columnValues() override;
};

}  // namespace qv
