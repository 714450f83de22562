#include "issued/frmAssegniEmessi.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/sqlhelpers.h"
#include "issued/frmEditAssegniEmessi.h"
#include "issued/frmSelectAssegniEmessi.h"

namespace qv {

namespace {
// The payee as one text: surname, a blank, name.
std::string payee() { return concatSql("c.cognome", "' '", "c.Nome"); }

ListDescriptor issuedDescriptor() {
    ListDescriptor s;
    s.formName = "frmAssegniEmessi";
    s.caption = "Assegni Emessi";
    s.table = "AssegniEmessi";
    s.keyColumn = "ASSEGNIEMESSIID";
    s.baseQuery = std::string("SELECT") +
                  " a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione as ContoCorrente, a.ANAGRAFICAID, " +
                  payee() + " as Beneficiario,  " +
                  "a.Numero as NumeroAssegno, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  " +
                  "a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated as DataCreazione,  " +
                  "a.DateTimeLastUpdated as DataUltimaModifica " +
                  "FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c " +
                  "WHERE a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID ";
    s.filter = &gFilterIssued;
    s.queryTail = " order by a.ASSEGNIEMESSIID ";
    s.aliases = {{"AssegnoNote*", "Note"}};
    s.printSkip = {0, 1, 3, 14, 15};
    s.subtitleItalian = "Quorvel - Assegni emessi";
    s.subtitleEnglish = "Quorvel - Outgoing cheques";
    // No other table refers to an issued cheque: no reference check.
    s.deleteStatements = {"DELETE From AssegniEmessi WHERE ASSEGNIEMESSIID = "};
    s.reloadAfterDelete = true;
    return s;
}
}  // namespace

frmAssegniEmessi::frmAssegniEmessi() : ChequeListWindow(issuedDescriptor()) {}

std::string frmAssegniEmessi::rowQuery(std::int64_t key) const {
    return std::string("SELECT") +
           " a.ASSEGNIEMESSIID, a.CONTOCORRENTEID, b.Descrizione as ContoCorrente, a.ANAGRAFICAID, " + payee() +
           " as Beneficiario,  " + "a.Numero, a.DataAssegno, a.LuogoEmissione, a.SuPiazza, a.Trasferibile,  " +
           "a.Sbarrato, a.Importo, a.Causale, a.AssegnoNote, a.DateTimeCreated as DataCreazione,  " +
           "a.DateTimeLastUpdated as DataUltimaModifica " + "FROM AssegniEmessi a, MieiContiCorrenti b, Anagrafica c " +
           "WHERE ASSEGNIEMESSIID = " + sqlKey(key) + " AND " +
           "a.CONTOCORRENTEID = b.CONTOCORRENTEID AND a.ANAGRAFICAID = c.ANAGRAFICAID ";
}

void frmAssegniEmessi::showEditor() { Instance<frmEditAssegniEmessi>::get().ShowModal(); }
void frmAssegniEmessi::showFilter() { Instance<frmSelectAssegniEmessi>::get().ShowModal(); }
void frmAssegniEmessi::releaseInstance() { Instance<frmAssegniEmessi>::release(); }

}  // namespace qv
