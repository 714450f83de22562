#include "received/frmEditAssegniRicevuti.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/globals.h"
#include "core/msgbox.h"
#include "core/sqlhelpers.h"
#include "core/translation.h"
#include "lists/amounts.h"
#include "lists/windowhelpers.h"
#include "received/frmAssegniRicevuti.h"

namespace qv {

namespace {
// Design grid (twips): one field per row, the caption to its left.
constexpr int kLabelLeft = 240, kLabelWidth = 2520, kInputLeft = 2880, kInputWidth = 4560, kHeight = 315;
constexpr int rowTop(int i) { return 600 + i * 420; }

std::int64_t storedKey(const Value& v) {
    if (v.isNull()) return -1;
    return parseWholeNumber(trim(v.str())).value_or(-1);
}
}  // namespace

frmEditAssegniRicevuti::frmEditAssegniRicevuti()
    : EditorWindow("frmEditAssegniRicevuti", "Assegni Ricevuti", 7920, 8520),
      lblFirmatario(addAt<Label>(kLabelLeft, rowTop(0), kLabelWidth, kHeight, "lblFirmatario", "Firmatario")),
      cboFIRMATARIOID(addAt<ComboBox>(kInputLeft, rowTop(0), kInputWidth, kHeight, "cboFIRMATARIOID")),
      lblNome(addAt<Label>(kLabelLeft, rowTop(1), kLabelWidth, kHeight, "lblNome", "Beneficiario")),
      cboNome(addAt<ComboBox>(kInputLeft, rowTop(1), kInputWidth, kHeight, "cboNome")),
      lblNumero(addAt<Label>(kLabelLeft, rowTop(2), kLabelWidth, kHeight, "lblNumero", "Numero Assegno")),
      txtNumero(addAt<TextBox>(kInputLeft, rowTop(2), kInputWidth, kHeight, "txtNumero")),
      lblDataAssegno(addAt<Label>(kLabelLeft, rowTop(3), kLabelWidth, kHeight, "lblDataAssegno", "Data Assegno")),
      txtDataAssegno(addAt<DateField>(kInputLeft, rowTop(3), 1800, kHeight, "txtDataAssegno")),
      lblLuogoEmissione(
          addAt<Label>(kLabelLeft, rowTop(4), kLabelWidth, kHeight, "lblLuogoEmissione", "Luogo di emissione")),
      txtLuogoEmissione(addAt<TextBox>(kInputLeft, rowTop(4), kInputWidth, kHeight, "txtLuogoEmissione")),
      chkSuPiazza(addAt<CheckBox>(kInputLeft, rowTop(5), 2400, kHeight, "chkSuPiazza", "Su piazza")),
      lblBanca(addAt<Label>(kLabelLeft, rowTop(6), kLabelWidth, kHeight, "lblBanca", "Banca")),
      txtBanca(addAt<TextBox>(kInputLeft, rowTop(6), kInputWidth, kHeight, "txtBanca")),
      lblABI(addAt<Label>(kLabelLeft, rowTop(7), kLabelWidth, kHeight, "lblABI", "ABI")),
      txtABI(addAt<TextBox>(kInputLeft, rowTop(7), 1200, kHeight, "txtABI")),
      lblCAB(addAt<Label>(kLabelLeft, rowTop(8), kLabelWidth, kHeight, "lblCAB", "CAB")),
      txtCAB(addAt<TextBox>(kInputLeft, rowTop(8), 1200, kHeight, "txtCAB")),
      lblNumeroConto(addAt<Label>(kLabelLeft, rowTop(9), kLabelWidth, kHeight, "lblNumeroConto",
                                  "Numero di Conto Corrente")),
      txtNumeroConto(addAt<TextBox>(kInputLeft, rowTop(9), kInputWidth, kHeight, "txtNumeroConto")),
      chkTrasferibile(addAt<CheckBox>(kInputLeft, rowTop(10), 2400, kHeight, "chkTrasferibile", "Trasferibile")),
      chkSbarrato(addAt<CheckBox>(kInputLeft, rowTop(11), 2400, kHeight, "chkSbarrato", "Sbarrato")),
      lblImporto(addAt<Label>(kLabelLeft, rowTop(12), kLabelWidth, kHeight, "lblImporto", "Importo (€)")),
      txtImporto(addAt<TextBox>(kInputLeft, rowTop(12), 1800, kHeight, "txtImporto")),
      lblCausale(addAt<Label>(kLabelLeft, rowTop(13), kLabelWidth, kHeight, "lblCausale", "Causale")),
      txtCausale(addAt<TextBox>(kInputLeft, rowTop(13), kInputWidth, kHeight, "txtCausale")),
      lblAssegnoNote(addAt<Label>(kLabelLeft, rowTop(14), kLabelWidth, kHeight, "lblAssegnoNote", "Note")),
      txtAssegnoNote(addAt<TextBox>(kInputLeft, rowTop(14), kInputWidth, kHeight, "txtAssegnoNote")),
      txtStatoAssegno(addAt<Label>(kLabelLeft, rowTop(15) + 60, 5040, 735, "txtStatoAssegno", "Stato Assegno", true)),
      cmdEliminaOperazione(
          addAt<CommandButton>(5400, rowTop(15) + 60, 2280, 375, "cmdEliminaOperazione", "&Elimina Operazione")) {
    cboFIRMATARIOID.Change = [this] { cboFIRMATARIOID_Change(); };
    cboFIRMATARIOID.KeyUp = [this](int k, int s) { cboFIRMATARIOID_KeyUp(k, s); };
    cboNome.Change = [this] { cboNome_Change(); };
    cboNome.KeyUp = [this](int k, int s) { cboNome_KeyUp(k, s); };
    cmdEliminaOperazione.Click = [this] { cmdEliminaOperazione_Click(); };
    txtDataAssegno.Validate = [this] { return txtDataAssegno_Validate(); };
}

ListWindow& frmEditAssegniRicevuti::list() { return Instance<frmAssegniRicevuti>::get(); }
frmAssegniRicevuti& frmEditAssegniRicevuti::receivedList() { return Instance<frmAssegniRicevuti>::get(); }
void frmEditAssegniRicevuti::releaseInstance() { Instance<frmEditAssegniRicevuti>::release(); }

// ---------------------------------------------------------------- load

void frmEditAssegniRicevuti::prepare() {
    idDelBeneficiario = -1;
    idDelFirmatario = -1;
    txtStatoAssegno.setCaption("");
    cmdEliminaOperazione.setVisible(false);
    CenterForm(*this);
    DisattivaTabstop(Controls());
}

void frmEditAssegniRicevuti::loadState() {
    frmAssegniRicevuti& l = receivedList();
    // A state that could not be read is not claimed to be "neither".
    const auto state = l.readChequeState(l.mASSEGNIRICEVUTIID);
    if (!state) return;
    txtStatoAssegno.setCaption(state->text);
    cmdEliminaOperazione.setVisible(state->hasOperation);
}

void frmEditAssegniRicevuti::loadInputs() {
    std::int64_t signer = -1, payee = -1;
    if (!gIsNew) {
        loadState();
        OpenDb();
        resetRs();
        gRsOpen(std::string("SELECT a.ASSEGNIRICEVUTIID, a.FIRMATARIOID, a.ANAGRAFICAID, b.Nome, a.Numero,  ") +
                "a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Banca, a.ABI, a.CAB,  " +
                "a.NumeroConto, a.Trasferibile, a.Sbarrato, a.Importo, a.Causale,  " +
                "a.AssegnoNote, a.DateTimeCreated, a.DateTimeLastUpdated " + "FROM AssegniRicevuti a, Anagrafica b " +
                "WHERE ASSEGNIRICEVUTIID = " + sqlKey(receivedList().mASSEGNIRICEVUTIID) + " AND " +
                "a.ANAGRAFICAID = b.ANAGRAFICAID ");
        Recordset& rs = gRs();
        if (!rs.isEOF()) {
            auto field = [&rs](const char* name) { return rs.Fields(name).value(); };
            signer = storedKey(field("firmatarioid"));
            payee = storedKey(field("ANAGRAFICAID"));
            txtNumero.setText(field("Numero").str());
            txtDataAssegno.setText(dateForInput(field("DataAssegno")));
            txtLuogoEmissione.setText(field("LuogoEmissione").str());
            txtBanca.setText(field("Banca").str());
            txtABI.setText(field("ABI").str());
            txtCAB.setText(field("CAB").str());
            txtNumeroConto.setText(field("NumeroConto").str());
            txtImporto.setText(amountForInput(field("Importo")));
            txtCausale.setText(field("Causale").str());
            txtAssegnoNote.setText(field("AssegnoNote").str());
            chkSuPiazza.setValue(flagIsSet(field("SuPiazza")) ? 1 : 0);
            chkTrasferibile.setValue(flagIsSet(field("Trasferibile")) ? 1 : 0);
            chkSbarrato.setValue(flagIsSet(field("Sbarrato")) ? 1 : 0);
        }
        rs.Close();
        resetRs();
        CloseDb();
    }
    OpenDb();
    if (fillCombo(cboFIRMATARIOID, "SELECT anagraficaid, cognome, nome  FROM anagrafica order by cognome, nome ",
                  signer, contactItemText))
        idDelFirmatario = signer;
    if (fillCombo(cboNome, "SELECT ANAGRAFICAID, Nome, cognome FROM Anagrafica order by cognome, nome ", payee,
                  contactItemText))
        idDelBeneficiario = payee;
    if (gIsNew) {
        cboFIRMATARIOID.setListIndex(-1);
        cboNome.setListIndex(-1);
        idDelFirmatario = -1;
        idDelBeneficiario = -1;
    }
}

void frmEditAssegniRicevuti::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        if (gIsNew) txtDataAssegno.setToday();
    });
}

