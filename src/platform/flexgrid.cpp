#include "platform/flexgrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLocale>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/locale.h"
#include "platform/runtime.h"

namespace qv {

namespace {

constexpr int kDefaultColWidth = 960;   // twips

[[noreturn]] void subscriptError() { throw RuntimeError(kErrGridSubscript, "Subscript out of range"); }
[[noreturn]] void badValueError() { throw RuntimeError(kErrGridBadValue, "Invalid property value"); }

QString q(const std::string& s) { return QString::fromStdString(s); }
QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Asked for every painted cell: the marks are read from the locale again only
// when the locale has changed since the last call.
const NumberMarks& currentMarks() {
    static std::optional<QLocale> readFrom;
    static NumberMarks marks;
    const QLocale l;
    if (!readFrom || *readFrom != l) {
        marks = locale::numberMarks();
        readFrom = l;
    }
    return marks;
}

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c | 0x20) : c; }

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = lowerAscii(static_cast<unsigned char>(a[i]));
        const unsigned char y = lowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int buttonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 1;
    }
}

int shiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// Key codes as the windows' key handlers know them. Punctuation whose Qt code
// would read as a navigation key ('.' is 46, Delete) gets its own code or none.
int keyCodeOf(int key) {
    switch (key) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Semicolon: return 186;
        case Qt::Key_Equal: return 187;
        case Qt::Key_Comma: return 188;
        case Qt::Key_Minus: return 189;
        case Qt::Key_Period: return 190;
        case Qt::Key_Slash: return 191;
        case Qt::Key_QuoteLeft: return 192;
        case Qt::Key_BracketLeft: return 219;
        case Qt::Key_Backslash: return 220;
        case Qt::Key_BracketRight: return 221;
        case Qt::Key_Apostrophe: return 222;
        default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 112 + (key - Qt::Key_F1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= 0xA0 && key < 256)) return key;
    return 0;
}

}  // namespace

// ---------------------------------------------------------------- model

// Shows the grid's data rows (1 .. Rows - 1) as the table and row 0 as the
// horizontal header. Its row and column counts are what the view has been
// told, which may lag behind the grid until the next flush.
class FlexGridModel : public QAbstractTableModel {
public:
    FlexGridModel(FlexGrid* g, QObject* parent) : QAbstractTableModel(parent), grid(g) {}

    FlexGrid* grid;
    int shownRows = 0, shownCols = 0;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shownRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shownCols; }
    Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!grid || !index.isValid()) return {};
        const int r = index.row() + 1, c = index.column();
        if (r >= grid->Rows() || c >= grid->Cols()) return {};
        switch (role) {
            case Qt::DisplayRole: return q(grid->cellAt(r, c));
            case Qt::TextAlignmentRole: {
                const bool number = readCellNumber(grid->cellAt(r, c), currentMarks()).has_value();
                return static_cast<int>(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
            }
            case Qt::BackgroundRole:
            case Qt::ForegroundRole: {
                const auto [lo, hi] = std::minmax(grid->row_, grid->rowSel_);
                const auto [left, right] = std::minmax(grid->col_, grid->colSel_);
                if (r < lo || r > hi || c < left || c > right) return {};
                const QPalette& pal = static_cast<QWidget*>(QObject::parent())->palette();
                return role == Qt::BackgroundRole ? pal.brush(QPalette::Highlight) : pal.brush(QPalette::HighlightedText);
            }
            default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (!grid || o != Qt::Horizontal || section < 0 || section >= grid->Cols()) return {};
        if (role == Qt::DisplayRole) return q(grid->cellAt(0, section));
        if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignVCenter | Qt::AlignLeft);
        return {};
    }

    // Tells the view the new counts as rows / columns added or removed at the
    // end: one notification whatever the number of rows.
    void setShape(int rows, int cols) {
        if (rows > shownRows) {
            beginInsertRows({}, shownRows, rows - 1);
            shownRows = rows;
            endInsertRows();
        } else if (rows < shownRows) {
            beginRemoveRows({}, rows, shownRows - 1);
            shownRows = rows;
            endRemoveRows();
        }
        if (cols > shownCols) {
            beginInsertColumns({}, shownCols, cols - 1);
            shownCols = cols;
            endInsertColumns();
        } else if (cols < shownCols) {
            beginRemoveColumns({}, cols, shownCols - 1);
            shownCols = cols;
            endRemoveColumns();
        }
    }
};

