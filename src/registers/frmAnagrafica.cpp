#include "registers/frmAnagrafica.h"

#include "core/database.h"
#include "core/globals.h"
#include "registers/frmEditAnagrafica.h"
#include "registers/frmSelectAnagrafica.h"

namespace qv {

namespace {
// The columns after the first line, shared by the list and the row queries.
const char* const kContactColumns =
    "a.Indirizzo, a.CAP, a.Comune, a.Provincia, a.TelefonoCasa, a.TelefonoUfficio,  "
    "a.Fax, a.Cellulare, a.CFIva, a.Email, a.SitoWeb, a.NoteAnagrafica, a.DateTimeCreated as DataCreazione,  "
    "a.DateTimeLastUpdated as DataUltimaModifica "
    "FROM Anagrafica a, TipologiaPersone b ";

ListDescriptor contactsDescriptor() {
    ListDescriptor s;
    s.formName = "frmAnagrafica";
    s.caption = "Anagrafica";
    s.table = "Anagrafica";
    s.keyColumn = "ANAGRAFICAID";
    s.baseQuery = std::string("SELECT  a.ANAGRAFICAID, a.TIPOLOGIAID, b.Tipologia, a.cogNome as CognomeRagioneSociale, "
                              "a.Nome ,  ") +
                  kContactColumns + "WHERE a.TIPOLOGIAID = b.TIPOLOGIAID ";
    s.filter = &gFilterContacts;
    s.aliases = {{"Cognome*", "Cognome / Ragione Sociale"},
                 {"CFIva*", "Codice Fiscale / Partita IVA"},
                 {"NoteAnagrafica*", "Note"},
                 {"Email*", "E-mail"}};
    s.printSkip = {0, 1, 17, 18};
    s.subtitleItalian = "Quorvel - Anagrafica";
    s.subtitleEnglish = "Quorvel - Contacts";
    // Payee of an issued or received cheque, signer of a received one.
    // Endorsements are not looked at.
    s.deleteRefs = {{"AssegniEmessi", "anagraficaID"},
                    {"AssegniRicevuti", "anagraficaID"},
                    {"AssegniRicevuti", "firmatarioID"}};
    s.deleteRefusal = "Impossibile eliminare il record. Esistono assegni collegati.";
    s.deleteStatements = {"DELETE From Anagrafica WHERE ANAGRAFICAID = "};
    return s;
}
}  // namespace

frmAnagrafica::frmAnagrafica() : ListWindow(contactsDescriptor()) {}

std::string frmAnagrafica::rowQuery(std::int64_t key) const {
    return std::string("SELECT  a.ANAGRAFICAID, a.TIPOLOGIAID, b.Tipologia, a.cogNome as CognomeRagioneSociale, "
                       "a.Nome,  ") +
           kContactColumns + "WHERE ANAGRAFICAID = " + sqlKey(key) + " AND " + "a.TIPOLOGIAID = b.TIPOLOGIAID ";
}

void frmAnagrafica::afterWidths(const std::vector<std::string>&) {
    // The contact's and its type's keys stay hidden whatever their headers say.
    MSFlexGrid1.setColWidth(0, 0);
    MSFlexGrid1.setColWidth(1, 0);
}

void frmAnagrafica::showEditor() { Instance<frmEditAnagrafica>::get().ShowModal(); }
void frmAnagrafica::showFilter() { Instance<frmSelectAnagrafica>::get().ShowModal(); }
void frmAnagrafica::releaseInstance() { Instance<frmAnagrafica>::release(); }

}  // namespace qv