// ---------------------------------------------------------------- lists and date field

void frmEditAssegniRicevuti::cboFIRMATARIOID_Change() {
    runProc(owner(), "cboFIRMATARIOID_Change", [this] { keepChosenKey(cboFIRMATARIOID, idDelFirmatario); });
}

void frmEditAssegniRicevuti::cboNome_Change() {
    runProc(owner(), "cboNome_Change", [this] { keepChosenKey(cboNome, idDelBeneficiario); });
}

void frmEditAssegniRicevuti::cboFIRMATARIOID_KeyUp(int keyCode, int) {
    runProc(owner(), "cboFIRMATARIOID_KeyUp", [&] { selectHomeEnd(cboFIRMATARIOID, keyCode); });
}

void frmEditAssegniRicevuti::cboNome_KeyUp(int keyCode, int) {
    runProc(owner(), "cboNome_KeyUp", [&] { selectHomeEnd(cboNome, keyCode); });
}

bool frmEditAssegniRicevuti::txtDataAssegno_Validate() {
    return runProc(owner(), "txtDataAssegno_Validate",
                   [this] { return refuseBadDate(txtDataAssegno, "Formato della data dell'assegno non valido"); });
}

// ---------------------------------------------------------------- remove the operation

void frmEditAssegniRicevuti::cmdEliminaOperazione_Click() {
    runProc(owner(), "cmdEliminaOperazione_Click", [this] {
        if (MyMsgBox("Sei sicuro di voler eliminare l'operazione?", 4, "Quorvel") != 6) return;
        OpenDb();
        const std::string key = sqlKey(receivedList().mASSEGNIRICEVUTIID);
        // Both kinds go together or not at all; a failure has shown its error.
        if (!runStatementGroup({"delete from girate where assegniricevutiid=" + key,
                                "delete from versamenti where assegniricevutiid=" + key}))
            return;
        MyMsgBox("Operazione eliminata", 48, "Quorvel");
        txtStatoAssegno.setCaption(frmAssegniRicevuti::neitherText());
        cmdEliminaOperazione.setVisible(false);
    });
}