// ---------------------------------------------------------------- view

class FlexGridView : public QTableView {
public:
    explicit FlexGridView(FlexGrid* g) : grid(g) {
        model = new FlexGridModel(g, this);
        setModel(model);
        setFrameShape(QFrame::NoFrame);   // the header starts at y = 0: header clicks are y < RowHeight
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setTabKeyNavigation(false);
        setAutoScroll(false);
        setWordWrap(false);
        setTextElideMode(Qt::ElideNone);
        setCornerButtonEnabled(false);
        setFocusPolicy(Qt::StrongFocus);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

        QHeaderView* v = verticalHeader();
        v->hide();
        v->setSectionResizeMode(QHeaderView::Fixed);
        v->setMinimumSectionSize(1);

        QHeaderView* h = horizontalHeader();
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(0);
        h->setStretchLastSection(false);
        h->setHighlightSections(false);
        h->setSectionsClickable(false);
        h->setSectionsMovable(false);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        h->viewport()->installEventFilter(this);

        auto* vbar = verticalScrollBar();
        auto* hbar = horizontalScrollBar();
        connect(vbar, &QScrollBar::valueChanged, this, [this](int value) {
            if (!syncing_ && grid) grid->userScrolledTo(value + 1);
        });
        connect(hbar, &QScrollBar::valueChanged, this, [this](int value) {
            if (!syncing_ && grid) grid->userScrolledToPixel(value);
        });
        // Ranges are set after layouts the view delays: scroll to the grid's place then.
        connect(vbar, &QScrollBar::rangeChanged, this, [this] { applyScroll(); });
        connect(hbar, &QScrollBar::rangeChanged, this, [this] { applyScroll(); });
    }

    FlexGrid* grid;
    FlexGridModel* model;
    // Of the grid's font, for TextWidth; emptied when the font changes.
    std::optional<QFontMetricsF> metrics;

    static QFont fontOf(const FlexGrid& g) {
        QFont f(q(g.fontName_));
        if (g.fontSize_ > 0) f.setPointSizeF(g.fontSize_);
        f.setBold(g.fontBold_);
        return f;
    }

    // Brings the grid's changes (FlexGrid::Dirty bits) to the view, then its
    // scroll place: the scroll bars move as told, not as the user moved them.
    void apply(unsigned what) {
        quietly([&] {
            if (what & FlexGrid::kFont) applyFont();
            if (what & FlexGrid::kShape) model->setShape(grid->Rows() - 1, grid->Cols());
            if (what & (FlexGrid::kShape | FlexGrid::kWidths)) applyWidths();
            if (what & (FlexGrid::kShape | FlexGrid::kCells)) {
                emit model->headerDataChanged(Qt::Horizontal, 0, grid->Cols() - 1);
                viewport()->update();
                horizontalHeader()->viewport()->update();
            }
            applyScroll();
        });
    }

    void applyScroll() {
        if (!grid) return;
        quietly([this] {
            verticalScrollBar()->setValue(grid->TopRow() - 1);
            horizontalScrollBar()->setValue(grid->leftColPixel());
            alignHeader();
            const int row = grid->Row(), col = grid->Col();
            if (row >= 1 && row - 1 < model->shownRows && col < model->shownCols)
                selectionModel()->setCurrentIndex(model->index(row - 1, col), QItemSelectionModel::NoUpdate);
        });
    }

    // The header follows the scroll bar only when the bar's value changes; a
    // refill, sort or resize that leaves the value where it was must not leave
    // the header at another offset than the cells.
    void alignHeader() {
        QHeaderView* h = horizontalHeader();
        const int x = horizontalScrollBar()->value();
        if (h->offset() != x) h->setOffset(x);
    }

protected:
    void showEvent(QShowEvent* e) override {
        QTableView::showEvent(e);
        if (grid) grid->flushView();
    }

    void updateGeometries() override {
        QTableView::updateGeometries();
        alignHeader();
    }

