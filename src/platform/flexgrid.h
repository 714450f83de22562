// The grid of the list windows: a table of texts whose row 0 is the one fixed
// header row. The cells live in compact row storage (TextRows); the Qt view only
// reads them and is told about changes once control returns to the event
// loop, so filling a grid row by row costs no view work per row.
//
// Conventions:
// - A new grid has 2 rows and 2 columns, current cell (1, 0). There are no
//   fixed columns: LeftCol may be 0.
// - Setting Row or Col collapses the selection to the current cell (RowSel =
//   Row, ColSel = Col); set RowSel / ColSel afterwards to select a block.
//   Only the user's mouse and keys fire SelChange, never the setters.
// - Shrinking Rows / Cols (or RemoveItem) clamps Row, Col, RowSel, ColSel,
//   TopRow and LeftCol into the grid.
// - Errors: an index outside the grid raises 381 "Subscript out of range"
//   (TextMatrix, ColWidth, RowHeight, Row, Col, RowSel, ColSel, RemoveItem of a
//   non-data row); Rows < 1 raises 30009 "Invalid Row value", Cols < 1 raises
//   30010 "Invalid Col value"; a Sort or font size that means nothing raises
//   380 "Invalid property value".
// - TopRow and LeftCol are clamped into range, never refused: TopRow into
//   1 .. Rows - (data rows that fit wholly), so the last page is full.
// - The scroll bar may leave LeftCol partly out of view; a click, or setting
//   LeftCol to the column already first, keeps the view where it stands.
// - Visibility is computed from Height, RowHeight and TopRow (no shown window
//   needed): data rows TopRow .. TopRow + k - 1 are visible, k being the number
//   of rows that fit wholly or partly below the header.
// - The grid does not scroll on the mouse wheel itself: wheel events go on to
//   the window, whose wheel hook pages the grid through TopRow.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"
#include "platform/textrows.h"

namespace qv {

enum GridErrNo : long {
    kErrGridBadValue = 380,    // "Invalid property value"
    kErrGridSubscript = 381,   // "Subscript out of range"
    kErrGridBadRows = 30009,   // "Invalid Row value"
    kErrGridBadCols = 30010,   // "Invalid Col value"
};

class FlexGridView;
class FlexGridModel;

class FlexGrid : public Control {   // ControlKind::Grid
public:
    FlexGrid(Form& owner, std::string name);
    ~FlexGrid() override;

    int Rows() const { return static_cast<int>(cells_.rows()); }
    void setRows(int n);   // n >= 1; new rows are empty
    int Cols() const { return cols_; }
    void setCols(int n);   // n >= 1; new columns are empty
    int Row() const { return row_; }
    void setRow(int r);
    int Col() const { return col_; }
    void setCol(int c);
    int RowSel() const { return rowSel_; }
    void setRowSel(int r);
    int ColSel() const { return colSel_; }
    void setColSel(int c);
    int TopRow() const;
    void setTopRow(int r);      // first visible data row (>= 1 when Rows > 1)
    int LeftCol() const { return leftCol_; }
    void setLeftCol(int c);     // first visible scrolling column
    // The cell under the mouse at its last press or double click on the grid;
    // -1 when that fell on no cell (below the last row, right of the last
    // column) or the mouse has not pressed the grid yet.
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }

    std::string Text() const override;   // text of the current cell (Row, Col)
    void setText(const std::string& t) override;
    std::string TextMatrix(int r, int c) const;   // a copy: cells are not kept as strings
    void setTextMatrix(int r, int c, std::string_view t);

    int ColWidth(int c) const;            // twips
    void setColWidth(int c, int twips);   // 0 hides the column; negative: the default width
    int RowHeight(int r) const;           // twips; every row has the font's height
    bool RowIsVisible(int r) const;       // wholly or partly in view; false for rows outside the grid

    // Sort property: orders the data rows 1 .. Rows - 1 by the text of column
    // Col, stably. 1 / 2 generic ascending / descending: two cells that both
    // read as numbers compare as numbers, otherwise as texts without regard to
    // case. 3 / 4 numeric ascending / descending: a cell that is no number
    // counts as 0. 5 / 6 text without regard to case, 7 / 8 text with case.
    // 0 does nothing. A cell reads as a number when, trimmed and without a
    // currency sign (€, $, £), it is a plain number or one written with the
    // locale's marks, grouped in threes ("1.234,50 €" in Italy). Mixed
    // generic columns order the empty texts first, then the numbers, then the
    // other texts. Row, Col, RowSel and ColSel keep their values.
    void setSort(int how);
    void RemoveItem(int row);   // a data row, 1 .. Rows - 1
    // Rows = Rows + 1, the new row holding the given texts (cells beyond them
    // empty, texts beyond Cols ignored). The fill's one write per row.
    void appendRow(std::span<const std::string_view> cells);

