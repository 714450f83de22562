#include "registers/frmEditTipologiaPersone.h"

#include "core/database.h"
#include "core/globals.h"
#include "registers/frmTipologiaPersone.h"

namespace qv {

frmEditTipologiaPersone::frmEditTipologiaPersone()
    : EditorWindow("frmEditTipologiaPersone", "Tipologia Record Anagrafica", 6000, 2400),
      lblTipologia(addAt<Label>(240, 720, 5400, 255, "lblTipologia", "Tipologia Record Anagrafica")),
      txtTipologia(addAt<TextBox>(240, 1000, 5400, 375, "txtTipologia")) {}

ListWindow& frmEditTipologiaPersone::list() { return Instance<frmTipologiaPersone>::get(); }
void frmEditTipologiaPersone::releaseInstance() { Instance<frmEditTipologiaPersone>::release(); }

void frmEditTipologiaPersone::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        txtTipologia.SetFocus();
        txtTipologia.sendEnd();
    });
}

void frmEditTipologiaPersone::loadInputs() {
    if (gIsNew) return;
    resetRs();
    gRsOpen("SELECT a.TIPOLOGIAID, a.Tipologia, a.DateTimeCreated, a.DateTimeLastUpdated "
            "FROM TipologiaPersone a "
            "WHERE TIPOLOGIAID = " +
            sqlKey(list().mKey) + " ");
    if (!gRs().isEOF()) txtTipologia.setText(gRs().Fields("Tipologia").value().str());
    gRs().Close();
    resetRs();
}

bool frmEditTipologiaPersone::checks() {
    const std::string name = trim(txtTipologia.Text());
    if (name.empty()) return refuse("Inserire la tipologia");
    const Check exists = gIsNew ? esisteRecord("tipologiapersone", "tipologia", name, "S")
                                : esisteRecord("tipologiapersone", "tipologia", name, "S", "tipologiaid",
                                               sqlKey(list().mKey));
    if (!exists) return false;   // the check failed and said so
    if (*exists) return refuse("Il record già esiste");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditTipologiaPersone::columnValues() {
    return {{"Tipologia", sqlTextValue(txtTipologia.Text())}};
}

}  // namespace qv
