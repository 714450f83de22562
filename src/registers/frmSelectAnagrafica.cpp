#include "registers/frmSelectAnagrafica.h"

#include "core/globals.h"
#include "lists/editorwindow.h"
#include "registers/frmAnagrafica.h"

namespace qv {

frmSelectAnagrafica::frmSelectAnagrafica()
    : ContactInputs(5160, "frmSelectAnagrafica", "Cerca in Anagrafica", gSavedFilterContacts, true, 8400, 7800) {
    criteria.push_back(comboCriterion(cboTipologia, "a.TIPOLOGIAID"));
    for (std::size_t i = 0; i < kContactDetails.size(); ++i)
        criteria.push_back(textCriterion(detailInput(i), std::string("a.") + kContactDetails[i].column));
}

ListWindow& frmSelectAnagrafica::list() { return Instance<frmAnagrafica>::get(); }
void frmSelectAnagrafica::releaseInstance() { Instance<frmSelectAnagrafica>::release(); }
std::string& frmSelectAnagrafica::filterText() { return gFilterContacts; }
void frmSelectAnagrafica::fillCombos() { fillCombo(cboTipologia, kContactTypesQuery); }

}  // namespace qv