    void focusInEvent(QFocusEvent* e) override {
        // Not the item view's own: it would move the current cell.
        QAbstractScrollArea::focusInEvent(e);
        viewport()->update();
    }

    void wheelEvent(QWheelEvent* e) override { e->ignore(); }

    void mousePressEvent(QMouseEvent* e) override {
        if (!grid) return;
        beginPress();
        const QPoint p = e->position().toPoint();
        const auto [row, col] = cellAt(p);
        pressAt(row, col, e, viewport()->mapTo(this, p));
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (!grid || !(e->buttons() & Qt::LeftButton)) return;
        const QPoint p = e->position().toPoint();
        const int vr = rowAt(std::clamp(p.y(), 0, std::max(0, viewport()->height() - 1)));
        const int vc = columnAt(std::clamp(p.x(), 0, std::max(0, viewport()->width() - 1)));
        if (vr >= 0 && vc >= 0) grid->mouseDrag(vr + 1, vc);
    }

    void mouseReleaseEvent(QMouseEvent* e) override { releaseAt(e, viewport()->mapTo(this, e->position().toPoint())); }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!grid) return;
        const auto [row, col] = cellAt(e->position().toPoint());
        grid->mouseDoubleClick(row, col);
    }

    void keyPressEvent(QKeyEvent* e) override {
        const int code = keyCodeOf(e->key());
        if (!grid || code == 0) {
            e->ignore();
            return;
        }
        if (std::find(pressedKeys_.begin(), pressedKeys_.end(), e->key()) == pressedKeys_.end())
            pressedKeys_.push_back(e->key());
        grid->keyPress(code, shiftCode(e->modifiers()));
    }

    void keyReleaseEvent(QKeyEvent* e) override {
        const int code = keyCodeOf(e->key());
        if (!grid || code == 0) {
            e->ignore();
            return;
        }
        if (e->isAutoRepeat()) return;
        // Only the release of a key pressed here: the Enter that closed a
        // message box lets go over the grid, and is no key of the grid's.
        const auto pressed = std::find(pressedKeys_.begin(), pressedKeys_.end(), e->key());
        if (pressed == pressedKeys_.end()) return;
        pressedKeys_.erase(pressed);
        if (grid->KeyUp) grid->KeyUp(code, shiftCode(e->modifiers()));
    }

    void focusOutEvent(QFocusEvent* e) override {
        // A key held while the focus leaves is released elsewhere.
        pressedKeys_.clear();
        QTableView::focusOutEvent(e);
    }

    // Presses on the header are presses on row 0.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (!grid || watched != horizontalHeader()->viewport()) return QTableView::eventFilter(watched, e);
        switch (e->type()) {
            case QEvent::MouseButtonPress: {
                auto* me = static_cast<QMouseEvent*>(e);
                beginPress();
                const QPoint p = me->position().toPoint();
                const int col = horizontalHeader()->logicalIndexAt(p.x());
                pressAt(col >= 0 ? 0 : -1, col, me, horizontalHeader()->viewport()->mapTo(this, p));
                return true;
            }
            case QEvent::MouseButtonRelease: {
                auto* me = static_cast<QMouseEvent*>(e);
                releaseAt(me, horizontalHeader()->viewport()->mapTo(this, me->position().toPoint()));
                return true;
            }
            case QEvent::MouseButtonDblClick: {
                const int col = horizontalHeader()->logicalIndexAt(static_cast<QMouseEvent*>(e)->position().toPoint().x());
                grid->mouseDoubleClick(col >= 0 ? 0 : -1, col);
                return true;
            }
            default: return false;
        }
    }

