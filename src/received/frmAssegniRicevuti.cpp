#include "received/frmAssegniRicevuti.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/msgbox.h"
#include "core/sqlhelpers.h"
#include "core/trace.h"
#include "core/translation.h"
#include "lists/windowhelpers.h"
#include "received/frmEditAssegniRicevuti.h"
#include "received/frmEditGirate.h"
#include "received/frmEditVersamenti.h"
#include "received/frmSelectAssegniRicevuti.h"

namespace qv {

namespace {
constexpr const char* kFormName = "frmAssegniRicevuti";

// The select list shared by the fill and the one-row queries: the signer is
// the contact aliased c, the payee the contact aliased b.
std::string selectList() {
    return std::string("SELECT ") + " a.ASSEGNIRICEVUTIID, " + concatSql("c.cognome", "' '", "c.nome") +
           " as Firmatario, a.ANAGRAFICAID, " + concatSql("b.cognome", "' '", "b.nome") +
           " as Beneficiario, a.Numero as  NumeroAssegno,  " +
           "a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Banca, a.ABI, a.CAB,  " +
           "a.NumeroConto, a.Trasferibile, a.Sbarrato, a.Importo, a.Causale,  " +
           "a.AssegnoNote, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica ";
}

ListDescriptor receivedDescriptor() {
    ListDescriptor s;
    s.formName = kFormName;
    s.caption = "Assegni Ricevuti";
    s.table = "AssegniRicevuti";
    s.keyColumn = "ASSEGNIRICEVUTIID";
    s.baseQuery = selectList() + "FROM AssegniRicevuti a, Anagrafica b, Anagrafica c " +
                  "WHERE a.ANAGRAFICAID = b.ANAGRAFICAID and a.firmatarioid = c.anagraficaid ";
    s.filter = &gFilterReceived;
    s.queryTail = " order by a.ASSEGNIRICEVUTIID ";
    s.aliases = {{"AssegnoNote*", "Note"}};
    s.printSkip = {0, 2, 17, 18};
    s.subtitleItalian = "Quorvel - Assegni ricevuti";
    s.subtitleEnglish = "Quorvel - Incoming cheques";
    // Endorsements and deposits go with their cheque, all or nothing.
    s.deleteStatements = {"DELETE From girate WHERE ASSEGNIRICEVUTIID = ",
                          "DELETE From versamenti WHERE ASSEGNIRICEVUTIID = ",
                          "DELETE From AssegniRicevuti WHERE ASSEGNIRICEVUTIID = "};
    s.reloadAfterDelete = true;
    return s;
}

}  // namespace

frmAssegniRicevuti::frmAssegniRicevuti()
    : ChequeListWindow(receivedDescriptor()),
      cmdGira(addAt<CommandButton>(480 + 5 * 1200, 840, 1095, 375, "cmdGira", "Gira")),
      cmdVersa(addAt<CommandButton>(480 + 6 * 1200, 840, 1095, 375, "cmdVersa", "Versa")),
      txtStatoAssegno(addAt<Label>(9120, 600, 4575, 735, "txtStatoAssegno", "Stato Assegno", true)) {
    setWidth(14200);
    setHeight(8400);
    CommandButton* buttons[] = {&cmdAdd, &cmdDelete, &cmdSelect, &cmdPrintGrid, &cmdClose};
    for (int i = 0; i < 5; ++i) buttons[i]->Move(480 + i * 1200, 840, 1095, 375);
    MSFlexGrid1.Move(480, 1440, 14200 - 960, 8400 - 2160);
    lblTotaleImporti.Move(480, 8400 - 500, 13000, 375);
    cmdGira.Click = [this] { cmdGira_Click(); };
    cmdVersa.Click = [this] { cmdVersa_Click(); };
    // Every way the current row can change refreshes the state line.
    MSFlexGrid1.KeyUp = [this](int k, int s) { MSFlexGrid1_KeyUp(k, s); };
    MSFlexGrid1.MouseDown = [this](int b, int s, float x, float y) { MSFlexGrid1_MouseDown(b, s, x, y); };
    MSFlexGrid1.MouseUp = [this](int b, int s, float x, float y) { MSFlexGrid1_MouseUp(b, s, x, y); };
    MSFlexGrid1.SelChange = [this] { MSFlexGrid1_SelChange(); };
}

void frmAssegniRicevuti::Form_Load() {
    txtStatoAssegno.setCaption("");
    ChequeListWindow::Form_Load();
}

void frmAssegniRicevuti::showEditor() {
    const bool editing = !gIsNew;
    Instance<frmEditAssegniRicevuti>::get().ShowModal();
    if (editing) ToggleGiraVersa();
}

void frmAssegniRicevuti::showFilter() {
    Instance<frmSelectAssegniRicevuti>::get().ShowModal();
    txtStatoAssegno.setCaption("");
}

void frmAssegniRicevuti::releaseInstance() { Instance<frmAssegniRicevuti>::release(); }

std::string frmAssegniRicevuti::rowQuery(std::int64_t key) const {
    return selectList() + "FROM AssegniRicevuti a, Anagrafica b, Anagrafica c  " + "WHERE ASSEGNIRICEVUTIID = " +
           sqlKey(key) + " AND " + "a.ANAGRAFICAID = b.ANAGRAFICAID  and a.firmatarioid = c.anagraficaid ";
}

std::string frmAssegniRicevuti::addedRowQuery(std::int64_t key) const {
    return selectList() + "FROM AssegniRicevuti a, Anagrafica b, anagrafica c " + "WHERE ASSEGNIRICEVUTIID = " +
           sqlKey(key) + " AND " + "a.ANAGRAFICAID = b.ANAGRAFICAID and a.firmatarioid=c.anagraficaid ";
}

void frmAssegniRicevuti::addGridRowFailed(const RuntimeError& e) {
    // A failure of the database has its own words, and one told is not told again.
    if (!gTrapErrors || e.told() || dbFailureText(e)) {
        ChequeListWindow::addGridRowFailed(e);
        return;
    }
    MyMsgBox("Error No: " + std::to_string(e.Number()) + " " + e.Description() + " in " + gCurrentProc, 48,
             "Quorvel");
    screen::setMousePointer(0);
}

bool frmAssegniRicevuti::deleteRecord() {
    if (!ChequeListWindow::deleteRecord()) return false;
    // The row still shows the cheque, which now has neither operation.
    ToggleGiraVersa();
    return true;
}

// ---------------------------------------------------------------- the cheque state

std::string frmAssegniRicevuti::neitherText() {
    return isEnglish() ? "Cheque neither endorsed nor deposited" : "Assegno non girato nè versato";
}

std::optional<std::string> frmAssegniRicevuti::readState(const std::string& proc, const std::string& query,
                                                         bool endorsement) {
    traceProc(kFormName, proc);
    try {
        OpenDb();
        resetRs();
        // A query that did not run has said so; its state is unknown, not "none".
        gRsOpen(query);
        std::string text;
        Recordset& rs = gRs();
        const bool en = isEnglish();
        if (!rs.isEOF() && endorsement) {
            text = en ? "Cheque endorsed " : "Assegno girato ";
            if (flagIsSet(rs.Fields("giratapiena").value())) text += en ? "(Full endorsement) " : "(Girata piena) ";
            text += en ? "to " : "a ";
            text += rs.Fields("cognome").value().str() + " " + rs.Fields("nome").value().str();
            const std::string date = trim(rs.Fields("datagirata").value().str());
            if (!date.empty()) text += (en ? " on " : " il ") + date;
            const std::string note = trim(rs.Fields("notegirata").value().str());
            if (!note.empty()) text += (en ? " (Notes: " : " (Note: ") + note + ")";
        } else if (!rs.isEOF()) {
            text = (en ? "Cheque deposited on " : "Assegno versato su ") + rs.Fields("descrizione").value().str();
            // The deposit date is shown as read, blanks included.
            const std::string date = rs.Fields("dataversamento").value().str();
            if (!date.empty()) text += (en ? " on " : " il ") + date;
            const std::string note = trim(rs.Fields("noteversamento").value().str());
            if (!note.empty()) text += (en ? " (Notes: " : " (Note: ") + note + ")";
        }
        rs.Close();
        resetRs();
        CloseDb();
        return text;
    } catch (const RuntimeError& e) {
        ignoreErrors([] {
            gRs().Close();
            resetRs();
        });
        reportRuntimeError(Owner::form(kFormName), proc, e);
        return std::nullopt;
    }
}

std::optional<std::string> frmAssegniRicevuti::getGiratoMessage(std::int64_t idass) {
    // The oldest endorsement first, so the line does not change between refreshes;
    // an endorsee who is no longer among the contacts does not count.
    return readState("getGiratoMessage",
                     std::string("select * from girate , assegniricevuti , anagrafica ") +
                         " where girate.assegniricevutiid=assegniricevuti.assegniricevutiid " +
                         " and girate.anagraficaid=anagrafica.anagraficaid " +
                         " and girate.assegniricevutiid=" + sqlKey(idass) + " order by girate.rowid ",
                     true);
}

std::optional<std::string> frmAssegniRicevuti::getVersatoMessage(std::int64_t idass) {
    return readState("getVersatoMessage",
                     std::string("select * from versamenti, assegniricevuti, mieiconticorrenti ") +
                         " where versamenti.assegniricevutiid=assegniricevuti.assegniricevutiid " +
                         " and versamenti.contocorrenteid=mieiconticorrenti.contocorrenteid " +
                         " and versamenti.assegniricevutiid=" + sqlKey(idass) + " order by versamenti.rowid ",
                     false);
}

std::optional<frmAssegniRicevuti::ChequeState> frmAssegniRicevuti::readChequeState(std::int64_t idass) {
    const auto girato = getGiratoMessage(idass);
    if (!girato) return std::nullopt;
    if (!girato->empty()) return ChequeState{*girato, true};
    const auto versato = getVersatoMessage(idass);
    if (!versato) return std::nullopt;
    if (!versato->empty()) return ChequeState{*versato, true};
    return ChequeState{neitherText(), false};
}

std::optional<std::int64_t> frmAssegniRicevuti::currentKey() {
    FlexGrid& g = MSFlexGrid1;
    if (g.Row() == 0 || g.Rows() == 1) return std::nullopt;
    return Value(g.TextMatrix(g.Row(), 0)).toLong();
}

void frmAssegniRicevuti::ToggleGiraVersa() {
    runProc(owner(), "ToggleGiraVersa", [this] {
        const auto key = currentKey();
        if (!key) {
            txtStatoAssegno.setCaption("");
            return;
        }
        mASSEGNIRICEVUTIID = *key;
        // A state that could not be read allows no new operation.
        const auto state = readChequeState(*key);
        const bool free = state && !state->hasOperation;
        cmdGira.setEnabled(free);
        cmdVersa.setEnabled(free);
        txtStatoAssegno.setCaption(state ? state->text : std::string());
    });
}

// ---------------------------------------------------------------- buttons and grid events

void frmAssegniRicevuti::cmdGira_Click() {
    runProc(owner(), "cmdGira_Click", [this] {
        const auto key = currentKey();
        if (!key) return;
        mASSEGNIRICEVUTIID = *key;
        Instance<frmEditGirate>::get().ShowModal();
        ToggleGiraVersa();
    });
}

void frmAssegniRicevuti::cmdVersa_Click() {
    runProc(owner(), "cmdVersa_Click", [this] {
        const auto key = currentKey();
        if (!key) return;
        mASSEGNIRICEVUTIID = *key;
        Instance<frmEditVersamenti>::get().ShowModal();
        ToggleGiraVersa();
    });
}

void frmAssegniRicevuti::MSFlexGrid1_KeyUp(int, int) {
    runProc(owner(), "MSFlexGrid1_KeyUp", [this] { ToggleGiraVersa(); });
}

void frmAssegniRicevuti::MSFlexGrid1_MouseDown(int button, int shift, float x, float y) {
    ChequeListWindow::MSFlexGrid1_MouseDown(button, shift, x, y);
    if (MSFlexGrid1.Rows() >= 2) ToggleGiraVersa();
}

void frmAssegniRicevuti::MSFlexGrid1_MouseUp(int button, int shift, float x, float y) {
    ChequeListWindow::MSFlexGrid1_MouseUp(button, shift, x, y);
    if (MSFlexGrid1.Rows() >= 2) ToggleGiraVersa();
}

void frmAssegniRicevuti::MSFlexGrid1_SelChange() {
    ChequeListWindow::MSFlexGrid1_SelChange();
    if (MSFlexGrid1.Rows() >= 2) ToggleGiraVersa();
}

}  // namespace qv
