#include "issued/frmEditAssegniEmessi.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/sqlhelpers.h"
#include "issued/frmAssegniEmessi.h"
#include "lists/amounts.h"
#include "lists/windowhelpers.h"
#include "platform/msgbox_component.h"

namespace qv {

namespace {
constexpr int kLeft = 240, kInput = 2400, kWidth = 4200, kRow = 480, kTop = 720;
int rowTop(int i) { return kTop + i * kRow; }
}  // namespace

frmEditAssegniEmessi::frmEditAssegniEmessi()
    : EditorWindow("frmEditAssegniEmessi", "Assegni Emessi", 7000, rowTop(12) + 800),
      lblDescrizione(addAt<Label>(kLeft, rowTop(0), 2055, 315, "lblDescrizione", "Conto Corrente")),
      cboDescrizione(addAt<ComboBox>(kInput, rowTop(0), kWidth, 315, "cboDescrizione")),
      lblNome(addAt<Label>(kLeft, rowTop(1), 2055, 315, "lblNome", "Beneficiario")),
      cboNome(addAt<ComboBox>(kInput, rowTop(1), kWidth, 315, "cboNome")),
      lblNumero(addAt<Label>(kLeft, rowTop(2), 2055, 315, "lblNumero", "Numero Assegno")),
      txtNumero(addAt<TextBox>(kInput, rowTop(2), 2000, 315, "txtNumero")),
      lblDataAssegno(addAt<Label>(kLeft, rowTop(3), 2055, 315, "lblDataAssegno", "Data Assegno")),
      txtDataAssegno(addAt<DateField>(kInput, rowTop(3), 2000, 315, "txtDataAssegno")),
      lblLuogoEmissione(addAt<Label>(kLeft, rowTop(4), 2055, 315, "lblLuogoEmissione", "Luogo di emissione")),
      txtLuogoEmissione(addAt<TextBox>(kInput, rowTop(4), kWidth, 315, "txtLuogoEmissione")),
      chkSuPiazza(addAt<CheckBox>(kInput, rowTop(5), 1400, 315, "chkSuPiazza", "Su piazza")),
      chkTrasferibile(addAt<CheckBox>(kInput, rowTop(6), 1400, 315, "chkTrasferibile", "Trasferibile")),
      chkSbarrato(addAt<CheckBox>(kInput, rowTop(7), 1400, 315, "chkSbarrato", "Sbarrato")),
      lblImporto(addAt<Label>(kLeft, rowTop(8), 2055, 315, "lblImporto", "Importo (€)")),
      txtImporto(addAt<TextBox>(kInput, rowTop(8), 2000, 315, "txtImporto")),
      lblCausale(addAt<Label>(kLeft, rowTop(9), 2055, 315, "lblCausale", "Causale")),
      txtCausale(addAt<TextBox>(kInput, rowTop(9), kWidth, 315, "txtCausale")),
      lblAssegnoNote(addAt<Label>(kLeft, rowTop(10), 2055, 315, "lblAssegnoNote", "Note")),
      txtAssegnoNote(addAt<TextBox>(kInput, rowTop(10), kWidth, 795, "txtAssegnoNote", true)) {
    cboDescrizione.setDropDownList(true);
    cboNome.setDropDownList(true);
    txtDataAssegno.setTextForToday("Oggi");
    cboDescrizione.Change = [this] { cboDescrizione_Change(); };
    cboNome.Change = [this] { cboNome_Change(); };
    txtDataAssegno.Validate = [this] { return txtDataAssegno_Validate(); };
    cboDescrizione.KeyUp = [this](int k, int s) { cboDescrizione_KeyUp(k, s); };
    cboNome.KeyUp = [this](int k, int s) { cboNome_KeyUp(k, s); };
}

ListWindow& frmEditAssegniEmessi::list() { return Instance<frmAssegniEmessi>::get(); }
void frmEditAssegniEmessi::releaseInstance() { Instance<frmEditAssegniEmessi>::release(); }

void frmEditAssegniEmessi::prepare() {
    idDelContoCorrente = -1;
    idDelBeneficiarioEm = -1;
    EditorWindow::prepare();
}

void frmEditAssegniEmessi::loadInputs() {
    std::int64_t account = 0, payee = 0;   // nothing kept counts as 0
    if (!gIsNew) {
        resetRs();
        gRsOpen("SELECT a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione, a.ANAGRAFICAID, c.Nome,  "
                "a.Numero, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  "
                "a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated,  "
                "a.DateTimeLastUpdated "
                "FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c "
                "WHERE ASSEGNIEMESSIID = " +
                sqlKey(list().mKey) + " AND " + "a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID ");
        Recordset& rs = gRs();
        if (!rs.isEOF()) {
            auto field = [&rs](const char* name) { return rs.Fields(name).value(); };
            account = parseWholeNumber(field("CONTOCORRENTEID").str()).value_or(0);
            payee = parseWholeNumber(field("ANAGRAFICAID").str()).value_or(0);
            txtNumero.setText(field("Numero").str());
            txtLuogoEmissione.setText(field("LuogoEmissione").str());
            // Shown so that saving it untouched keeps the stored value.
            txtImporto.setText(amountForInput(field("Importo")));
            txtCausale.setText(field("Causale").str());
            txtAssegnoNote.setText(field("AssegnoNote").str());
            txtDataAssegno.setText(dateForInput(field("DataAssegno")));
            chkSuPiazza.setValue(flagIsSet(field("SuPiazza")) ? 1 : 0);
            chkTrasferibile.setValue(flagIsSet(field("Trasferibile")) ? 1 : 0);
            chkSbarrato.setValue(flagIsSet(field("Sbarrato")) ? 1 : 0);
        }
        rs.Close();
        resetRs();
    }
    if (fillCombo(cboDescrizione, "SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione ",
                  account))
        idDelContoCorrente = account;
    if (fillCombo(cboNome, "SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome", payee,
                  contactItemText))
        idDelBeneficiarioEm = payee;
    // A new cheque starts with no account and no payee chosen.
    if (gIsNew) {
        idDelContoCorrente = -1;
        idDelBeneficiarioEm = -1;
    }
}

void frmEditAssegniEmessi::Form_Activate() {
    // Only a window closing above the editor activates it again, never a
    // message box: a date typed before a refused OK stays as typed.
    runProc(owner(), "Form_Activate", [this] {
        if (gIsNew) txtDataAssegno.setToday();
    });
}

void frmEditAssegniEmessi::cboDescrizione_Change() {
    runProc(owner(), "cboDescrizione_Change", [this] { keepChosenKey(cboDescrizione, idDelContoCorrente); });
}

void frmEditAssegniEmessi::cboNome_Change() {
    runProc(owner(), "cboNome_Change", [this] { keepChosenKey(cboNome, idDelBeneficiarioEm); });
}

void frmEditAssegniEmessi::homeEnd(ComboBox& combo, int keyCode, const std::string& proc) {
    // Not traced; a failure goes to the runtime's own box, untranslated.
    try {
        selectHomeEnd(combo, keyCode);
    } catch (const RuntimeError& e) {
        msgbox::runtimeBox(standardErrorText(owner(), proc, e), "Quorvel");
    }
}

void frmEditAssegniEmessi::cboDescrizione_KeyUp(int keyCode, int) {
    homeEnd(cboDescrizione, keyCode, "cboDescrizione_KeyUp");
}

void frmEditAssegniEmessi::cboNome_KeyUp(int keyCode, int) { homeEnd(cboNome, keyCode, "cboNome_KeyUp"); }

bool frmEditAssegniEmessi::txtDataAssegno_Validate() {
    return runProc(owner(), "txtDataAssegno_Validate",
                   [this] { return refuseBadDate(txtDataAssegno, "Formato della data dell'assegno non valido"); });
}

bool frmEditAssegniEmessi::checks() {
    if (cboDescrizione.ListIndex() == -1 || idDelContoCorrente == -1) return refuse("Selezionare il conto corrente");
    if (cboNome.ListIndex() == -1 || idDelBeneficiarioEm == -1) return refuse("Selezionare il beneficiario");
    if (trim(txtNumero.Text()).empty()) return refuse("Inserire il numero dell'assegno");
    if (!readsAsNumber(txtNumero.Text())) return refuse("Formato del numero dell'assegno non valido");
    if (trim(txtDataAssegno.Text()).empty()) return refuse("Inserire la data dell'assegno");
    if (!parseDateInput(txtDataAssegno.Text())) return refuse("Formato della data dell'assegno non valido");
    if (trim(txtImporto.Text()).empty()) return refuse("Inserire l'importo dell'assegno");
    if (!parseAmount(txtImporto.Text())) return refuse("Formato dell'importo dell'assegno non valido");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditAssegniEmessi::columnValues() {
    // The checks have passed: the date and the amount read.
    const auto date = parseDateInput(txtDataAssegno.Text());
    const auto amount = parseAmount(txtImporto.Text());
    if (!date || !amount) throw RuntimeError(kErrTypeMismatch);
    // The number is kept as typed (leading zeros included), as a text.
    return {{"CONTOCORRENTEID", sqlKey(idDelContoCorrente)},
            {"ANAGRAFICAID", sqlKey(idDelBeneficiarioEm)},
            {"Numero", "'" + Pad(trim(txtNumero.Text())) + "'"},
            {"DataAssegno", "'" + FormattaData(*date) + "'"},
            {"LuogoEmissione", sqlTextValue(txtLuogoEmissione.Text())},
            {"SuPiazza", std::to_string(chkSuPiazza.Value())},
            {"Trasferibile", std::to_string(chkTrasferibile.Value())},
            {"Sbarrato", std::to_string(chkSbarrato.Value())},
            {"Importo", *amount},
            {"Causale", sqlTextValue(txtCausale.Text())},
            {"AssegnoNote", sqlTextValue(txtAssegnoNote.Text())}};
}

void frmEditAssegniEmessi::afterSave() {
    EditorWindow::afterSave();
    // The cheque list always shows what a whole fill builds, total line included.
    ListWindow& l = list();
    l.ClearGrid();
    l.FillGrid();
}

}  // namespace qv
