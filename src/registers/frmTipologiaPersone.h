// The contact types list.
#pragma once

#include "lists/listwindow.h"

namespace qv {

class frmTipologiaPersone : public ListWindow {
public:
    frmTipologiaPersone();
    std::int64_t& mTIPOLOGIAID = mKey;

protected:
    void showEditor() override;
    void showFilter() override;
    void releaseInstance() override;
};

}  // namespace qv
