// The lists that show amounts: money cells, flag words and the total line
// under the grid (the two cheque lists and the report result window).
#pragma once

#include <utility>
#include <vector>

#include "lists/amounts.h"
#include "lists/listwindow.h"

namespace qv {

class ChequeListWindow : public ListWindow {
public:
    explicit ChequeListWindow(ListDescriptor desc);

    Label& lblTotaleImporti;
    // The sum of the listed amounts of the last fill.
    double total() const { return total_; }

protected:
    bool formatsField(const std::string& fieldName) const override;
    std::string cellText(const std::string& fieldName, const Value& value) override;
    void beginFill() override;
    void endFill() override;
    void printAfterGrid() override;
    void resizeExtra() override;

private:
    // What a field's cells show, decided once per field and fill.
    struct FieldKind {
        std::string name;
        bool money, flag;
    };
    const FieldKind& kindOf(const std::string& fieldName);
    const std::string& flagFor(const std::string& text);

    double total_ = 0;
    MoneyFormat money_;
    std::vector<FieldKind> kinds_;
    // The flag words of this fill by stored text ("0", "1", "-1", "").
    std::vector<std::pair<std::string, std::string>> flagWords_;
};

}  // namespace qv
