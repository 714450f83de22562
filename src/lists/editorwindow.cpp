#include "lists/editorwindow.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/globals.h"
#include "core/msgbox.h"
#include "core/printpreview.h"
#include "core/sqlhelpers.h"
#include "core/trace.h"
#include "platform/environment.h"

namespace qv {

EditorWindow::EditorWindow(const std::string& formName, const std::string& caption, int width, int height)
    : Form(formName),
      LumoXPForm1(addAt<SkinForm>(0, 0, width, 450, "LumoXPForm1", caption)),
      cmdOK(add<CommandButton>("cmdOK", "Ok")),
      cmdCancel(add<CommandButton>("cmdCancel", "Annulla")),
      cmdPrint(add<CommandButton>("cmdPrint", "Stampa")),
      web(add<WebBrowser>("web")) {
    setCaption(caption);
    setWidth(width);
    setHeight(height);
    // Smaller, the window would cut off its inputs and buttons.
    setMinimumSize(width, height);
    layoutButtons(width, height);
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdCancel.setCancel(true);
    cmdPrint.Click = [this] { cmdPrint_Click(); };
}

void EditorWindow::layoutButtons(int width, int height) {
    const int top = height - 660;
    cmdOK.Move(width - 3 * 1215, top, 1095, 435);
    cmdCancel.Move(width - 2 * 1215, top, 1095, 435);
    cmdPrint.Move(120, top, 1095, 435);
}

void EditorWindow::prepare() {
    CenterForm(*this);
    OpenDb();
    DisattivaTabstop(Controls());
}

void EditorWindow::Form_Load() {
    runProc(owner(), "Form_Load", [this] {
        prepare();
        // The record and its lists of choices are read at one moment: a
        // database that cannot be read now opens no editor with empty lists.
        if (readAllOrNothing(owner(), "Form_Load", [this] { loadInputs(); })) return;
        Unload();
        releaseInstance();
    });
}

bool EditorWindow::refuse(const std::string& message) {
    MyMsgBox(message, 48, "Quorvel");
    return false;
}

void EditorWindow::afterSave() {
    ListWindow& l = list();
    if (!gIsNew)
        l.UpdateGridRow();
    else if (l.MSFlexGrid1.Rows() == 1)
        l.FillGrid();
    else
        l.AddGridRow();
}

std::string EditorWindow::saveStatement() {
    const auto values = columnValues();
    const std::string stamp = sqlStamp();
    ListWindow& l = list();
    return gIsNew ? insertStatement(l.descriptor().table, values, stamp)
                  : updateStatement(l.descriptor().table, values, stamp, l.descriptor().keyColumn, l.mKey);
}

void EditorWindow::cmdOK_Click() {
    runProc(owner(), "cmdOK_Click", [this] {
        if (!checks()) return;
        OpenDb();
        const std::string sql = saveStatement();
        // A statement that did not run keeps the editor open with what was typed.
        if (!gDbExecute(sql)) return;
        afterSave();
        Unload();
        releaseInstance();
    });
}

void EditorWindow::cmdCancel_Click() {
    runProc(owner(), "cmdCancel_Click", [this] {
        Unload();
        releaseInstance();
    });
}

void EditorWindow::cmdPrint_Click() {
    runProc(owner(), "cmdPrint_Click", [this] { printThisForm(*this, web); });
}

std::string insertStatement(const std::string& table,
                            const std::vector<std::pair<std::string, std::string>>& columnValues,
                            const std::string& stamp) {
    std::string cols, vals;
    for (const auto& [column, value] : columnValues) {
        cols += column + ", ";
        vals += value + ", " + " ";
    }
    return "INSERT INTO " + table + " (" + cols + "DateTimeCreated) " + "VALUES (" + vals + stamp + ")" + " ";
}

std::string updateStatement(const std::string& table,
                            const std::vector<std::pair<std::string, std::string>>& columnValues,
                            const std::string& stamp, const std::string& keyColumn, std::int64_t key) {
    std::string sql = "UPDATE " + table + " SET ";
    for (const auto& [column, value] : columnValues) sql += column + " = " + value + ", " + " ";
    return sql + "DateTimeLastUpdated = " + stamp + " " + "WHERE " + keyColumn + " = " + sqlKey(key) + " ";
}

std::string sqlTextValue(const std::string& typed) {
    const std::string t = trim(typed);
    return t.empty() ? std::string("Null") : "'" + Pad(t) + "'";
}

std::string sqlStamp() { return "'" + FormattaData(env::now()) + "'"; }

bool fillCombo(ComboBox& combo, const std::string& query, std::int64_t selectId,
               const std::function<std::string()>& itemText) {
    bool selected = false;
    resetRs();
    gRsOpen(query);
    Recordset& rs = gRs();
    while (!rs.isEOF()) {
        combo.AddItem(itemText ? itemText() : rs.valueAt(1).str());
        const std::int64_t id = rs.valueAt(0).toLong();
        combo.setItemData(combo.NewIndex(), id);
        if (id == selectId && selectId != -1) {
            combo.setListIndex(combo.NewIndex());
            selected = true;
        }
        rs.MoveNext();
    }
    rs.Close();
    resetRs();
    return selected;
}

}  // namespace qv
