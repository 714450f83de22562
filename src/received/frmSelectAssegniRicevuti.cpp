#include "received/frmSelectAssegniRicevuti.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/translation.h"
#include "lists/amounts.h"
#include "lists/editorwindow.h"
#include "lists/windowhelpers.h"
#include "received/frmAssegniRicevuti.h"

namespace qv {

namespace {
constexpr int kLabelLeft = 240, kLabelWidth = 2400, kInputLeft = 2760, kInputWidth = 4560, kHeight = 315;
constexpr int rowTop(int i) { return 600 + i * 420; }
}  // namespace

frmSelectAssegniRicevuti::frmSelectAssegniRicevuti()
    : FilterWindow("frmSelectAssegniRicevuti", "Cerca Assegni Ricevuti", gSavedFilterReceived, true, 7680, 7800),
      lblFirmatario(addAt<Label>(kLabelLeft, rowTop(0), kLabelWidth, kHeight, "lblFirmatario", "Firmatario")),
      cboFIRMATARIOID(addAt<ComboBox>(kInputLeft, rowTop(0), kInputWidth, kHeight, "cboFIRMATARIOID")),
      lblNome(addAt<Label>(kLabelLeft, rowTop(1), kLabelWidth, kHeight, "lblNome", "Beneficiario")),
      cboNome(addAt<ComboBox>(kInputLeft, rowTop(1), kInputWidth, kHeight, "cboNome")),
      lblNumero(addAt<Label>(kLabelLeft, rowTop(2), kLabelWidth, kHeight, "lblNumero", "Numero Assegno")),
      txtNumero(addAt<TextBox>(kInputLeft, rowTop(2), kInputWidth, kHeight, "txtNumero")),
      lblDataAssegno(addAt<Label>(kLabelLeft, rowTop(3), kLabelWidth, kHeight, "lblDataAssegno", "Data Assegno")),
      lblDaData(addAt<Label>(kInputLeft, rowTop(3), 360, kHeight, "lblDaData", "da")),
      txtDataDa(addAt<TextBox>(kInputLeft + 360, rowTop(3), 1800, kHeight, "txtDataDa")),
      lblDataA(addAt<Label>(kInputLeft + 2400, rowTop(3), 360, kHeight, "lblDataA", "a")),
      txtDataA(addAt<TextBox>(kInputLeft + 2760, rowTop(3), 1800, kHeight, "txtDataA")),
      lblLuogoEmissione(
          addAt<Label>(kLabelLeft, rowTop(4), kLabelWidth, kHeight, "lblLuogoEmissione", "Luogo di emissione")),
      txtLuogoEmissione(addAt<TextBox>(kInputLeft, rowTop(4), kInputWidth, kHeight, "txtLuogoEmissione")),
      lblBanca(addAt<Label>(kLabelLeft, rowTop(5), kLabelWidth, kHeight, "lblBanca", "Banca")),
      txtBanca(addAt<TextBox>(kInputLeft, rowTop(5), kInputWidth, kHeight, "txtBanca")),
      lblABI(addAt<Label>(kLabelLeft, rowTop(6), kLabelWidth, kHeight, "lblABI", "ABI")),
      txtABI(addAt<TextBox>(kInputLeft, rowTop(6), 1800, kHeight, "txtABI")),
      lblCAB(addAt<Label>(kLabelLeft, rowTop(7), kLabelWidth, kHeight, "lblCAB", "CAB")),
      txtCAB(addAt<TextBox>(kInputLeft, rowTop(7), 1800, kHeight, "txtCAB")),
      lblNumeroConto(addAt<Label>(kLabelLeft, rowTop(8), kLabelWidth, kHeight, "lblNumeroConto",
                                  "Numero di Conto Corrente")),
      txtNumeroConto(addAt<TextBox>(kInputLeft, rowTop(8), kInputWidth, kHeight, "txtNumeroConto")),
      lblImporto(addAt<Label>(kLabelLeft, rowTop(9), kLabelWidth, kHeight, "lblImporto", "Importo (€)")),
      lblDaImporto(addAt<Label>(kInputLeft, rowTop(9), 360, kHeight, "lblDaImporto", "da")),
      txtImportoDa(addAt<TextBox>(kInputLeft + 360, rowTop(9), 1800, kHeight, "txtImportoDa")),
      lblImportoA(addAt<Label>(kInputLeft + 2400, rowTop(9), 360, kHeight, "lblImportoA", "a")),
      txtImportoA(addAt<TextBox>(kInputLeft + 2760, rowTop(9), 1800, kHeight, "txtImportoA")),
      lblCausale(addAt<Label>(kLabelLeft, rowTop(10), kLabelWidth, kHeight, "lblCausale", "Causale")),
      txtCausale(addAt<TextBox>(kInputLeft, rowTop(10), kInputWidth, kHeight, "txtCausale")),
      lblAssegnoNote(addAt<Label>(kLabelLeft, rowTop(11), kLabelWidth, kHeight, "lblAssegnoNote", "Note")),
      txtAssegnoNote(addAt<TextBox>(kInputLeft, rowTop(11), kInputWidth, kHeight, "txtAssegnoNote")),
      chkSuPiazza(addAt<CheckBox>(kLabelLeft, rowTop(12), 2280, kHeight, "chkSuPiazza", "Su piazza", true)),
      chkTrasferibile(addAt<CheckBox>(kInputLeft, rowTop(12), 2160, kHeight, "chkTrasferibile", "Trasferibile", true)),
      chkSbarrato(addAt<CheckBox>(kInputLeft + 2400, rowTop(12), 2160, kHeight, "chkSbarrato", "Sbarrato", true)),
      chkGirato(addAt<CheckBox>(kLabelLeft, rowTop(13), 855, kHeight, "chkGirato", "Girato", true)),
      lblA(addAt<Label>(kInputLeft - 360, rowTop(13), 360, kHeight, "lblA", "a")),
      cmbGiratoA(addAt<ComboBox>(kInputLeft, rowTop(13), kInputWidth, kHeight, "cmbGiratoA")),
      chkVersato(addAt<CheckBox>(kLabelLeft, rowTop(14), 855, kHeight, "chkVersato", "Versato", true)),
      lblSu(addAt<Label>(kInputLeft - 360, rowTop(14), 360, kHeight, "lblSu", "su")),
      cmbVersatoSu(addAt<ComboBox>(kInputLeft, rowTop(14), kInputWidth, kHeight, "cmbVersatoSu")) {
    for (CheckBox* c : {&chkSuPiazza, &chkTrasferibile, &chkSbarrato, &chkGirato, &chkVersato}) c->setValue(2);
    chkGirato.Click = [this] { chkGirato_Click(); };
    chkVersato.Click = [this] { chkVersato_Click(); };

    const ComboBox& signer = cboFIRMATARIOID;
    const CheckBox& girato = chkGirato;
    const CheckBox& versato = chkVersato;
    const ComboBox& giratoA = cmbGiratoA;
    const ComboBox& versatoSu = cmbVersatoSu;
    criteria = {
        [&signer]() -> std::string {
            if (signer.ListIndex() == -1) return {};
            return "a.FIRMATARIOID =" + sqlKey(signer.ItemData(signer.ListIndex()));
        },
        comboCriterion(cboNome, "a.ANAGRAFICAID"),
        textCriterion(txtNumero, "a.Numero"),
        dateBoundCriterion(txtDataDa, "a.DataAssegno", ">="),
        dateBoundCriterion(txtDataA, "a.DataAssegno", "<="),
        textCriterion(txtLuogoEmissione, "a.LuogoEmissione"),
        textCriterion(txtBanca, "a.Banca"),
        textCriterion(txtABI, "a.ABI"),
        textCriterion(txtCAB, "a.CAB"),
        textCriterion(txtNumeroConto, "a.NumeroConto"),
        amountBoundCriterion(txtImportoDa, "a.Importo", ">="),
        amountBoundCriterion(txtImportoA, "a.Importo", "<="),
        textCriterion(txtCausale, "a.Causale"),
        textCriterion(txtAssegnoNote, "a.AssegnoNote"),
        flagCriterion(chkSuPiazza, "a.SuPiazza = "),
        flagCriterion(chkTrasferibile, "a.Trasferibile ="),
        flagCriterion(chkSbarrato, "a.Sbarrato ="),
        // "Not endorsed" must not lose every cheque to a Null in the subquery.
        [&girato, &giratoA]() -> std::string {
            if (girato.Value() == 0)
                return "a.assegniricevutiid not IN (select assegniricevutiid from girate where assegniricevutiid is "
                       "not null)";
            if (girato.Value() != 1) return {};
            if (giratoA.ListIndex() == -1) return "a.assegniricevutiid IN (select assegniricevutiid from girate)";
            return "a.assegniricevutiid IN (select assegniricevutiid from girate gi where gi.anagraficaid=" +
                   sqlKey(giratoA.ItemData(giratoA.ListIndex())) + ")";
        },
        [&versato, &versatoSu]() -> std::string {
            if (versato.Value() == 0)
                return "a.assegniricevutiid not IN (select assegniricevutiid from versamenti where assegniricevutiid "
                       "is not null)";
            if (versato.Value() != 1) return {};
            if (versatoSu.ListIndex() == -1)
                return "a.assegniricevutiid IN (select assegniricevutiid from versamenti)";
            return "a.assegniricevutiid IN (select assegniricevutiid from versamenti ve where ve.contocorrenteid=" +
                   sqlKey(versatoSu.ItemData(versatoSu.ListIndex())) + ")";
        },
    };
}

ListWindow& frmSelectAssegniRicevuti::list() { return Instance<frmAssegniRicevuti>::get(); }
void frmSelectAssegniRicevuti::releaseInstance() { Instance<frmSelectAssegniRicevuti>::release(); }
std::string& frmSelectAssegniRicevuti::filterText() { return gFilterReceived; }

void frmSelectAssegniRicevuti::fillCombos() {
    fillCombo(cmbVersatoSu, "SELECT *  FROM mieiconticorrenti order by descrizione ", -1,
              [] { return gRs().Fields("descrizione").value().str(); });
    resetRs();
    gRsOpen("SELECT ANAGRAFICAID, cognome,Nome FROM Anagrafica order by cognome, nome ");
    Recordset& rs = gRs();
    while (!rs.isEOF()) {
        const std::string text = contactItemText();
        const std::int64_t id = rs.Fields("ANAGRAFICAID").value().toLong();
        for (ComboBox* c : {&cboNome, &cmbGiratoA, &cboFIRMATARIOID}) {
            c->AddItem(text);
            c->setItemData(c->NewIndex(), id);
        }
        rs.MoveNext();
    }
    rs.Close();
    resetRs();
}

void frmSelectAssegniRicevuti::afterLoad() {
    if (chkVersato.Value() == 2) cmbVersatoSu.setListIndex(-1);
    if (chkGirato.Value() == 2) cmbGiratoA.setListIndex(-1);
}

void frmSelectAssegniRicevuti::Form_Activate() {
    if (!isEnglish()) return;
    chkGirato.setWidth(65);
    chkVersato.setWidth(65);
}

bool frmSelectAssegniRicevuti::checks() {
    const std::string m = chequeBoundsRefusal(txtDataDa, txtDataA, txtImportoDa, txtImportoA);
    return m.empty() || refuse(m);
}

namespace {
// The endorsement and deposit boxes exclude each other: at most one is "yes",
// and only a "yes" box offers its list of contacts or accounts.
void stateBoxClicked(CheckBox& box, ComboBox& choice, CheckBox& other, ComboBox& otherChoice) {
    if (box.Value() == 1) {
        choice.setEnabled(true);
        otherChoice.setEnabled(false);
        otherChoice.setListIndex(-1);
        other.setValue(2);
    } else {
        choice.setEnabled(false);
    }
}
}  // namespace

void frmSelectAssegniRicevuti::chkGirato_Click() {
    runProc(owner(), "chkGirato_Click", [this] { stateBoxClicked(chkGirato, cmbGiratoA, chkVersato, cmbVersatoSu); });
}

void frmSelectAssegniRicevuti::chkVersato_Click() {
    runProc(owner(), "chkVersato_Click", [this] { stateBoxClicked(chkVersato, cmbVersatoSu, chkGirato, cmbGiratoA); });
}

}  // namespace qv
