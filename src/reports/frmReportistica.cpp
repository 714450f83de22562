#include "reports/frmReportistica.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/mousewheel.h"
#include "core/printpreview.h"
#include "reports/reportdefs.h"

namespace qv {

namespace {
const ReportDefinition& shownReport() {
    if (gReportIndex < 0 || gReportIndex >= static_cast<int>(gArrayReport.size())) throw RuntimeError(kErrSubscript);
    return gArrayReport[static_cast<std::size_t>(gReportIndex)];
}

std::string shownTitle() {
    return ignoreErrors([] { return shownReport().titolo; });
}

ListDescriptor reportDescriptor() {
    ListDescriptor s;
    s.formName = "frmReportistica";
    s.caption = "Report";
    s.aliases = {{"AssegnoNote*", "Note"}};
    // Key columns keep their spaced names; they are hidden by width only.
    s.idRule = false;
    s.variantA = true;
    // The title as stored, in both languages, escaped like every printed value.
    s.subtitleItalian = s.subtitleEnglish = "Quorvel - " + formattaPerStampa(shownTitle());
    s.openEditorWhenEmpty = false;
    return s;
}
}  // namespace

frmReportistica::frmReportistica() : ChequeListWindow(reportDescriptor()) {
    for (CommandButton* b : {&cmdAdd, &cmdDelete, &cmdSelect}) {
        b->setVisible(false);
        b->setEnabled(false);
    }
    cmdPrintGrid.Move(120, 540, 1095, 435);
    cmdClose.Move(1320, 540, 1095, 435);
    // No editing and no deleting from a report.
    MSFlexGrid1.DblClick = nullptr;
    MSFlexGrid1.KeyDown = nullptr;
    cmdClose.setCancel(true);
}

void frmReportistica::Form_Load() {
    runProc(owner(), "Form_Load", [this] {
        LumoXPForm1.setCaption(descriptor().caption + " - " + shownTitle());
        DisattivaTabstop(Controls());
        hookWheel(*this);
        CenterForm(*this);
        FillGrid(shownReport().sqlreport);
        MSFlexGrid1.SetFocus();   // as every list window opens
    });
}

void frmReportistica::FillGrid(const std::string& SqlReport) {
    sqlReport_ = SqlReport;
    ChequeListWindow::FillGrid();
}

void frmReportistica::FillGrid() { FillGrid(sqlReport_); }

std::string frmReportistica::listQuery() const {
    const std::string query = "SELECT" + sqlReport_;
    // A stored report may only read, in one statement: anything after it or
    // anything that writes is refused before a row is touched. Only compiled
    // here, so the fill runs the query once.
    SQLiteComponent* db = gSqlLiteDb();
    if (!db || !db->isOpen()) throw RuntimeError(kErrObjectNotSet);
    db->checkReadOnlyQuery(query);
    return query;
}

void frmReportistica::afterWidths(const std::vector<std::string>& fieldNames) {
    for (int i = 0; i < static_cast<int>(fieldNames.size()) && i < MSFlexGrid1.Cols(); ++i)
        if (likePattern(fieldNames[static_cast<std::size_t>(i)], "*ID")) MSFlexGrid1.setColWidth(i, 0);
}

void frmReportistica::releaseInstance() { Instance<frmReportistica>::release(); }

}  // namespace qv
