// The report result window: the rows of one stored report with its amounts
// totalled, sorted by header clicks and printed with the report's title. A
// list window without key, editor, filter or delete.
#pragma once

#include <string>

#include "lists/chequelist.h"

namespace qv {

class frmReportistica : public ChequeListWindow {
public:
    frmReportistica();

    void Form_Load() override;
    // Lists the rows of "SELECT" + SqlReport, the query after its first word.
    void FillGrid(const std::string& SqlReport);
    // The same query again.
    void FillGrid() override;
    // The query body of the last fill.
    const std::string& SqlReport() const { return sqlReport_; }

protected:
    std::string listQuery() const override;
    void afterWidths(const std::vector<std::string>& fieldNames) override;
    void showEditor() override {}
    void showFilter() override {}
    void releaseInstance() override;

private:
    std::string sqlReport_;
};

}  // namespace qv
