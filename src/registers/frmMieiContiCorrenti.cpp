#include "registers/frmMieiContiCorrenti.h"

#include "core/globals.h"
#include "registers/frmEditMieiContiCorrenti.h"
#include "registers/frmSelectMieiContiCorrenti.h"

namespace qv {

namespace {
ListDescriptor accountsDescriptor() {
    ListDescriptor s;
    s.formName = "frmMieiContiCorrenti";
    s.caption = "I Miei Conti Correnti";
    s.table = "MieiContiCorrenti";
    s.keyColumn = "CONTOCORRENTEID";
    s.baseQuery =
        "SELECT a.CONTOCORRENTEID, a.Descrizione, a.Banca, a.ABI, a.CAB, a.NumeroConto,  "
        "a.Intestatari, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as DataUltimaModifica "
        "FROM MieiContiCorrenti a ";
    s.filter = &gFilterAccounts;
    s.variantA = true;
    s.printSkip = {0, 7, 8};
    s.subtitleItalian = "Quorvel - Conti correnti";
    s.subtitleEnglish = "Quorvel - Bank accounts";
    // Cheques drawn on the account, and deposits into it.
    s.deleteRefs = {{"AssegniEmessi", "contocorrenteid"}, {"versamenti", "contocorrenteid"}};
    s.deleteRefusal = "Impossibile eliminare il record. Esistono assegni collegati.";
    s.deleteStatements = {"DELETE From MieiContiCorrenti WHERE CONTOCORRENTEID = "};
    return s;
}
}  // namespace

frmMieiContiCorrenti::frmMieiContiCorrenti() : ListWindow(accountsDescriptor()) {}

void frmMieiContiCorrenti::showEditor() { Instance<frmEditMieiContiCorrenti>::get().ShowModal(); }
void frmMieiContiCorrenti::showFilter() { Instance<frmSelectMieiContiCorrenti>::get().ShowModal(); }
void frmMieiContiCorrenti::releaseInstance() { Instance<frmMieiContiCorrenti>::release(); }

}  // namespace qv
