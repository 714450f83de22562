#include "received/frmEditVersamenti.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/sqlhelpers.h"
#include "lists/amounts.h"
#include "received/frmAssegniRicevuti.h"
#include "received/frmEditGirate.h"

namespace qv {

frmEditVersamenti::frmEditVersamenti()
    : EditorWindow("frmEditVersamenti", "Versa Assegno Ricevuto", 7200, 2640),
      cboDescrizione(addAt<ComboBox>(3120, 660, 3735, 315, "cboDescrizione")),
      lblDataVersamento(addAt<Label>(240, 1080, 2760, 315, "lblDataVersamento", "Data Versamento")),
      txtNote(addAt<TextBox>(3120, 1440, 3735, 315, "txtNote")),
      lblNote(addAt<Label>(240, 1440, 2760, 315, "lblNote", "Note")),
      lblDescrizione(addAt<Label>(240, 660, 2760, 315, "lblDescrizione", "Conto Corrente")),
      txtDataVersamento(addAt<DateField>(3120, 1080, 3735, 315, "txtDataVersamento")) {
    cmdOK.Move(3360, 1920, 1095, 375);
    cmdCancel.Move(4560, 1920, 1095, 375);
    cmdPrint.Move(5760, 1920, 1095, 375);
}

ListWindow& frmEditVersamenti::list() { return Instance<frmAssegniRicevuti>::get(); }
void frmEditVersamenti::releaseInstance() { Instance<frmEditVersamenti>::release(); }

void frmEditVersamenti::prepare() {
    DisattivaTabstop(Controls());
    // Today once, at load: the deposit window has no activation step.
    txtDataVersamento.setToday();
    CenterForm(*this);
    OpenDb();
}

void frmEditVersamenti::loadInputs() {
    fillCombo(cboDescrizione, "SELECT CONTOCORRENTEID, Descrizione FROM MieiContiCorrenti order by descrizione ");
}

bool frmEditVersamenti::checks() {
    if (cboDescrizione.ListIndex() == -1) return refuse("Selezionare il Conto Corrente");
    if (!trim(txtDataVersamento.Text()).empty() && !parseDateInput(txtDataVersamento.Text()))
        return refuse("Formato della data di versamento non valido");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditVersamenti::columnValues() {
    const auto& l = static_cast<frmAssegniRicevuti&>(list());
    return {
        {"ASSEGNIRICEVUTIID", sqlKey(l.mASSEGNIRICEVUTIID)},
        {"CONTOCORRENTEID", sqlKey(cboDescrizione.ItemData(cboDescrizione.ListIndex()))},
        {"DataVersamento", sqlOperationDate(txtDataVersamento.Text())},
        {"noteversamento", sqlTextValue(txtNote.Text())},
        {"DateTimeCreated", sqlStamp()},
    };
}

std::string frmEditVersamenti::saveStatement() {
    const std::string values = joinOperationValues(columnValues());
    return std::string("INSERT INTO Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento, ") +
           "noteversamento,DateTimeCreated) " + "VALUES (" + values + ")" + " ";
}

}  // namespace qv
