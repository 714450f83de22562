#include "lists/windowhelpers.h"

#include "core/database.h"
#include "core/msgbox.h"
#include "lists/amounts.h"

namespace qv {

void selectHomeEnd(ComboBox& combo, int keyCode) {
    if (combo.ListCount() == 0) return;   // an empty list has no first or last item
    if (keyCode == 35) combo.setListIndex(combo.ListCount() - 1);
    if (keyCode == 36) combo.setListIndex(0);
}

void keepChosenKey(const ComboBox& combo, std::int64_t& key) {
    if (combo.ListIndex() != -1) key = combo.ItemData(combo.ListIndex());
}

bool flagIsSet(const Value& v) {
    if (v.isNull()) return false;
    const auto n = parsePlainNumber(trim(v.str()));
    return n && *n != 0;
}

std::string contactItemText() {
    Recordset& rs = gRs();
    return rs.Fields("cognome").value().str() + " " + rs.Fields("nome").value().str();
}

bool refuseBadDate(const Control& field, const std::string& message) {
    if (parseDateInput(field.Text())) return false;
    MyMsgBox(message, 48, "Quorvel");
    return true;
}

std::string chequeBoundsRefusal(const TextBox& dateFrom, const TextBox& dateTo, const TextBox& amountFrom,
                                const TextBox& amountTo) {
    auto given = [](const TextBox& t) { return !trim(t.Text()).empty(); };
    if (given(dateFrom) && !parseDateInput(dateFrom.Text())) return "Formato della data di partenza non valido";
    if (given(dateTo) && !parseDateInput(dateTo.Text())) return "Formato della data di arrivo non valido";
    if (given(amountFrom) && !parseAmount(amountFrom.Text())) return "Formato dell'importo minimo non valido";
    if (given(amountTo) && !parseAmount(amountTo.Text())) return "Formato dell'importo massimo non valido";
    return {};
}

}  // namespace qv
