#include "registers/frmTipologiaPersone.h"

#include "core/globals.h"
#include "registers/frmEditTipologiaPersone.h"
#include "registers/frmSelectTipologiaPersone.h"

namespace qv {

namespace {
ListDescriptor typesDescriptor() {
    ListDescriptor s;
    s.formName = "frmTipologiaPersone";
    s.caption = "Tipologia Record Anagrafica";
    s.table = "TipologiaPersone";
    s.keyColumn = "TIPOLOGIAID";
    s.baseQuery =
        "SELECT a.TIPOLOGIAID, a.Tipologia, a.DateTimeCreated as DataCreazione, a.DateTimeLastUpdated as "
        "DataUltimaModifica "
        "FROM TipologiaPersone a ";
    s.filter = &gFilterTypes;
    s.printSkip = {0, 2, 3};
    s.subtitleItalian = "Quorvel - Tipologie anagrafica";
    s.subtitleEnglish = "Quorvel - Contact types";
    s.deleteRefs = {{"anagrafica", "tipologiaid"}};
    s.deleteRefusal = "Impossibile eliminare il record: ci sono record collegati nell'anagrafica";
    s.deleteStatements = {"DELETE From TipologiaPersone WHERE TIPOLOGIAID = "};
    return s;
}
}  // namespace

frmTipologiaPersone::frmTipologiaPersone() : ListWindow(typesDescriptor()) {}

void frmTipologiaPersone::showEditor() { Instance<frmEditTipologiaPersone>::get().ShowModal(); }
void frmTipologiaPersone::showFilter() { Instance<frmSelectTipologiaPersone>::get().ShowModal(); }
void frmTipologiaPersone::releaseInstance() { Instance<frmTipologiaPersone>::release(); }

}  // namespace qv
