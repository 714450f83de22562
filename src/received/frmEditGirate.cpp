#include "received/frmEditGirate.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/sqlhelpers.h"
#include "core/translation.h"
#include "lists/amounts.h"
#include "lists/windowhelpers.h"
#include "received/frmAssegniRicevuti.h"

namespace qv {

std::string sqlOperationDate(const std::string& typed) {
    const std::string t = trim(typed);
    if (t.empty()) return "Null";
    const auto day = parseDateInput(t);
    if (!day) throw RuntimeError(kErrTypeMismatch);
    return "'" + FormattaData(*day) + "'";
}

std::string joinOperationValues(const std::vector<std::pair<std::string, std::string>>& columnValues) {
    std::string values;
    for (std::size_t i = 0; i < columnValues.size(); ++i) {
        if (i > 0) values += std::string(", ") + " ";
        values += columnValues[i].second;
    }
    return values;
}

frmEditGirate::frmEditGirate()
    : EditorWindow("frmEditGirate", "Gira Assegno Ricevuto", 6840, 3000),
      cboNome(addAt<ComboBox>(2760, 660, 3975, 315, "cboNome")),
      lblDataGirata(addAt<Label>(240, 1440, 2400, 315, "lblDataGirata", "Data Girata")),
      txtNote(addAt<TextBox>(2760, 1845, 3975, 315, "txtNote")),
      lblNote(addAt<Label>(240, 1845, 2400, 315, "lblNote", "Note")),
      chkGirataPiena(addAt<CheckBox>(1800, 1080, 1215, 315, "chkGirataPiena", "Girata Piena")),
      lblNome(addAt<Label>(240, 660, 2400, 315, "lblNome", "Benificiario")),
      txtDataGirata(addAt<DateField>(2760, 1440, 3975, 315, "txtDataGirata")) {
    chkGirataPiena.setValue(1);
    cmdOK.Move(3000, 2325, 1095, 375);
    cmdCancel.Move(4200, 2325, 1095, 375);
    cmdPrint.Move(5400, 2325, 1095, 375);
    cboNome.KeyUp = [this](int k, int s) { cboNome_KeyUp(k, s); };
}

ListWindow& frmEditGirate::list() { return Instance<frmAssegniRicevuti>::get(); }
void frmEditGirate::releaseInstance() { Instance<frmEditGirate>::release(); }

void frmEditGirate::prepare() {
    DisattivaTabstop(Controls());
    CenterForm(*this);
    OpenDb();
}

void frmEditGirate::loadInputs() {
    fillCombo(cboNome, "SELECT ANAGRAFICAID,cognome, Nome FROM Anagrafica order by cognome, nome ", -1,
              contactItemText);
}

void frmEditGirate::Form_Activate() {
    runProc(owner(), "Form_Activate", [this] {
        if (isEnglish()) {
            chkGirataPiena.setWidth(1500);
            chkGirataPiena.setLeft(1450);
        }
        txtDataGirata.setToday();
    });
}

void frmEditGirate::cboNome_KeyUp(int keyCode, int) {
    runProc(owner(), "cboNome_KeyUp", [&] { selectHomeEnd(cboNome, keyCode); });
}

bool frmEditGirate::checks() {
    if (cboNome.ListIndex() == -1) return refuse("Selezionare il beneficiario");
    if (!trim(txtDataGirata.Text()).empty() && !parseDateInput(txtDataGirata.Text()))
        return refuse("Formato della data di girata non valido");
    return true;
}

std::vector<std::pair<std::string, std::string>> frmEditGirate::columnValues() {
    const auto& l = static_cast<frmAssegniRicevuti&>(list());
    return {
        {"ASSEGNIRICEVUTIID", sqlKey(l.mASSEGNIRICEVUTIID)},
        {"ANAGRAFICAID", sqlKey(cboNome.ItemData(cboNome.ListIndex()))},
        {"GirataPiena", std::to_string(chkGirataPiena.Value())},
        {"DataGirata", sqlOperationDate(txtDataGirata.Text())},
        {"DateTimeCreated", sqlStamp()},
        {"notegirata", sqlTextValue(txtNote.Text())},
    };
}

std::string frmEditGirate::saveStatement() {
    const std::string values = joinOperationValues(columnValues());
    return std::string("INSERT INTO Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, ") +
           "DataGirata, DateTimeCreated,notegirata) " + "VALUES (" + values + ")" + " ";
}

}  // namespace qv
