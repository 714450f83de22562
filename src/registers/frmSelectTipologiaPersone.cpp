#include "registers/frmSelectTipologiaPersone.h"

#include "core/globals.h"
#include "registers/frmTipologiaPersone.h"

namespace qv {

frmSelectTipologiaPersone::frmSelectTipologiaPersone()
    : FilterWindow("frmSelectTipologiaPersone", "Cerca Tipologia Record Anagrafica", gSavedFilterTypes, false,
                   6000, 2400),
      lblTipologia(addAt<Label>(240, 720, 5400, 255, "lblTipologia", "Tipologia Record Anagrafica")),
      txtTipologia(addAt<TextBox>(240, 1000, 5400, 375, "txtTipologia")) {
    criteria = {textCriterion(txtTipologia, "a.Tipologia")};
}

ListWindow& frmSelectTipologiaPersone::list() { return Instance<frmTipologiaPersone>::get(); }
void frmSelectTipologiaPersone::releaseInstance() { Instance<frmSelectTipologiaPersone>::release(); }
std::string& frmSelectTipologiaPersone::filterText() { return gFilterTypes; }

void frmSelectTipologiaPersone::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        txtTipologia.SetFocus();
        txtTipologia.sendEnd();
    });
}

}  // namespace qv
