// The list window every register shares: the grid fill, header sorting,
// whole-row selection, the delete flow, printing, resizing and the wheel.
// What differs per register is its ListDescriptor and a few hooks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/procedure.h"
#include "platform/runtime.h"
#include "platform/webbrowser.h"

namespace qv {

class Recordset;

struct ListDescriptor {
    std::string formName;      // "frmTipologiaPersone": names the window in error texts
    std::string caption;       // design caption of the skinned frame (Italian)
    std::string table;         // "TipologiaPersone"
    std::string keyColumn;     // "TIPOLOGIAID"
    std::string baseQuery;     // the list query without the filter, ending with a blank
    std::string* filter = nullptr;   // the list's filter text
    std::string queryTail;     // appended after the filter (" order by ..."), may be empty
    // Header aliases: (pattern on the field name, header), tested before "*ID".
    std::vector<std::pair<std::string, std::string>> aliases;
    bool idRule = true;        // field names like "*ID" become "IDFIELD", width 0
    // Fill variant a: the error handler only while gTrapErrors, no hourglass at entry.
    bool variantA = false;
    std::vector<int> printSkip;       // columns a printout leaves out
    std::string subtitleItalian, subtitleEnglish;
    // Reference checks of the delete: (table, column) each counted with the key.
    std::vector<std::pair<std::string, std::string>> deleteRefs;
    std::string deleteRefusal;
    // Statements of a delete, each followed by the key; run as one unit.
    std::vector<std::string> deleteStatements;
    bool reloadAfterDelete = false;   // the cheque lists rebuild after a delete
    bool openEditorWhenEmpty = true;
};

class ListWindow : public Form {
public:
    explicit ListWindow(ListDescriptor desc);

    const ListDescriptor& descriptor() const { return desc_; }

    // The key of the record last double-clicked, deleted or added.
    std::int64_t mKey = 0;

    void ClearGrid();
    virtual void FillGrid();
    void UpdateGridRow();
    void AddGridRow();

    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void MouseWheel(long MouseKeys, long Rotation, long Xpos, long Ypos) override;

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdSelect_Click();
    void cmdPrintGrid_Click();
    void cmdClose_Click();
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_KeyDown(int keyCode, int shift);
    void MSFlexGrid1_MouseDown(int button, int shift, float x, float y);
    void MSFlexGrid1_MouseUp(int button, int shift, float x, float y);
    void MSFlexGrid1_SelChange();

    SkinForm& LumoXPForm1;
    FlexGrid& MSFlexGrid1;
    CommandButton& cmdAdd;
    CommandButton& cmdDelete;
    CommandButton& cmdSelect;
    CommandButton& cmdPrintGrid;
    CommandButton& cmdClose;
    WebBrowser& web;

    bool sortDescendingNext() const { return SortDescendingNext; }
    // Whether the last fill met an error (its rows may be incomplete).
    bool fillFailed() const { return fillFailed_; }

protected:
    Owner owner() const { return Owner::form(desc_.formName); }

    // The query of a fill: the base query, the filter by the family rule, the tail.
    virtual std::string listQuery() const;
    // The query of one record, for UpdateGridRow and AddGridRow.
    virtual std::string rowQuery(std::int64_t key) const;
    // The query of the appended record for AddGridRow; rowQuery unless a list words it apart.
    virtual std::string addedRowQuery(std::int64_t key) const { return rowQuery(key); }
    // Cell text of a fill for the fields formatsField answers true for; the
    // cheque lists format amounts and flags here. Other cells show the value.
    virtual bool formatsField(const std::string& fieldName) const;
    virtual std::string cellText(const std::string& fieldName, const Value& value);
    virtual void beginFill() {}
    // After the closing steps of every fill, whether it failed or not.
    virtual void endFill() {}
    // After the family's width loop, with the query's column names (the result
    // set may be closed by then: a row it could not read ends it).
    virtual void afterWidths(const std::vector<std::string>& /*fieldNames*/) {}
    // Appended to the printout after the grid (the cheque lists' total line).
    virtual void printAfterGrid() {}
    // Runs the delete statements for mKey; true when every one ran.
    virtual bool deleteRecord();
    // Places further controls after a resize (the total line).
    virtual void resizeExtra() {}
    // Reports an error of AddGridRow (the standard text unless a list words its own).
    virtual void addGridRowFailed(const RuntimeError& e);

    // The register's own windows.
    virtual void showEditor() = 0;
    virtual void showFilter() = 0;
    virtual void releaseInstance() = 0;

    // Header text of one field by the family's rules, in Italian; none when a
    // nameless field has no count to name it (its header cell stays as shown).
    std::optional<std::string> headerFor(const std::string& fieldName, const std::string& query) const;
    // The family's column widths over the header and the first 60 data rows.
    void sizeColumns();

private:
    // The header row of a fill, translated; returns the field names.
    std::vector<std::string> writeHeaders(Recordset& rs, const std::string& query);
    void fillRows(Recordset& rs, const std::vector<std::string>& names);
    void writeRow(int row, int fromField);
    void sortByHeader();
    void selectWholeRow();
    ListDescriptor desc_;
    bool SortDescendingNext = false;
    bool fillFailed_ = false;
};

// The width of a column from its widest measured text (twips).
int columnWidthFor(long widest);

// One family-wide delete helper: several statements run all or none.
bool runStatementGroup(const std::vector<std::string>& statements);

}  // namespace qv
