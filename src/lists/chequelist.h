// The lists that show amounts: money cells, flag words and the total line
// under the grid (the two cheque lists and the report result window).
#pragma once

#include "lists/listwindow.h"

namespace qv {

class ChequeListWindow : public ListWindow {
public:
    explicit ChequeListWindow(ListSpec spec);

    Label& lblTotaleImporti;
    // The sum of the listed amounts of the last fill.
    double total() const { return total_; }

protected:
    bool formatsField(const std::string& fieldName) const override;
    std::string cellText(const std::string& fieldName, const Value& value) override;
    void beginFill() override { total_ = 0; }
    void endFill() override;
    void printAfterGrid() override;
    void resizeExtra() override;

private:
    double total_ = 0;
};

}  // namespace qv