private:
    std::vector<int> pressedKeys_;   // Qt keys pressed on the grid and not yet released
    bool syncing_ = false;           // the view is moving its scroll bars itself

    // The one place that marks the view's own scrolling, nested calls included.
    template <class F>
    void quietly(F&& f) {
        const bool was = syncing_;
        syncing_ = true;
        f();
        syncing_ = was;
    }

    void applyFont() {
        const QFont f = fontOf(*grid);
        setFont(f);
        horizontalHeader()->setFont(f);
        const int px = grid->pixelRowHeight();
        verticalHeader()->setDefaultSectionSize(px);
        horizontalHeader()->setFixedHeight(px);
    }

    void applyWidths() {
        QHeaderView* h = horizontalHeader();
        const int n = std::min(grid->Cols(), h->count());
        for (int c = 0; c < n; ++c) {
            const int px = twipsToPixels(grid->colWidth_[static_cast<std::size_t>(c)]);
            const bool hide = px <= 0;
            if (h->isSectionHidden(c) != hide) h->setSectionHidden(c, hide);
            if (!hide && h->sectionSize(c) != px) h->resizeSection(c, px);
        }
    }

    // The grid cell at a point of the viewport; -1, -1 off the cells.
    std::pair<int, int> cellAt(QPoint p) const {
        const int vr = rowAt(p.y()), vc = columnAt(p.x());
        if (vr < 0 || vc < 0) return {-1, -1};
        return {vr + 1, vc};
    }

    // The cell under the pointer is looked up in the view: bring it up to date first.
    void beginPress() {
        setFocus(Qt::MouseFocusReason);
        if (grid->dirty_) grid->flushView();
    }
    void pressAt(int row, int col, QMouseEvent* e, QPoint inGrid) {
        grid->mousePress(row, col, buttonCode(e->button()), shiftCode(e->modifiers()),
                         static_cast<float>(pixelsToTwips(inGrid.x())), static_cast<float>(pixelsToTwips(inGrid.y())));
    }
    void releaseAt(QMouseEvent* e, QPoint inGrid) {
        if (!grid) return;
        grid->mouseRelease(buttonCode(e->button()), shiftCode(e->modifiers()),
                           static_cast<float>(pixelsToTwips(inGrid.x())), static_cast<float>(pixelsToTwips(inGrid.y())));
    }
};

// ---------------------------------------------------------------- FlexGrid

FlexGrid::FlexGrid(Form& owner, std::string name) : Control(owner, ControlKind::Grid, std::move(name)) {
    cells_.appendEmpty(2);
    colWidth_.assign(static_cast<std::size_t>(cols_), kDefaultColWidth);
    const QFont app = QApplication::font();
    fontName_ = app.family().toStdString();
    fontSize_ = app.pointSizeF() > 0 ? app.pointSizeF() : 8.25;
    fontBold_ = app.bold();
    view_ = new FlexGridView(this);
    model_ = view_->model;
    setWidget(view_);
    touch(kShape | kWidths | kFont | kCells | kScroll);
    flushView();
}

FlexGrid::~FlexGrid() {
    // The view may outlive the grid by a moment inside the window's teardown.
    if (view_) {
        view_->grid = nullptr;
        model_->grid = nullptr;
        delete view_;
    }
}

void FlexGrid::checkRow(int r) const {
    if (r < 0 || r >= Rows()) subscriptError();
}
void FlexGrid::checkCol(int c) const {
    if (c < 0 || c >= cols_) subscriptError();
}

void FlexGrid::clampState() {
    const int lastRow = Rows() - 1, lastCol = cols_ - 1;
    row_ = std::min(row_, lastRow);
    rowSel_ = std::min(rowSel_, lastRow);
    col_ = std::min(col_, lastCol);
    colSel_ = std::min(colSel_, lastCol);
    topRow_ = std::clamp(topRow_, 1, std::max(1, lastRow));
    if (leftCol_ > lastCol) leftCol_ = lastCol, leftColInset_ = 0;
}

void FlexGrid::touch(unsigned what) {
    dirty_ |= what;
    if (!flushQueued_ && model_) {
        flushQueued_ = true;
        QMetaObject::invokeMethod(
            model_, [this] { if (flushQueued_) flushView(); }, Qt::QueuedConnection);
    }
}

void FlexGrid::syncView() { flushView(); }

void FlexGrid::flushView() {
    flushQueued_ = false;
    if (!view_) return;
    const unsigned what = dirty_;
    dirty_ = 0;
    if (what) view_->apply(what);
}

// ---------------------------------------------------------------- shape

