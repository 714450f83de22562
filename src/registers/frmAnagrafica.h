// The contacts list: every contact joined with its type.
#pragma once

#include "lists/listwindow.h"

namespace qv {

class frmAnagrafica : public ListWindow {
public:
    frmAnagrafica();
    std::int64_t& mANAGRAFICAID = mKey;

protected:
    std::string rowQuery(std::int64_t key) const override;
    void afterWidths(const std::vector<std::string>& fieldNames) override;
    void showEditor() override;
    void showFilter() override;
    void releaseInstance() override;
};

}  // namespace qv
