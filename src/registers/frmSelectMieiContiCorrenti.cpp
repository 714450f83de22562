#include "registers/frmSelectMieiContiCorrenti.h"

#include "core/globals.h"
#include "registers/frmMieiContiCorrenti.h"

namespace qv {

frmSelectMieiContiCorrenti::frmSelectMieiContiCorrenti()
    : FilterWindow("frmSelectMieiContiCorrenti", "Cerca Conti Correnti", gSavedFilterAccounts, true, 8400, 4500),
      txtBanca(field(1, "Banca", "Banca")),
      txtABI(field(2, "ABI", "ABI")),
      txtCAB(field(3, "CAB", "CAB")),
      txtNumeroConto(field(4, "NumeroConto", "Numero di Conto Corrente")),
      txtIntestatario(field(5, "Intestatario", "Intestatario")),
      txtDescrizione(field(0, "Descrizione", "Descrizione")) {
    criteria = {textCriterion(txtDescrizione, "a.Descrizione"),   textCriterion(txtBanca, "a.Banca"),
                textCriterion(txtABI, "a.ABI"),                   textCriterion(txtCAB, "a.CAB"),
                textCriterion(txtNumeroConto, "a.NumeroConto"),   textCriterion(txtIntestatario, "a.Intestatari")};
}

TextBox& frmSelectMieiContiCorrenti::field(int line, const std::string& suffix, const std::string& caption) {
    const int top = 720 + line * 480;
    TextBox& input = addAt<TextBox>(2760, top, 5280, 315, "txt" + suffix);
    addAt<Label>(240, top + 30, 2400, 255, "lbl" + suffix, caption);
    return input;
}

ListWindow& frmSelectMieiContiCorrenti::list() { return Instance<frmMieiContiCorrenti>::get(); }
void frmSelectMieiContiCorrenti::releaseInstance() { Instance<frmSelectMieiContiCorrenti>::release(); }
std::string& frmSelectMieiContiCorrenti::filterText() { return gFilterAccounts; }

void frmSelectMieiContiCorrenti::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        txtDescrizione.SetFocus();
        txtDescrizione.sendEnd();
    });
}

}  // namespace qv
