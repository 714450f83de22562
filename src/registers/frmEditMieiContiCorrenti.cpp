#include "registers/frmEditMieiContiCorrenti.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/sqlhelpers.h"
#include "core/translation.h"
#include "registers/frmMieiContiCorrenti.h"

namespace qv {

frmEditMieiContiCorrenti::frmEditMieiContiCorrenti()
    : EditorWindow("frmEditMieiContiCorrenti", "I Miei Conti Correnti", 7000, 4500),
      txtBanca(field(1, "Banca", "Banca")),
      txtABI(field(2, "ABI", "ABI")),
      txtCAB(field(3, "CAB", "CAB")),
      txtNumeroConto(field(4, "NumeroConto", "Numero di Conto Corrente")),
      txtIntestatari(field(5, "Intestatari", "Intestatari")),
      txtDescrizione(field(0, "Descrizione", "Descrizione")) {}

TextBox& frmEditMieiContiCorrenti::field(int line, const std::string& suffix, const std::string& caption) {
    const int top = 720 + line * 480;
    TextBox& input = addAt<TextBox>(2760, top, 3960, 315, "txt" + suffix);
    addAt<Label>(240, top + 30, 2400, 255, "lbl" + suffix, caption);
    return input;
}

ListWindow& frmEditMieiContiCorrenti::list() { return Instance<frmMieiContiCorrenti>::get(); }
void frmEditMieiContiCorrenti::releaseInstance() { Instance<frmEditMieiContiCorrenti>::release(); }

void frmEditMieiContiCorrenti::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        txtDescrizione.SetFocus();
        txtDescrizione.sendEnd();
    });
}

void frmEditMieiContiCorrenti::loadInputs() {
    if (gIsNew) return;
    resetRs();
    gRsOpen("SELECT a.CONTOCORRENTEID, a.Descrizione, a.Banca, a.ABI, a.CAB, a.NumeroConto,  "
            "a.Intestatari, a.DateTimeCreated, a.DateTimeLastUpdated "
            "FROM MieiContiCorrenti a "
            "WHERE CONTOCORRENTEID = " +
            sqlKey(list().mKey) + " ");
    Recordset& rs = gRs();
    if (!rs.isEOF()) {
        txtDescrizione.setText(rs.Fields("Descrizione").value().str());
        txtBanca.setText(rs.Fields("Banca").value().str());
        txtABI.setText(rs.Fields("ABI").value().str());
        txtCAB.setText(rs.Fields("CAB").value().str());
        txtNumeroConto.setText(rs.Fields("NumeroConto").value().str());
        txtIntestatari.setText(rs.Fields("Intestatari").value().str());
    }
    rs.Close();
    resetRs();
}

bool frmEditMieiContiCorrenti::checks() {
    const std::string descrizione = trim(txtDescrizione.Text());
    if (descrizione.empty()) return refuse("Inserire la descrizione");
    if (trim(txtBanca.Text()).empty()) return refuse("Inserire il nome della banca");
    // The bank and branch codes are Italian: outside Italian mode they are free text.
    const std::string abi = trim(txtABI.Text());
    if (!isEnglish() && abi.empty()) return refuse("Inserire il codice ABI");
    if (const std::string m = checkABICAB(abi, "ABI"); !m.empty()) return refuse(m);
    const std::string cab = trim(txtCAB.Text());
    if (!isEnglish() && cab.empty()) return refuse("Inserire il codice CAB");
    if (const std::string m = checkABICAB(cab, "CAB"); !m.empty()) return refuse(m);
    if (trim(txtNumeroConto.Text()).empty()) return refuse("Inserire il numero di conto corrente");
    const Check exists =
        gIsNew ? esisteRecord("mieiconticorrenti", "descrizione", descrizione, "S")
               : esisteRecord("mieiconticorrenti", "descrizione", descrizione, "S", "contocorrenteid",
                              sqlKey(list().mKey));
    if (!exists) return false;   // the check failed and said so
    if (*exists) return refuse("Il record già esiste");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditMieiContiCorrenti::columnValues() {
    return {{"Descrizione", sqlTextValue(txtDescrizione.Text())},
            {"Banca", sqlTextValue(txtBanca.Text())},
            {"ABI", sqlTextValue(txtABI.Text())},
            {"CAB", sqlTextValue(txtCAB.Text())},
            {"NumeroConto", sqlTextValue(txtNumeroConto.Text())},
            {"Intestatari", sqlTextValue(txtIntestatari.Text())}};
}

}  // namespace qv
