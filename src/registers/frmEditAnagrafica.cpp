#include "registers/frmEditAnagrafica.h"

#include <optional>

#include "core/database.h"
#include "core/formprep.h"
#include "core/globals.h"
#include "core/sqlhelpers.h"
#include "lists/windowhelpers.h"
#include "registers/frmAnagrafica.h"

namespace qv {

frmEditAnagrafica::frmEditAnagrafica()
    : ContactInputs(4800, "frmEditAnagrafica", "Anagrafica", 8100, 7800) {
    cboTipologia.Change = [this] { cboTipologia_Change(); };
    cboTipologia.KeyUp = [this](int k, int s) { cboTipologia_KeyUp(k, s); };
}

ListWindow& frmEditAnagrafica::list() { return Instance<frmAnagrafica>::get(); }
void frmEditAnagrafica::releaseInstance() { Instance<frmEditAnagrafica>::release(); }

void frmEditAnagrafica::prepare() {
    DisattivaTabstop(Controls());
    CenterForm(*this);
    OpenDb();
}

void frmEditAnagrafica::loadInputs() {
    std::optional<std::int64_t> heldType;
    if (!gIsNew) {
        resetRs();
        gRsOpen("SELECT a.ANAGRAFICAID, a.TIPOLOGIAID, b.Tipologia, a.Nome, a.Cognome,  "
                "a.Indirizzo, a.CAP, a.Comune, a.Provincia, a.TelefonoCasa, a.TelefonoUfficio,  "
                "a.Fax, a.Cellulare, a.CFIva, a.Email, a.SitoWeb, a.NoteAnagrafica, a.DateTimeCreated,  "
                "a.DateTimeLastUpdated "
                "FROM Anagrafica a, TipologiaPersone b "
                "WHERE ANAGRAFICAID = " +
                sqlKey(list().mKey) + " AND " + "a.TIPOLOGIAID = b.TIPOLOGIAID ");
        Recordset& rs = gRs();
        if (!rs.isEOF()) {
            heldType = parseWholeNumber(rs.Fields("TIPOLOGIAID").value().str());
            for (std::size_t i = 0; i < kContactDetails.size(); ++i)
                detailInput(i).setText(rs.Fields(kContactDetails[i].column).value().str());
        }
        rs.Close();
        resetRs();
    }
    if (fillCombo(cboTipologia, kContactTypesQuery, heldType.value_or(-1))) idDelTipoAnag = *heldType;
    if (gIsNew) idDelTipoAnag = -1;
}

void frmEditAnagrafica::cboTipologia_Change() {
    runProc(owner(), "cboTipologia_Change", [this] { keepChosenKey(cboTipologia, idDelTipoAnag); });
}

void frmEditAnagrafica::cboTipologia_KeyUp(int keyCode, int) {
    guardProc(owner(), "cboTipologia_KeyUp", [&] { selectHomeEnd(cboTipologia, keyCode); });
}

bool frmEditAnagrafica::checks() {
    if (cboTipologia.ListIndex() == -1 || idDelTipoAnag == -1) return refuse("Selezionare la tipologia");
    const std::string cognome = trim(txtCognome.Text());
    if (cognome.empty()) return refuse("Inserire il cognome o la ragione sociale");
    const std::string cap = trim(txtCAP.Text());
    if (!cap.empty())
        if (const std::string m = checkABICAB(cap, "di avviamento postale"); !m.empty()) return refuse(m);
    // Two contacts may share a surname, not surname and name; a blank name is
    // stored as Null and so matches only another contact without a name.
    const std::string nome = trim(txtNome.Text());
    const std::string nameCondition = nome.empty() ? "is Null" : "='" + Pad(nome) + "'";
    std::string sql = "select count(*) as conteggio from anagrafica where nome " + nameCondition +
                      " and cognome='" + Pad(cognome);
    sql += gIsNew ? std::string("'") : "' and anagraficaid<>" + sqlKey(list().mKey);
    const Check exists = esisteRecordSQL(sql);
    if (!exists) return false;   // the check failed and said so
    if (*exists) return refuse("Il record già esiste");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditAnagrafica::columnValues() {
    std::vector<std::pair<std::string, std::string>> values{{"TIPOLOGIAID", sqlKey(idDelTipoAnag)}};
    for (std::size_t i = 0; i < kContactDetails.size(); ++i)
        values.emplace_back(kContactDetails[i].column, sqlTextValue(detailInput(i).Text()));
    return values;
}

}  // namespace qv