void FlexGrid::setRows(int n) {
    if (n < 1) throw RuntimeError(kErrGridBadRows, "Invalid Row value");
    if (n > Rows()) {
        cells_.appendEmpty(static_cast<std::size_t>(n - Rows()));
    } else if (n < Rows()) {
        // The storage keeps the memory of cut rows for the next fill to write into.
        cells_.truncate(static_cast<std::size_t>(n));
        clampState();
    } else {
        return;
    }
    touch(kShape);
}

void FlexGrid::appendRow(std::span<const std::string_view> cells) {
    cells_.append(cells);
    touch(kShape | kCells);
}

void FlexGrid::setCols(int n) {
    if (n < 1) throw RuntimeError(kErrGridBadCols, "Invalid Col value");
    if (n == cols_) return;
    cells_.setCols(static_cast<std::size_t>(n));
    colWidth_.resize(static_cast<std::size_t>(n), kDefaultColWidth);
    cols_ = n;
    clampState();
    touch(kShape | kWidths);
}

void FlexGrid::RemoveItem(int row) {
    if (row < 1 || row >= Rows()) subscriptError();
    cells_.erase(static_cast<std::size_t>(row));
    clampState();
    touch(kShape | kCells);
}

// ---------------------------------------------------------------- current cell and selection

void FlexGrid::setRow(int r) {
    checkRow(r);
    row_ = rowSel_ = r;
    colSel_ = col_;
    touch(kCells | kScroll);
}

void FlexGrid::setCol(int c) {
    checkCol(c);
    col_ = colSel_ = c;
    rowSel_ = row_;
    touch(kCells | kScroll);
}

void FlexGrid::setRowSel(int r) {
    checkRow(r);
    rowSel_ = r;
    touch(kCells);
}

void FlexGrid::setColSel(int c) {
    checkCol(c);
    colSel_ = c;
    touch(kCells);
}

// ---------------------------------------------------------------- scrolling and visibility

int FlexGrid::pixelRowHeight() const {
    if (rowPx_ == 0) rowPx_ = QFontMetrics(FlexGridView::fontOf(*this)).height() + 4;
    return rowPx_;
}

int FlexGrid::RowHeight(int r) const {
    checkRow(r);
    return pixelsToTwips(pixelRowHeight());
}

int FlexGrid::dataRowsFitting(bool partly) const {
    const int rh = pixelsToTwips(pixelRowHeight());
    const int avail = Height() - rh;
    if (avail <= 0 || rh <= 0) return 0;
    return partly ? (avail + rh - 1) / rh : avail / rh;
}

int FlexGrid::maxTopRow() const {
    const int dataRows = Rows() - 1;
    if (dataRows < 1) return 1;
    const int fit = std::max(1, dataRowsFitting(false));
    return std::max(1, dataRows - fit + 1);
}

int FlexGrid::TopRow() const { return std::clamp(topRow_, 1, maxTopRow()); }

void FlexGrid::setTopRow(int r) {
    topRow_ = std::clamp(r, 1, maxTopRow());
    touch(kScroll);
}

void FlexGrid::setLeftCol(int c) {
    c = std::clamp(c, 0, cols_ - 1);
    // Setting the column already first keeps the view where the user left it.
    if (c != leftCol_) leftColInset_ = 0;
    leftCol_ = c;
    touch(kScroll);
}

void FlexGrid::userScrolledTo(int topRow) { topRow_ = std::max(1, topRow); }

void FlexGrid::userScrolledToPixel(int x) {
    leftCol_ = colAtPixel(x);
    leftColInset_ = std::max(0, x - colPixel(leftCol_));
}

bool FlexGrid::RowIsVisible(int r) const {
    if (r < 0 || r >= Rows()) return false;
    if (r == 0) return true;
    const int top = TopRow();
    return r >= top && r < top + dataRowsFitting(true);
}

void FlexGrid::ensureRowVisible(int r) {
    if (r < 1) return;
    const int top = TopRow();
    const int fit = std::max(1, dataRowsFitting(false));
    if (r < top)
        setTopRow(r);
    else if (r >= top + fit)
        setTopRow(r - fit + 1);
}

