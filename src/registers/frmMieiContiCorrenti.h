// The own bank accounts list.
#pragma once

#include "lists/listwindow.h"

namespace qv {

class frmMieiContiCorrenti : public ListWindow {
public:
    frmMieiContiCorrenti();
    std::int64_t& mCONTOCORRENTEID = mKey;

protected:
    void showEditor() override;
    void showFilter() override;
    void releaseInstance() override;
};

}  // namespace qv