    double FontSize() const { return fontSize_; }
    void setFontSize(double points);
    int TextWidth(const std::string& text) const;   // twips, measured with the grid's font

    // Events.
    std::function<void()> DblClick, SelChange;
    // Key codes: 46 Delete, 35 End, 36 Home, 33 / 34 Page Up / Down,
    // 37..40 arrows, 13 Enter, 27 Escape; letters and digits as themselves.
    // Shift state: 1 Shift, 2 Ctrl, 4 Alt.
    std::function<void(int keyCode, int shift)> KeyDown, KeyUp;
    // Button 1 left, 2 right, 4 middle; x, y in twips relative to the grid.
    std::function<void(int button, int shift, float x, float y)> MouseDown, MouseUp;

    // Headless drivers: the same paths a real mouse or key takes.
    // pressCell brings the cell into view if needed, sets Row/Col (and
    // RowSel/ColSel) to it, runs MouseDown at the cell's centre, MouseUp, then
    // SelChange when the click changed the selection.
    void pressCell(int row, int col, int button = 1);
    void doubleClickCell(int row, int col);   // pressCell, then DblClick
    // KeyDown, the key's own effect (arrows, Home, End, Page Up / Down move the
    // current cell; with Shift they move the selection's other corner),
    // SelChange when the selection moved, then KeyUp.
    void pressKey(int keyCode, int shift = 0);

    // Brings pending changes to the view now (otherwise done when control
    // returns to the event loop or the grid is shown).
    void syncView();

    void captureDesign() override;
    void restoreDesign() override;

private:
    friend class FlexGridView;
    friend class FlexGridModel;

    struct Selection {
        int row, col, rowSel, colSel;
        bool operator==(const Selection&) const = default;
    };
    Selection selection() const { return {row_, col_, rowSel_, colSel_}; }

    // Unchecked; valid until the grid next changes.
    std::string_view cellAt(int r, int c) const {
        return cells_.at(static_cast<std::size_t>(r), static_cast<std::size_t>(c));
    }
    void checkRow(int r) const;
    void checkCol(int c) const;
    void clampState();
    int dataRowsFitting(bool partly) const;
    int maxTopRow() const;
    void ensureRowVisible(int r);
    void ensureColVisible(int c);
    float cellCentreX(int c) const;
    float cellCentreY(int r) const;
    int pixelRowHeight() const;
    int colPixel(int col) const;      // the column's left edge, scrolled to the start
    int leftColPixel() const;         // where the view is scrolled to
    // The view's scroll bars moved by the user.
    void userScrolledTo(int topRow);
    void userScrolledToPixel(int x);
    int colAtPixel(int x) const;
    void mouseDrag(int row, int col);
    void fontChanged();   // the row height and text metrics are measured again

    // The one path of a mouse press / release, from the view or pressCell;
    // row / col are -1 when the press is on no cell.
    void mousePress(int row, int col, int button, int shift, float x, float y);
    void mouseRelease(int button, int shift, float x, float y);
    void mouseDoubleClick(int row, int col);
    bool mouseAt(int row, int col);   // records the cell under the mouse; false off the cells
    void keyPress(int keyCode, int shift);
    bool navigate(int keyCode, int shift);

    enum Dirty : unsigned { kShape = 1, kCells = 2, kWidths = 4, kFont = 8, kScroll = 16 };
    void touch(unsigned what);
    void flushView();

    int cols_ = 2;
    TextRows cells_{2};
    std::vector<int> colWidth_;   // twips
    int row_ = 1, col_ = 0, rowSel_ = 1, colSel_ = 0;
    int topRow_ = 1, leftCol_ = 0;
    int mouseRow_ = -1, mouseCol_ = -1;
    // Pixels of LeftCol scrolled out of view: the scroll bar may stop inside
    // a column, and the grid keeps it there until LeftCol changes.
    int leftColInset_ = 0;
    std::string fontName_;   // the application's font, as the grid starts
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    mutable int rowPx_ = 0;   // 0: not measured yet
    bool clickChangedSelection_ = false;   // between a press and its release
    bool leftDrag_ = false;

    FlexGridView* view_ = nullptr;
    FlexGridModel* model_ = nullptr;
    unsigned dirty_ = 0;
    bool flushQueued_ = false;

    struct Design {
        int rows = 2, cols = 2;
        std::vector<std::string> header;
        std::vector<int> colWidth;
        double fontSize = 8.25;
    } design_;
};

}  // namespace qv