void FlexGrid::ensureColVisible(int c) {
    if (c < leftCol_) {
        setLeftCol(c);
        return;
    }
    // Scroll right until the column's right edge is within the grid's width.
    const int width = Width();
    if (width <= 0) return;
    int left = leftCol_;
    auto rightEdge = [&] {
        int x = 0;
        for (int j = left; j <= c; ++j) x += colWidth_[static_cast<std::size_t>(j)];
        return x;
    };
    while (left < c && rightEdge() > width) ++left;
    if (left != leftCol_) setLeftCol(left);
}

int FlexGrid::colPixel(int col) const {
    int x = 0;
    for (int c = 0; c < col && c < cols_; ++c) x += std::max(0, twipsToPixels(colWidth_[static_cast<std::size_t>(c)]));
    return x;
}

int FlexGrid::leftColPixel() const {
    const int width = std::max(0, twipsToPixels(colWidth_[static_cast<std::size_t>(leftCol_)]));
    return colPixel(leftCol_) + std::min(leftColInset_, std::max(0, width - 1));
}

int FlexGrid::colAtPixel(int x) const {
    int acc = 0;
    for (int c = 0; c < cols_; ++c) {
        const int w = std::max(0, twipsToPixels(colWidth_[static_cast<std::size_t>(c)]));
        if (w > 0 && acc + w > x) return c;
        acc += w;
    }
    return cols_ - 1;
}

float FlexGrid::cellCentreX(int c) const {
    int x = 0;
    for (int j = leftCol_; j < c; ++j) x += colWidth_[static_cast<std::size_t>(j)];
    x -= pixelsToTwips(leftColInset_);
    return static_cast<float>(x) + static_cast<float>(colWidth_[static_cast<std::size_t>(c)]) / 2.0f;
}

float FlexGrid::cellCentreY(int r) const {
    const float rh = static_cast<float>(pixelsToTwips(pixelRowHeight()));
    if (r == 0) return rh / 2.0f;
    return rh + static_cast<float>(r - TopRow()) * rh + rh / 2.0f;
}

// ---------------------------------------------------------------- texts

std::string FlexGrid::Text() const { return TextMatrix(row_, col_); }

void FlexGrid::setText(const std::string& t) { setTextMatrix(row_, col_, t); }

std::string FlexGrid::TextMatrix(int r, int c) const {
    checkRow(r);
    checkCol(c);
    return std::string(cellAt(r, c));
}

void FlexGrid::setTextMatrix(int r, int c, std::string_view t) {
    checkRow(r);
    checkCol(c);
    cells_.set(static_cast<std::size_t>(r), static_cast<std::size_t>(c), t);
    touch(kCells);
}

int FlexGrid::ColWidth(int c) const {
    checkCol(c);
    return colWidth_[static_cast<std::size_t>(c)];
}

void FlexGrid::setColWidth(int c, int twips) {
    checkCol(c);
    colWidth_[static_cast<std::size_t>(c)] = twips < 0 ? kDefaultColWidth : twips;
    touch(kWidths | kScroll);
}

// ---------------------------------------------------------------- sorting

