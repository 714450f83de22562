// The contacts filter: the type and fourteen text criteria joined by AND or OR.
#pragma once

#include "lists/filterwindow.h"
#include "registers/contactinputs.h"

namespace qv {

class frmSelectAnagrafica : public ContactInputs<FilterWindow> {
public:
    frmSelectAnagrafica();

protected:
    ListWindow& list() override;
    void releaseInstance() override;
    std::string& filterText() override;
    void fillCombos() override;
};

}  // namespace qv