// ---------------------------------------------------------------- save

bool frmEditAssegniRicevuti::checks() {
    if (cboFIRMATARIOID.ListIndex() == -1 || idDelFirmatario == -1) return refuse("Selezionare il firmatario");
    if (cboNome.ListIndex() == -1 || idDelBeneficiario == -1) return refuse("Selezionare il beneficiario");
    if (trim(txtNumero.Text()).empty()) return refuse("Inserire il numero dell'assegno");
    if (!readsAsNumber(txtNumero.Text())) return refuse("Formato del numero dell'assegno non valido");
    if (trim(txtDataAssegno.Text()).empty()) return refuse("Inserire la data dell'assegno");
    if (!parseDateInput(txtDataAssegno.Text())) return refuse("Formato della data dell'assegno non valido");
    // The bank and branch codes are Italian: required and tested only there.
    if (!isEnglish() && trim(txtABI.Text()).empty()) return refuse("Inserire il codice ABI");
    if (const std::string m = checkABICAB(trim(txtABI.Text()), "ABI"); !m.empty()) return refuse(m);
    if (!isEnglish() && trim(txtCAB.Text()).empty()) return refuse("Inserire il codice CAB");
    if (const std::string m = checkABICAB(trim(txtCAB.Text()), "CAB"); !m.empty()) return refuse(m);
    if (trim(txtNumeroConto.Text()).empty()) return refuse("Inserire il numero di conto corrente");
    if (trim(txtImporto.Text()).empty()) return refuse("Inserire l'importo dell'assegno");
    if (!parseAmount(txtImporto.Text())) return refuse("Formato dell'importo dell'assegno non valido");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditAssegniRicevuti::columnValues() {
    const std::string date = trim(txtDataAssegno.Text());
    const auto day = parseDateInput(date);
    if (!date.empty() && !day) throw RuntimeError(kErrTypeMismatch);
    const auto amount = parseAmount(txtImporto.Text());
    if (!amount) throw RuntimeError(kErrTypeMismatch);
    auto flag = [](const CheckBox& c) { return std::to_string(c.Value()); };
    return {
        {"FIRMATARIOID", sqlKey(idDelFirmatario)},
        {"ANAGRAFICAID", sqlKey(idDelBeneficiario)},
        {"Numero", sqlTextValue(txtNumero.Text())},
        {"DataAssegno", date.empty() ? std::string("Null") : "'" + FormattaData(*day) + "'"},
        {"LuogoEmissione", sqlTextValue(txtLuogoEmissione.Text())},
        {"SuPiazza", flag(chkSuPiazza)},
        {"Banca", sqlTextValue(txtBanca.Text())},
        {"ABI", sqlTextValue(txtABI.Text())},
        {"CAB", sqlTextValue(txtCAB.Text())},
        {"NumeroConto", sqlTextValue(txtNumeroConto.Text())},
        {"Trasferibile", flag(chkTrasferibile)},
        {"Sbarrato", flag(chkSbarrato)},
        {"Importo", *amount},
        {"Causale", sqlTextValue(txtCausale.Text())},
        {"AssegnoNote", sqlTextValue(txtAssegnoNote.Text())},
    };
}

void frmEditAssegniRicevuti::afterSave() {
    EditorWindow::afterSave();
    // The list always shows the saved state, under its current filter.
    ListWindow& l = list();
    l.ClearGrid();
    l.FillGrid();
}

}  // namespace qv