void FlexGrid::setSort(int how) {
    if (how < 0 || how > 8) badValueError();
    const int dataRows = Rows() - 1;
    if (how == 0 || dataRows < 2) return;
    const auto key = static_cast<std::size_t>(col_);

    // Keys are read once per row, not once per comparison, and carry the
    // first 32 bytes of the text so that most comparisons touch no cell.
    constexpr std::size_t kPrefixWords = 4, kPrefixBytes = kPrefixWords * 8;
    struct Key {
        std::uint64_t prefix[kPrefixWords];
        double number;
        std::string_view text;
        int kind;   // generic: 0 empty, 1 number, 2 other text
        int row;
    };
    const bool fold = how <= 6;
    const NumberMarks& marks = currentMarks();
    const std::size_t count = static_cast<std::size_t>(dataRows);
    std::vector<Key> keys(count);
    // After a sort rows lie anywhere in the storage: fetch their offsets, then their texts, ahead of use.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + 2 * kAhead < count) cells_.prefetch(i + 1 + 2 * kAhead);
        if (i + kAhead < count) __builtin_prefetch(cells_.at(i + 1 + kAhead, key).data());
        const std::string_view t = cells_.at(i + 1, key);
        Key& k = keys[i];
        k = {{0, 0, 0, 0}, 0.0, t, 0, static_cast<int>(i) + 1};
        if (how <= 4) {
            const auto n = t.empty() ? std::nullopt : readCellNumber(t, marks);
            if (how <= 2) k.kind = t.empty() ? 0 : n ? 1 : 2;
            if (n) k.number = *n;
        }
        const std::size_t len = std::min(t.size(), kPrefixBytes);
        for (std::size_t j = 0; j < len; ++j) {
            const auto byte = static_cast<unsigned char>(t[j]);
            k.prefix[j / 8] |= static_cast<std::uint64_t>(fold ? lowerAscii(byte) : byte) << (56 - 8 * (j % 8));
        }
    }
    auto compareText = [fold](const Key& a, const Key& b) {
        for (std::size_t w = 0; w < kPrefixWords; ++w)
            if (a.prefix[w] != b.prefix[w]) return a.prefix[w] < b.prefix[w] ? -1 : 1;
        const std::size_t la = a.text.size(), lb = b.text.size();
        if (la <= kPrefixBytes && lb <= kPrefixBytes) return la < lb ? -1 : la > lb ? 1 : 0;
        return fold ? compareNoCase(a.text, b.text) : a.text.compare(b.text);
    };
    auto sortBy = [&](auto less) {
        if (how % 2 == 0)
            std::stable_sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) { return less(b, a); });
        else
            std::stable_sort(keys.begin(), keys.end(), less);
    };
    switch (how) {
        case 1:
        case 2:
            sortBy([&](const Key& a, const Key& b) {
                if (a.kind != b.kind) return a.kind < b.kind;
                if (a.kind == 1) return a.number < b.number;
                return a.kind == 2 && compareText(a, b) < 0;
            });
            break;
        case 3:
        case 4: sortBy([](const Key& a, const Key& b) { return a.number < b.number; }); break;
        default: sortBy([&](const Key& a, const Key& b) { return compareText(a, b) < 0; }); break;
    }

    std::vector<int> from(count);
    for (std::size_t i = 0; i < count; ++i) from[i] = keys[i].row;
    cells_.reorder(1, from);
    touch(kCells);
}

// ---------------------------------------------------------------- font

void FlexGrid::setFontSize(double points) {
    if (!(points > 0 && points <= 2048)) badValueError();
    fontSize_ = points;
    fontChanged();
}

void FlexGrid::fontChanged() {
    rowPx_ = 0;
    view_->metrics.reset();
    touch(kFont | kScroll);
}

// Measured for many cells of every fill: the metrics are made once per font.
int FlexGrid::TextWidth(const std::string& text) const {
    if (!view_->metrics) view_->metrics.emplace(FlexGridView::fontOf(*this));
    return static_cast<int>(std::lround(view_->metrics->horizontalAdvance(q(text)) * twipsPerPixel()));
}

// ---------------------------------------------------------------- mouse and keys

bool FlexGrid::mouseAt(int row, int col) {
    const bool onCell = row >= 0 && col >= 0 && row < Rows() && col < cols_;
    mouseRow_ = onCell ? row : -1;
    mouseCol_ = onCell ? col : -1;
    return onCell;
}

void FlexGrid::mousePress(int row, int col, int button, int shift, float x, float y) {
    const Selection before = selection();
    if (mouseAt(row, col)) {
        if ((shift & 1) && button == 1) {
            rowSel_ = row;
            colSel_ = col;
        } else {
            row_ = rowSel_ = row;
            col_ = colSel_ = col;
        }
        touch(kCells);
    }
    clickChangedSelection_ = selection() != before;
    leftDrag_ = button == 1 && row >= 0;
    if (MouseDown) MouseDown(button, shift, x, y);
}

void FlexGrid::mouseDrag(int row, int col) {
    if (!leftDrag_ || row >= Rows() || col >= cols_ || (row == rowSel_ && col == colSel_)) return;
    rowSel_ = row;
    colSel_ = col;
    clickChangedSelection_ = true;
    touch(kCells);
}

void FlexGrid::mouseRelease(int button, int shift, float x, float y) {
    leftDrag_ = false;
    const bool changed = clickChangedSelection_;
    clickChangedSelection_ = false;
    if (MouseUp) MouseUp(button, shift, x, y);
    if (changed && SelChange) SelChange();
}

