// The contact types filter: one criterion, the type's name.
#pragma once

#include "lists/filterwindow.h"

namespace qv {

class frmSelectTipologiaPersone : public FilterWindow {
public:
    frmSelectTipologiaPersone();
    void Form_Activate() override;

    Label& lblTipologia;
    TextBox& txtTipologia;

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;
};

}  // namespace qv
