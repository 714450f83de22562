#include "lists/chequelist.h"

#include "core/printpreview.h"
#include "core/sqlhelpers.h"
#include "lists/amounts.h"

namespace qv {

ChequeListWindow::ChequeListWindow(ListDescriptor desc)
    : ListWindow(std::move(desc)),
      lblTotaleImporti(addAt<Label>(120, 6700, 10000, 375, "lblTotaleImporti", "Importo Totale", true)) {}

bool ChequeListWindow::formatsField(const std::string& fieldName) const {
    return likePattern(fieldName, "Importo*") || isBooleanField(fieldName);
}

void ChequeListWindow::beginFill() {
    total_ = 0;
    // The locale and the language are read once per fill, not once per cell.
    money_ = MoneyFormat();
    kinds_.clear();
    flagWords_.clear();
}

const ChequeListWindow::FieldKind& ChequeListWindow::kindOf(const std::string& fieldName) {
    for (const auto& k : kinds_)
        if (k.name == fieldName) return k;
    kinds_.push_back({fieldName, likePattern(fieldName, "Importo*"), isBooleanField(fieldName)});
    return kinds_.back();
}

const std::string& ChequeListWindow::flagFor(const std::string& text) {
    for (const auto& [stored, word] : flagWords_)
        if (stored == text) return word;
    std::string word = flagWord(Value(text));
    // A text that is no number has shown its error and gives no word: it is
    // not kept, so each such cell reports itself as before.
    if (word.empty() && !trim(text).empty()) {
        static const std::string none;
        return none;
    }
    flagWords_.emplace_back(text, std::move(word));
    return flagWords_.back().second;
}

std::string ChequeListWindow::cellText(const std::string& fieldName, const Value& value) {
    const FieldKind& kind = kindOf(fieldName);
    std::string text;
    if (kind.money) {
        // Summed from the stored value, never from the formatted cell.
        const double amount = value.toDouble();
        total_ += amount;
        text = money_.cell(amount);
    } else {
        text = value.str();
    }
    if (kind.flag) text = flagFor(text);
    return text;
}

void ChequeListWindow::endFill() {
    // A list that could not be read has no total: a zero would say the register is empty.
    lblTotaleImporti.setCaption(fillFailed() && MSFlexGrid1.Rows() == 1 ? std::string() : totalLine(total_));
}

void ChequeListWindow::printAfterGrid() { printString(formattaPerStampa(lblTotaleImporti.Caption()), web); }

void ChequeListWindow::resizeExtra() { lblTotaleImporti.setTop(Height() - 500); }

}  // namespace qv
