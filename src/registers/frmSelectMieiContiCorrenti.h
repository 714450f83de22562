// The own bank accounts filter: six text criteria joined by AND or OR.
#pragma once

#include "lists/filterwindow.h"

namespace qv {

class frmSelectMieiContiCorrenti : public FilterWindow {
public:
    frmSelectMieiContiCorrenti();
    void Form_Activate() override;

    // In the window's control order, which is also the order of its printout.
    TextBox& txtBanca;
    TextBox& txtABI;
    TextBox& txtCAB;
    TextBox& txtNumeroConto;
    TextBox& txtIntestatario;
    TextBox& txtDescrizione;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;

private:
    TextBox& field(int line, const std::string& suffix, const std::string& caption);
};

}  // namespace qv
