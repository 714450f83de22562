#include "registers/frmSelectAnagrafica.h"

#include "core/globals.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmEditAnagrafica.h"

namespace qv {

namespace {
constexpr int kLabelLeft = 240, kInputLeft = 3000, kInputWidth = 5160, kFirstTop = 720, kLine = 420;
}

frmSelectAnagrafica::frmSelectAnagrafica()
    : FilterWindow("frmSelectAnagrafica", "Cerca in Anagrafica", gSavedFilterContacts, true, 8400, 7800),
      cboTipologia(addAt<ComboBox>(kInputLeft, kFirstTop, kInputWidth, 315, "cboTipologia")),
      txtNome(detail(0)),
      txtCognome(detail(1)),
      txtIndirizzo(detail(2)),
      txtCAP(detail(3)),
      txtComune(detail(4)),
      txtProvincia(detail(5)),
      txtTelefonoCasa(detail(6)),
      txtTelefonoUfficio(detail(7)),
      txtFax(detail(8)),
      txtCellulare(detail(9)),
      txtCFIva(detail(10)),
      txtEmail(detail(11)),
      txtSitoWeb(detail(12)),
      txtNote(detail(13)) {
    addAt<Label>(kLabelLeft, kFirstTop + 30, 2640, 255, "lblTipologia", "Tipologia");
    cboTipologia.setDropDownList(true);
    criteria.push_back(comboCriterion(cboTipologia, "a.TIPOLOGIAID"));
    for (const ContactDetail& d : kContactDetails)
        criteria.push_back(textCriterion(*findControl(std::string("txt") + d.suffix), std::string("a.") + d.column));
}

TextBox& frmSelectAnagrafica::detail(int index) {
    const ContactDetail& d = kContactDetails[static_cast<std::size_t>(index)];
    const int top = kFirstTop + (index + 1) * kLine;
    TextBox& box = addAt<TextBox>(kInputLeft, top, kInputWidth, 315, std::string("txt") + d.suffix);
    addAt<Label>(kLabelLeft, top + 30, 2640, 255, std::string("lbl") + d.suffix, d.caption);
    return box;
}

ListWindow& frmSelectAnagrafica::list() { return Instance<frmAnagrafica>::get(); }
void frmSelectAnagrafica::releaseInstance() { Instance<frmSelectAnagrafica>::release(); }
std::string& frmSelectAnagrafica::filterText() { return gFilterContacts; }
void frmSelectAnagrafica::fillCombos() { fillCombo(cboTipologia, kContactTypesQuery); }

}  // namespace qv