void FlexGrid::mouseDoubleClick(int row, int col) {
    mouseAt(row, col);
    if (DblClick) DblClick();
}

void FlexGrid::pressCell(int row, int col, int button) {
    checkRow(row);
    checkCol(col);
    // A mouse can only press a cell that is in view.
    ensureRowVisible(row);
    ensureColVisible(col);
    const float x = cellCentreX(col), y = cellCentreY(row);
    mousePress(row, col, button, 0, x, y);
    mouseRelease(button, 0, x, y);
}

void FlexGrid::doubleClickCell(int row, int col) {
    pressCell(row, col, 1);
    mouseDoubleClick(row, col);
}

void FlexGrid::keyPress(int keyCode, int shift) {
    if (KeyDown) KeyDown(keyCode, shift);
    const Selection before = selection();
    navigate(keyCode, shift);
    if (selection() != before) {
        touch(kCells);
        if (SelChange) SelChange();
    }
}

void FlexGrid::pressKey(int keyCode, int shift) {
    keyPress(keyCode, shift);
    if (KeyUp) KeyUp(keyCode, shift);
}

bool FlexGrid::navigate(int keyCode, int shift) {
    if (Rows() < 2) return false;
    const bool extend = shift & 1;
    int r = extend ? rowSel_ : row_;
    int c = extend ? colSel_ : col_;
    const int last = Rows() - 1;
    const int page = std::max(1, dataRowsFitting(false));
    auto shown = [&](int col) { return colWidth_[static_cast<std::size_t>(col)] > 0; };
    auto firstShown = [&] {
        for (int j = 0; j < cols_; ++j)
            if (shown(j)) return j;
        return c;
    };
    auto lastShown = [&] {
        for (int j = cols_ - 1; j >= 0; --j)
            if (shown(j)) return j;
        return c;
    };
    switch (keyCode) {
        case 38: r = std::max(1, r - 1); break;
        case 40: r = std::clamp(r + 1, 1, last); break;
        case 33: r = std::max(1, r - page); break;
        case 34: r = std::clamp(r + page, 1, last); break;
        case 37:
            for (int j = c - 1; j >= 0; --j)
                if (shown(j)) {
                    c = j;
                    break;
                }
            break;
        case 39:
            for (int j = c + 1; j < cols_; ++j)
                if (shown(j)) {
                    c = j;
                    break;
                }
            break;
        case 36:
            if (shift & 2) r = 1;
            c = firstShown();
            break;
        case 35:
            if (shift & 2) r = last;
            c = lastShown();
            break;
        default: return false;
    }
    if (extend) {
        rowSel_ = r;
        colSel_ = c;
    } else {
        row_ = rowSel_ = r;
        col_ = colSel_ = c;
    }
    ensureRowVisible(r);
    ensureColVisible(c);
    return true;
}

// ---------------------------------------------------------------- design state

// A designed grid holds its shape, widths, font and header texts; data rows
// come at run time, so they are not part of the design (and never copied).
void FlexGrid::captureDesign() {
    Control::captureDesign();
    std::vector<std::string> header;
    for (int c = 0; c < cols_; ++c) header.emplace_back(cellAt(0, c));
    design_ = {Rows(), cols_, std::move(header), colWidth_, fontSize_};
}

void FlexGrid::restoreDesign() {
    Control::restoreDesign();
    cells_.truncate(0);
    cells_.setCols(static_cast<std::size_t>(design_.cols));
    cells_.appendEmpty(static_cast<std::size_t>(design_.rows));
    for (std::size_t c = 0; c < design_.header.size(); ++c) cells_.set(0, c, design_.header[c]);
    cols_ = design_.cols;
    colWidth_ = design_.colWidth;
    fontSize_ = design_.fontSize;
    row_ = rowSel_ = Rows() > 1 ? 1 : 0;
    col_ = colSel_ = 0;
    topRow_ = 1;
    leftCol_ = leftColInset_ = 0;
    fontChanged();
    touch(kShape | kWidths | kCells);
}

}  // namespace qv
