#include "issued/frmSelectAssegniEmessi.h"

#include "core/database.h"
#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "lists/amounts.h"
#include "lists/editorwindow.h"
#include "lists/windowhelpers.h"

namespace qv {

namespace {
constexpr int kLeft = 240, kInput = 2400, kWidth = 4200, kRow = 480, kTop = 720;
int rowTop(int i) { return kTop + i * kRow; }
}  // namespace

// The "da" labels carry no input's name: the printout shows those two rows
// with their value only.
frmSelectAssegniEmessi::frmSelectAssegniEmessi()
    : FilterWindow("frmSelectAssegniEmessi", "Cerca Assegni Emessi", gSavedFilterIssued, true, 7000,
                   rowTop(12) + 800),
      lblDescrizione(addAt<Label>(kLeft, rowTop(0), 2055, 315, "lblDescrizione", "Conto Corrente")),
      cboDescrizione(addAt<ComboBox>(kInput, rowTop(0), kWidth, 315, "cboDescrizione")),
      lblNome(addAt<Label>(kLeft, rowTop(1), 2055, 315, "lblNome", "Beneficiario")),
      cboNome(addAt<ComboBox>(kInput, rowTop(1), kWidth, 315, "cboNome")),
      lblNumero(addAt<Label>(kLeft, rowTop(2), 2055, 315, "lblNumero", "Numero Assegno")),
      txtNumero(addAt<TextBox>(kInput, rowTop(2), 2000, 315, "txtNumero")),
      lblDataAssegno(addAt<Label>(kLeft, rowTop(3), 2055, 315, "lblDataAssegno", "Data Assegno")),
      lblDaData(addAt<Label>(kInput, rowTop(3), 400, 315, "lblDaData", "da")),
      txtDataDa(addAt<TextBox>(kInput + 420, rowTop(3), 1500, 315, "txtDataDa")),
      lblDataA(addAt<Label>(kInput + 2040, rowTop(3), 400, 315, "lblDataA", "a")),
      txtDataA(addAt<TextBox>(kInput + 2460, rowTop(3), 1500, 315, "txtDataA")),
      lblLuogoEmissione(addAt<Label>(kLeft, rowTop(4), 2055, 315, "lblLuogoEmissione", "Luogo di emissione")),
      txtLuogoEmissione(addAt<TextBox>(kInput, rowTop(4), kWidth, 315, "txtLuogoEmissione")),
      chkSuPiazza(addAt<CheckBox>(kInput, rowTop(5), 1400, 315, "chkSuPiazza", "Su piazza", true)),
      chkTrasferibile(addAt<CheckBox>(kInput, rowTop(6), 1400, 315, "chkTrasferibile", "Trasferibile", true)),
      chkSbarrato(addAt<CheckBox>(kInput, rowTop(7), 1400, 315, "chkSbarrato", "Sbarrato", true)),
      lblImporto(addAt<Label>(kLeft, rowTop(8), 2055, 315, "lblImporto", "Importo (€)")),
      lblDaImporto(addAt<Label>(kInput, rowTop(8), 400, 315, "lblDaImporto", "da")),
      txtImportoDa(addAt<TextBox>(kInput + 420, rowTop(8), 1500, 315, "txtImportoDa")),
      lblImportoA(addAt<Label>(kInput + 2040, rowTop(8), 400, 315, "lblImportoA", "a")),
      txtImportoA(addAt<TextBox>(kInput + 2460, rowTop(8), 1500, 315, "txtImportoA")),
      lblCausale(addAt<Label>(kLeft, rowTop(9), 2055, 315, "lblCausale", "Causale")),
      txtCausale(addAt<TextBox>(kInput, rowTop(9), kWidth, 315, "txtCausale")),
      lblAssegnoNote(addAt<Label>(kLeft, rowTop(10), 2055, 315, "lblAssegnoNote", "Note")),
      txtAssegnoNote(addAt<TextBox>(kInput, rowTop(10), kWidth, 315, "txtAssegnoNote")) {
    cboDescrizione.setDropDownList(true);
    cboNome.setDropDownList(true);
    // Grey: any value, the column is not tested.
    chkSuPiazza.setValue(2);
    chkTrasferibile.setValue(2);
    chkSbarrato.setValue(2);
    criteria = {comboCriterion(cboDescrizione, "a.CONTOCORRENTEID"),
                comboCriterion(cboNome, "a.ANAGRAFICAID"),
                textCriterion(txtNumero, "a.Numero"),
                dateBoundCriterion(txtDataDa, "a.DataAssegno", ">="),
                dateBoundCriterion(txtDataA, "a.DataAssegno", "<="),
                textCriterion(txtLuogoEmissione, "a.LuogoEmissione"),
                flagCriterion(chkSuPiazza, "a.SuPiazza = "),
                flagCriterion(chkTrasferibile, "a.Trasferibile ="),
                flagCriterion(chkSbarrato, "a.Sbarrato ="),
                amountBoundCriterion(txtImportoDa, "a.Importo", ">="),
                amountBoundCriterion(txtImportoA, "a.Importo", "<="),
                textCriterion(txtCausale, "a.Causale"),
                textCriterion(txtAssegnoNote, "a.AssegnoNote")};
}

ListWindow& frmSelectAssegniEmessi::list() { return Instance<frmAssegniEmessi>::get(); }
void frmSelectAssegniEmessi::releaseInstance() { Instance<frmSelectAssegniEmessi>::release(); }
std::string& frmSelectAssegniEmessi::filterText() { return gFilterIssued; }

void frmSelectAssegniEmessi::fillCombos() {
    fillCombo(cboDescrizione, "SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione ");
    fillCombo(cboNome, "SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome ",
              -1, contactItemText);
}

bool frmSelectAssegniEmessi::checks() {
    const std::string m = chequeBoundsRefusal(txtDataDa, txtDataA, txtImportoDa, txtImportoA);
    return m.empty() || refuse(m);
}

}  // namespace qv
