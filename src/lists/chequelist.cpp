#include "lists/chequelist.h"

#include "core/printpreview.h"
#include "core/sqlhelpers.h"
#include "lists/amounts.h"

namespace qv {

ChequeListWindow::ChequeListWindow(ListSpec spec)
    : ListWindow(std::move(spec)),
      lblTotaleImporti(addAt<Label>(120, 6700, 10000, 375, "lblTotaleImporti", "Importo Totale", true)) {}

bool ChequeListWindow::formatsField(const std::string& fieldName) const {
    return likePattern(fieldName, "Importo*") || isBooleanField(fieldName);
}

std::string ChequeListWindow::cellText(const std::string& fieldName, const Value& value) {
    std::string text;
    if (likePattern(fieldName, "Importo*")) {
        // Summed from the stored value, never from the formatted cell.
        const double amount = value.toDouble();
        total_ += amount;
        text = moneyCell(amount);
    } else {
        text = value.str();
    }
    if (isBooleanField(fieldName)) text = flagWord(Value(text));
    return text;
}

void ChequeListWindow::endFill() { lblTotaleImporti.setCaption(totalLine(total_)); }

void ChequeListWindow::printAfterGrid() { printString(formattaPerStampa(lblTotaleImporti.Caption()), web); }

void ChequeListWindow::resizeExtra() { lblTotaleImporti.setTop(Height() - 500); }

}  // namespace qv
