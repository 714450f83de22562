#include "lists/listwindow.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/database.h"
#include "core/formprep.h"
#include "core/globals.h"
#include "core/mousewheel.h"
#include "core/msgbox.h"
#include "core/printpreview.h"
#include "core/trace.h"
#include "core/translation.h"

namespace qv {

namespace {
// Layout in twips: the buttons under the frame, the grid below them.
constexpr int kGridLeft = 120;
constexpr int kGridTop = 1080;
constexpr int kMinWidth = 6500;
constexpr int kMinHeight = 4000;

int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

bool runStatementGroup(const std::vector<std::string>& statements) {
    if (statements.size() == 1) return gDbExecute(statements.front());
    // Several statements are one change: all of them or none.
    if (!gDbExecute("BEGIN")) return false;
    for (const auto& s : statements) {
        if (!gDbExecute(s)) {
            gDbExecute("ROLLBACK", true);
            return false;
        }
    }
    if (gDbExecute("COMMIT")) return true;
    gDbExecute("ROLLBACK", true);
    return false;
}

ListWindow::ListWindow(ListDescriptor desc)
    : Form(desc.formName),
      LumoXPForm1(addAt<SkinForm>(0, 0, 11000, 450, "LumoXPForm1", desc.caption)),
      MSFlexGrid1(addAt<FlexGrid>(kGridLeft, kGridTop, 10760, 5200, "MSFlexGrid1")),
      cmdAdd(addAt<CommandButton>(120, 540, 1095, 435, "cmdAdd", "Aggiungi")),
      cmdDelete(addAt<CommandButton>(1320, 540, 1095, 435, "cmdDelete", "Elimina")),
      cmdSelect(addAt<CommandButton>(2520, 540, 1095, 435, "cmdSelect", "Seleziona")),
      cmdPrintGrid(addAt<CommandButton>(3720, 540, 1095, 435, "cmdPrintGrid", "Stampa")),
      cmdClose(addAt<CommandButton>(4920, 540, 1095, 435, "cmdClose", "Esci")),
      web(add<WebBrowser>("web")),
      desc_(std::move(desc)) {
    setCaption(desc_.caption);
    setWidth(11000);
    setHeight(7200);
    setMinimumSize(kMinWidth, kMinHeight);
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdDelete.Click = [this] { cmdDelete_Click(); };
    cmdSelect.Click = [this] { cmdSelect_Click(); };
    cmdPrintGrid.Click = [this] { cmdPrintGrid_Click(); };
    cmdClose.Click = [this] { cmdClose_Click(); };
    MSFlexGrid1.DblClick = [this] { MSFlexGrid1_DblClick(); };
    MSFlexGrid1.KeyDown = [this](int k, int s) { MSFlexGrid1_KeyDown(k, s); };
    MSFlexGrid1.MouseDown = [this](int b, int s, float x, float y) { MSFlexGrid1_MouseDown(b, s, x, y); };
    MSFlexGrid1.MouseUp = [this](int b, int s, float x, float y) { MSFlexGrid1_MouseUp(b, s, x, y); };
    MSFlexGrid1.SelChange = [this] { MSFlexGrid1_SelChange(); };
}

// ---------------------------------------------------------------- load, close, resize

void ListWindow::Form_Load() {
    runProc(owner(), "Form_Load", [this] {
        DisattivaTabstop(Controls());
        hookWheel(*this);
        CenterForm(*this);
        FillGrid();
        // An empty register opens its editor for a new record at once; a
        // fill that failed says nothing about the register being empty.
        if (desc_.openEditorWhenEmpty && !fillFailed_ && MSFlexGrid1.Rows() == 1) cmdAdd_Click();
        // The window opens in its grid, not on the buttons above it that
        // come first in the reading order: the arrows and Delete work at once.
        MSFlexGrid1.SetFocus();
    });
}

void ListWindow::Form_Unload() { unhookWheel(*this); }

void ListWindow::Form_Resize() {
    runProc(owner(), "Form_Resize", [this] {
        if (WindowState() == 1) return;
        if (Width() < kMinWidth) setWidth(kMinWidth);
        if (Height() < kMinHeight) setHeight(kMinHeight);
        const int left = MSFlexGrid1.Left();
        const int top = MSFlexGrid1.Top();
        MSFlexGrid1.Move(left, top, Width() - 2 * left, static_cast<int>(Height() - 1.5 * top));
        // The title bar of the skin spans the window.
        LumoXPForm1.setWidth(Width());
        resizeExtra();
    });
}

void ListWindow::MouseWheel(long MouseKeys, long Rotation, long Xpos, long Ypos) {
    scrollGridsUnderPointer(*this, MouseKeys, Rotation, Xpos, Ypos);
}

void ListWindow::cmdClose_Click() {
    runProc(owner(), "cmdClose_Click", [this] {
        Unload();
        releaseInstance();
    });
}

void ListWindow::cmdAdd_Click() {
    runProc(owner(), "cmdAdd_Click", [this] {
        gIsNew = true;
        showEditor();
    });
}

void ListWindow::cmdSelect_Click() {
    runProc(owner(), "cmdSelect_Click", [this] { showFilter(); });
}

// ---------------------------------------------------------------- queries

std::string ListWindow::listQuery() const {
    std::string q = desc_.baseQuery;
    const std::string filter = desc_.filter ? *desc_.filter : std::string();
    if (!filter.empty()) {
        if (findNoCase(q, " WHERE ") != std::string::npos)
            q += " AND (" + filter + ")";
        else
            q += " WHERE " + filter;
    }
    return q + desc_.queryTail;
}

std::string ListWindow::rowQuery(std::int64_t key) const {
    return desc_.baseQuery + "WHERE " + desc_.keyColumn + " = " + sqlKey(key) + " ";
}

bool ListWindow::formatsField(const std::string&) const { return false; }
std::string ListWindow::cellText(const std::string&, const Value& value) { return value.str(); }

std::optional<std::string> ListWindow::headerFor(const std::string& name, const std::string& query) const {
    if (name.empty()) {
        // A computed count: the query's own COUNT(...) text, to its matching
        // bracket (or the last one when they do not pair up).
        const std::string upper = toUpperAscii(query);
        const auto p = upper.find("COUNT(");
        if (p == std::string::npos) return std::nullopt;
        int depth = 0;
        for (std::size_t j = p + 5; j < query.size(); ++j) {
            if (query[j] == '(') ++depth;
            if (query[j] == ')' && --depth == 0) return query.substr(p, j - p + 1);
        }
        const auto last = query.rfind(')');
        if (last != std::string::npos && last > p) return query.substr(p, last - p + 1);
        return std::nullopt;
    }
    if (likePattern(name, "Expr100*")) return "Count";
    for (const auto& [pattern, header] : desc_.aliases)
        if (likePattern(name, pattern)) return header;
    if (desc_.idRule && likePattern(name, "*ID")) return "IDFIELD";
    return PutSpacesInLabels(name);
}

// ---------------------------------------------------------------- fill

void ListWindow::ClearGrid() {
    runProc(owner(), "ClearGrid", [this] {
        FlexGrid& g = MSFlexGrid1;
        for (int r = 0; r < g.Rows(); ++r)
            for (int c = 0; c < g.Cols(); ++c) g.setTextMatrix(r, c, std::string());
    });
}

int columnWidthFor(long w) {
    if (w > 8000) w = 8000;
    // Narrow columns get a margin that shrinks as they widen.
    if (w < 6000) w = roundHalfEven((1.0 - static_cast<double>(w) / 6000.0) * 500.0 + static_cast<double>(w));
    if (w < 600) w = 600;
    return static_cast<int>(w);
}

void ListWindow::sizeColumns() {
    FlexGrid& g = MSFlexGrid1;
    // The header and at most the first 60 data rows, whatever the size of the list.
    const int lastRow = std::min(60, g.Rows() - 1);
    for (int i = 0; i < g.Cols(); ++i) {
        long w = 0;
        for (int r = 0; r <= lastRow; ++r) w = std::max<long>(w, g.TextWidth(g.TextMatrix(r, i)));
        g.setColWidth(i, g.TextMatrix(0, i) == "IDFIELD" ? 0 : columnWidthFor(w));
    }
}

namespace {
// The end of every fill, failed or not.
void releaseResults() {
    ignoreErrors([] {
        gRs().Close();
        resetRs();
    });
    ignoreErrors([] { CloseDb(); });
}
}  // namespace

void ListWindow::FillGrid() {
    traceProc(desc_.formName, "FillGrid");
    const bool armed = !desc_.variantA || gTrapErrors;
    if (!desc_.variantA) screen::setMousePointer(11);
    FlexGrid& g = MSFlexGrid1;
    std::vector<std::string> names;   // the query's fields; none when nothing was found
    std::optional<RuntimeError> failure;
    beginFill();
    try {
        g.setRows(1);
        OpenDb();
        const std::string query = listQuery();
        gRsOpen(query);
        Recordset& rs = gRs();
        if (rs.isEOF()) {
            // The headers of the last fill stay as they are shown, English already.
            g.setColWidth(0, 1000);
            g.setTextMatrix(0, 0, "0 Records");
        } else {
            names = writeHeaders(rs, query);
            fillRows(rs, names);
        }
    } catch (const RuntimeError& e) {
        failure.emplace(e);
    }
    // Once cells are written the list shows what it could read: widths follow,
    // and any failure is reported rather than passed up.
    if (!names.empty()) {
        resumeNext([&] { sizeColumns(); });
        resumeNext([&] { afterWidths(names); });
    }
    fillFailed_ = failure.has_value();
    // Variant a unarmed: the caller's own handler reports it, after the
    // closing steps. Otherwise the message comes first, while the hourglass
    // is still up, and the closing steps follow it.
    const bool passUp = failure && !armed && names.empty();
    if (failure && !passUp) reportRuntimeError(owner(), "FillGrid", *failure);
    releaseResults();
    screen::setMousePointer(0);
    ignoreErrors([&] { g.setRow(0); });
    if (passUp) throw *failure;
    endFill();
}

std::vector<std::string> ListWindow::writeHeaders(Recordset& rs, const std::string& query) {
    FlexGrid& g = MSFlexGrid1;
    const int n = rs.FieldCount();
    g.setCols(n);
    std::vector<std::string> names;
    std::vector<int> made;
    for (int i = 0; i < n; ++i) {
        names.push_back(rs.Fields(i).Name());
        if (auto header = headerFor(names.back(), query)) {
            g.setTextMatrix(0, i, *header);
            made.push_back(i);
        }
    }
    // Only the headers written now are Italian; the columns are measured on the English ones.
    doEnglishGrid(g, made);
    return names;
}

void ListWindow::fillRows(Recordset& rs, const std::vector<std::string>& names) {
    FlexGrid& g = MSFlexGrid1;
    const int n = static_cast<int>(names.size());
    std::vector<char> formatted(names.size());
    bool anyFormatted = false;
    for (std::size_t k = 0; k < names.size(); ++k) anyFormatted |= (formatted[k] = formatsField(names[k]));
    // Each row goes from the result set's own buffers into the grid in one
    // write; only formatted cells are made as texts of their own. A value that
    // cannot be shown is left empty; a row that cannot be read (a damaged
    // page) ends the rows.
    std::vector<std::string_view> texts;
    std::vector<std::string> shown(names.size());
    while (!rs.isEOF()) {
        rs.rowTexts(texts);
        if (anyFormatted)
            for (int i = 0; i < n; ++i) {
                const auto k = static_cast<std::size_t>(i);
                if (!formatted[k]) continue;
                shown[k].clear();
                resumeNext([&] { shown[k] = cellText(names[k], rs.valueAt(i)); });
                texts[k] = shown[k];
            }
        g.appendRow(texts);
        rs.MoveNext();
    }
}

void ListWindow::writeRow(int row, int fromField) {
    Recordset& rs = gRs();
    const int n = rs.FieldCount();
    for (int i = fromField; i < n; ++i) MSFlexGrid1.setTextMatrix(row, i, rs.valueAt(i).str());
}

void ListWindow::UpdateGridRow() {
    runProc(owner(), "UpdateGridRow", [this] {
        resetRs();
        gRsOpen(rowQuery(mKey));
        if (!gRs().isEOF()) writeRow(MSFlexGrid1.Row(), 1);
        gRs().Close();
        resetRs();
    });
}

void ListWindow::addGridRowFailed(const RuntimeError& e) { reportRuntimeError(owner(), "AddGridRow", e); }

void ListWindow::AddGridRow() {
    traceProc(desc_.formName, "AddGridRow");
    try {
        FlexGrid& g = MSFlexGrid1;
        resetRs();
        gRsOpen("SELECT MAX(" + desc_.keyColumn + ") FROM " + desc_.table + " ");
        if (!gRs().isEOF()) mKey = gRs().valueAt(0).toLong();
        gRs().Close();
        resetRs();
        gRsOpen(addedRowQuery(mKey));
        if (!gRs().isEOF()) {
            g.setCols(gRs().FieldCount());
            g.setRows(g.Rows() + 1);
            writeRow(g.Rows() - 1, 0);
        }
        gRs().Close();
        resetRs();
        const double t = g.Rows() - static_cast<double>(g.Height()) / g.RowHeight(0) + 3;
        if (t > 0)
            g.setTopRow(std::min(g.Rows() - 1, static_cast<int>(std::lround(t))));
        else if (g.Rows() > 1)
            g.setTopRow(1);
    } catch (const RuntimeError& e) {
        addGridRowFailed(e);
    }
}

// ---------------------------------------------------------------- grid events

void ListWindow::sortByHeader() {
    FlexGrid& g = MSFlexGrid1;
    const bool descending = SortDescendingNext;
    if (likePattern(g.TextMatrix(0, g.Col()), "Data*"))
        sortGridByDate(g, g.Col(), descending ? 4 : 3);
    else
        g.setSort(descending ? 2 : 1);
    SortDescendingNext = !descending;
}

void ListWindow::selectWholeRow() {
    FlexGrid& g = MSFlexGrid1;
    g.setCol(0);
    g.setColSel(g.Cols() - 1);
}

void ListWindow::MSFlexGrid1_MouseDown(int, int, float, float y) {
    runProc(owner(), "MSFlexGrid1_MouseDown", [&] {
        FlexGrid& g = MSFlexGrid1;
        if (g.Rows() < 2) return;
        if (y < g.RowHeight(1) && g.Row() <= 1) sortByHeader();
        gGridLeftCol = g.LeftCol();
        gGridMouseY = y;
    });
}

void ListWindow::MSFlexGrid1_MouseUp(int, int, float, float) {
    runProc(owner(), "MSFlexGrid1_MouseUp", [this] {
        FlexGrid& g = MSFlexGrid1;
        if (g.Rows() < 2) return;
        selectWholeRow();
        g.setLeftCol(static_cast<int>(std::lround(gGridLeftCol)));
    });
}

void ListWindow::MSFlexGrid1_SelChange() {
    runProc(owner(), "MSFlexGrid1_SelChange", [this] {
        if (MSFlexGrid1.Rows() < 2) return;
        selectWholeRow();
    });
}

void ListWindow::MSFlexGrid1_DblClick() {
    runProc(owner(), "MSFlexGrid1_DblClick", [this] {
        FlexGrid& g = MSFlexGrid1;
        if (g.Rows() < 2) return;
        if (g.Row() <= 1 && gGridMouseY < g.RowHeight(1)) return;
        // Only a double click on a record opens it: below the last row, right
        // of the last column, or with the header current there is none (the
        // header's key cell is no key).
        if (g.MouseRow() < 1 || g.MouseCol() < 0 || g.Row() < 1) return;
        gIsNew = false;
        mKey = Value(g.TextMatrix(g.Row(), 0)).toLong();
        showEditor();
    });
}

void ListWindow::MSFlexGrid1_KeyDown(int keyCode, int) {
    runProc(owner(), "MSFlexGrid1_KeyDown", [&] {
        if (keyCode == 46) cmdDelete_Click();
    });
}

// ---------------------------------------------------------------- delete

bool ListWindow::deleteRecord() {
    std::vector<std::string> statements;
    for (const auto& s : desc_.deleteStatements) statements.push_back(s + sqlKey(mKey));
    return runStatementGroup(statements);
}

void ListWindow::cmdDelete_Click() {
    runProc(owner(), "cmdDelete_Click", [this] {
        FlexGrid& g = MSFlexGrid1;
        if (g.Row() == 0 || g.Rows() == 1) return;
        mKey = Value(g.TextMatrix(g.Row(), 0)).toLong();
        bool referenced = false;
        for (const auto& [table, column] : desc_.deleteRefs) {
            const Check found = esisteRecord(table, column, sqlKey(mKey), "N", "", "");
            // A check that could not run must not let the delete through.
            if (!found) return;
            referenced = referenced || *found;
        }
        if (referenced) {
            MyMsgBox(desc_.deleteRefusal, 48, "Quorvel");
            return;
        }
        if (MyMsgBox("Sei sicuro di voler eliminare il record?", 4, "Quorvel") != 6) return;
        OpenDb();
        // The row goes only when the record went.
        if (!deleteRecord()) return;
        if (g.Rows() == 2) {
            g.setRows(1);
        } else {
            g.RemoveItem(g.Row());
            g.SetFocus();
            if (g.Row() <= g.Rows() - 1) {
                g.setRowSel(g.Row());
                selectWholeRow();
            }
        }
        if (desc_.reloadAfterDelete) {
            ignoreErrors([] { CloseDb(); });
            ignoreErrors([this] { ClearGrid(); });
            ignoreErrors([this] { FillGrid(); });
            screen::setMousePointer(0);
        }
    });
}

// ---------------------------------------------------------------- print

void ListWindow::cmdPrintGrid_Click() {
    runProc(owner(), "cmdPrintGrid_Click", [this] {
        std::size_t i = 1;
        for (int c : desc_.printSkip) gPrintGridOptions[i++] = c;
        gPrintGridOptions[i] = -1;
        initPrintPreview(web);
        printWebSubtitle(web, isEnglish() ? desc_.subtitleEnglish : desc_.subtitleItalian);
        printWebGrid(MSFlexGrid1, web);
        printAfterGrid();
        endPrintPreview(web);
        goPrintPreview(web);
    });
}

}  // namespace qv
