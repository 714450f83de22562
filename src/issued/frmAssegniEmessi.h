// The issued cheques list: the cheques drawn on the user's own accounts, with
// money cells, flag words and the total line of the listed amounts.
#pragma once

#include "lists/chequelist.h"

namespace qv {

class frmAssegniEmessi : public ChequeListWindow {
public:
    frmAssegniEmessi();
    std::int64_t& mASSEGNIEMESSIID = mKey;

protected:
    std::string rowQuery(std::int64_t key) const override;
    void showEditor() override;
    void showFilter() override;
    void releaseInstance() override;
};

}  // namespace qv
