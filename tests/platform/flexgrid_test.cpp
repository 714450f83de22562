// The grid: shape, sorting, selection by mouse and keys, scrolling and the
// lazy hand-over of changes to the Qt view.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

#include "platform/flexgrid.h"
#include "platform/runtime.h"
#include "locale_scope.h"

using namespace qv;

namespace {

struct GridForm : Form {
    GridForm() : Form("frmGrid") {}
    FlexGrid& grid = addAt<FlexGrid>(0, 0, 6000, 3000, "MSFlexGrid1");
};

// Column 0 holds each row's first position, column 1 the given value.
void fill(FlexGrid& g, const std::vector<std::string>& values) {
    g.setRows(1);
    g.setCols(2);
    g.setTextMatrix(0, 0, "Pos");
    g.setTextMatrix(0, 1, "Value");
    for (std::size_t i = 0; i < values.size(); ++i) {
        g.setRows(g.Rows() + 1);
        g.setTextMatrix(g.Rows() - 1, 0, std::to_string(i));
        g.setTextMatrix(g.Rows() - 1, 1, values[i]);
    }
}

std::vector<std::string> column(const FlexGrid& g, int c) {
    std::vector<std::string> out;
    for (int r = 1; r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, c));
    return out;
}

QTableView* viewOf(FlexGrid& g) { return static_cast<QTableView*>(g.widget()); }

long errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(FlexGridSort, OrdersDataRowsByTheCurrentColumn) {
    struct Case {
        int how;
        std::vector<std::string> in, out;
    };
    const std::vector<Case> cases = {
        {1, {"10", "9", "b", "A", "", "2"}, {"", "2", "9", "10", "A", "b"}},
        {2, {"10", "9", "b", "A", "", "2"}, {"b", "A", "10", "9", "2", ""}},
        {1, {"1,234.50 \xE2\x82\xAC", "200.00 \xE2\x82\xAC", "99 \xE2\x82\xAC"},
         {"99 \xE2\x82\xAC", "200.00 \xE2\x82\xAC", "1,234.50 \xE2\x82\xAC"}},
        {1, {"beta", "Alpha", "alpha2", "2010-03-01", "2009-12-31 10:00:00"},
         {"2009-12-31 10:00:00", "2010-03-01", "Alpha", "alpha2", "beta"}},
        {3, {"10", "x", "9", "-1.5", " 3 "}, {"-1.5", "x", " 3 ", "9", "10"}},
        // Long digit runs and exponents past any integer type.
        {1, {"99e9223372036854775807", "12345678901234567890123", "1e-99999999999999999999", "5"},
         {"1e-99999999999999999999", "5", "12345678901234567890123", "99e9223372036854775807"}},
        {4, {"10", "x", "9", "-1.5"}, {"10", "9", "x", "-1.5"}},
        {5, {"10", "9", "b", "A"}, {"10", "9", "A", "b"}},
        {7, {"b", "B", "a"}, {"B", "a", "b"}},
    };
    for (const auto& c : cases) {
        GridForm f;
        fill(f.grid, c.in);
        f.grid.setRow(2);
        f.grid.setCol(1);
        f.grid.setSort(c.how);
        EXPECT_EQ(column(f.grid, 1), c.out) << "Sort " << c.how;
        EXPECT_EQ(f.grid.TextMatrix(0, 1), "Value");   // the header row never moves
        EXPECT_EQ(f.grid.Row(), 2);
        EXPECT_EQ(f.grid.Col(), 1);
        // Whole rows move: each position still sits beside its value.
        for (int r = 1; r < f.grid.Rows(); ++r)
            EXPECT_EQ(c.in[std::stoul(f.grid.TextMatrix(r, 0))], f.grid.TextMatrix(r, 1));
    }
}

TEST(FlexGridSort, IsStableInBothDirections) {
    GridForm f;
    fill(f.grid, {"b", "a", "B", "A", "x", "5", "5.0", "y"});
    f.grid.setCol(1);
    f.grid.setSort(1);
    EXPECT_EQ(column(f.grid, 0), (std::vector<std::string>{"5", "6", "1", "3", "0", "2", "4", "7"}));
    f.grid.setSort(2);   // equal keys keep the order they now have
    EXPECT_EQ(column(f.grid, 0), (std::vector<std::string>{"7", "4", "0", "2", "1", "3", "5", "6"}));

    // Enough rows for any unstable sort to show: few keys, many ties.
    const std::vector<std::string> keys = {"Rossi", "ROSSI", "7", "7.0", "", "x", "-0", "0"};
    for (int how : {1, 2, 3, 4, 5, 6}) {
        std::vector<std::string> values;
        for (int i = 0; i < 400; ++i) values.push_back(keys[static_cast<std::size_t>(i * 7 % 8)]);
        fill(f.grid, values);
        f.grid.setCol(1);
        f.grid.setSort(how);
        // Which cells the sort must treat as equal.
        auto group = [how](const std::string& v) -> std::string {
            if (how >= 5) return toLowerAscii(v);
            if (v == "7" || v == "7.0") return "7";
            if (how >= 3 || v == "-0") return "0";
            return toLowerAscii(v);
        };
        for (int r = 2; r < f.grid.Rows(); ++r) {
            if (group(f.grid.TextMatrix(r - 1, 1)) != group(f.grid.TextMatrix(r, 1))) continue;
            EXPECT_LT(std::stoi(f.grid.TextMatrix(r - 1, 0)), std::stoi(f.grid.TextMatrix(r, 0)))
                << "Sort " << how << " row " << r;
        }
    }
    EXPECT_EQ(errorOf([&] { f.grid.setSort(9); }), kErrGridBadValue);
}

TEST(FlexGridShape, GrowingAndShrinkingKeepsCellsAndClampsTheCurrentCell) {
    GridForm f;
    FlexGrid& g = f.grid;
    g.setRows(1);
    g.setCols(3);
    for (int r = 1; r <= 500; ++r) {
        g.setRows(g.Rows() + 1);
        for (int c = 0; c < 3; ++c) g.setTextMatrix(r, c, std::to_string(r * 10 + c));
    }
    EXPECT_EQ(g.Rows(), 501);
    EXPECT_EQ(g.TextMatrix(1, 0), "10");
    EXPECT_EQ(g.TextMatrix(500, 2), "5002");
    g.setCols(4);
    EXPECT_EQ(g.TextMatrix(250, 2), "2502");
    EXPECT_EQ(g.TextMatrix(250, 3), "");
    g.setRow(400);
    g.setCol(3);
    g.setRows(10);
    g.setCols(2);
    EXPECT_EQ(g.Row(), 9);
    EXPECT_EQ(g.Col(), 1);
    g.setRows(12);
    EXPECT_EQ(g.TextMatrix(9, 1), "91");
    EXPECT_EQ(g.TextMatrix(10, 1), "");   // rows added again start empty
    g.setText("current");
    EXPECT_EQ(g.TextMatrix(9, 1), "current");
}

TEST(FlexGridShape, RemoveItemTakesOutOneDataRow) {
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, {"a", "b", "c", "d"});
    g.setRow(4);
    g.RemoveItem(2);
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"a", "c", "d"}));
    EXPECT_EQ(g.Row(), 3);   // clamped into the grid
    g.RemoveItem(3);
    g.RemoveItem(1);
    g.RemoveItem(1);
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(g.TextMatrix(0, 1), "Value");
    EXPECT_EQ(errorOf([&] { g.RemoveItem(1); }), kErrGridSubscript);
    EXPECT_EQ(errorOf([&] { g.RemoveItem(0); }), kErrGridSubscript);
}

TEST(FlexGridShape, OutOfRangeIndexesRaise) {
    GridForm f;
    FlexGrid& g = f.grid;
    g.setRows(3);
    g.setCols(2);
    const std::vector<std::pair<long, std::function<void()>>> cases = {
        {381, [&] { (void)g.TextMatrix(3, 0); }},   {381, [&] { (void)g.TextMatrix(0, -1); }},
        {381, [&] { g.setTextMatrix(-1, 0, "x"); }}, {381, [&] { g.setTextMatrix(0, 2, "x"); }},
        {381, [&] { (void)g.ColWidth(2); }},         {381, [&] { g.setColWidth(-1, 100); }},
        {381, [&] { g.setRow(3); }},                 {381, [&] { g.setCol(-1); }},
        {381, [&] { g.setRowSel(-1); }},             {381, [&] { g.setColSel(2); }},
        {381, [&] { (void)g.RowHeight(3); }},        {381, [&] { g.pressCell(3, 0); }},
        {30009, [&] { g.setRows(0); }},              {30009, [&] { g.setRows(-4); }},
        {30010, [&] { g.setCols(0); }},              {380, [&] { g.setFontSize(0); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(errorOf(cases[i].second), cases[i].first) << "case " << i;
    try {
        (void)g.TextMatrix(5, 5);
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Description(), "Subscript out of range");
    }
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.Cols(), 2);
}

TEST(FlexGridMouse, PressSetsTheCellBeforeMouseDownThenReportsTheChange) {
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, std::vector<std::string>(100, "v"));
    g.setColWidth(0, 0);
    g.setColWidth(1, 2000);
    std::vector<std::string> events;
    g.MouseDown = [&](int button, int shift, float x, float y) {
        events.push_back("down " + std::to_string(g.Row()) + "," + std::to_string(g.Col()) + " b" + std::to_string(button));
        EXPECT_EQ(shift, 0);
        EXPECT_TRUE(g.RowIsVisible(g.Row()));
        const float rh = static_cast<float>(g.RowHeight(0));
        if (g.Row() == 0)
            EXPECT_LT(y, g.RowHeight(1));
        else
            EXPECT_FLOAT_EQ(y, rh + static_cast<float>(g.Row() - g.TopRow()) * rh + rh / 2);
        EXPECT_FLOAT_EQ(x, 1000.0f);   // centre of column 1, column 0 being hidden
    };
    g.MouseUp = [&](int, int, float, float) { events.push_back("up"); };
    g.SelChange = [&] { events.push_back("sel"); };
    g.DblClick = [&] { events.push_back("dbl"); };

    g.pressCell(5, 1);
    g.pressCell(5, 1, 2);   // same cell: no selection change
    g.pressCell(0, 1);      // header
    g.pressCell(90, 1);     // below the view: brought into view first
    g.doubleClickCell(3, 1);
    EXPECT_EQ(events, (std::vector<std::string>{"down 5,1 b1", "up", "sel", "down 5,1 b2", "up", "down 0,1 b1", "up",
                                                "sel", "down 90,1 b1", "up", "sel", "down 3,1 b1", "up", "sel", "dbl"}));
    EXPECT_EQ(g.RowSel(), 3);
    EXPECT_EQ(g.ColSel(), 1);
}

TEST(FlexGridKeys, KeysMoveTheCurrentCellBetweenKeyDownAndKeyUp) {
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, {"a", "b", "c"});
    g.setCols(4);
    g.setColWidth(2, 0);
    std::vector<std::string> events;
    g.KeyDown = [&](int code, int shift) {
        events.push_back("down " + std::to_string(code) + "/" + std::to_string(shift));
    };
    g.KeyUp = [&](int code, int) { events.push_back("up " + std::to_string(code)); };
    g.SelChange = [&] { events.push_back("sel " + std::to_string(g.Row()) + "," + std::to_string(g.Col())); };
    g.setRow(2);
    g.setCol(1);
    g.pressKey(40);      // Down
    g.pressKey(40);      // already on the last row: nothing moves
    g.pressKey(39);      // Right skips the hidden column 2
    g.pressKey(46);      // Delete moves nothing
    g.pressKey(38, 1);   // Shift+Up moves the other corner only
    EXPECT_EQ(events, (std::vector<std::string>{"down 40/0", "sel 3,1", "up 40", "down 40/0", "up 40", "down 39/0",
                                                "sel 3,3", "up 39", "down 46/0", "up 46", "down 38/1", "sel 3,3",
                                                "up 38"}));
    EXPECT_EQ(g.RowSel(), 2);
    g.pressKey(36);   // Home
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.RowSel(), 3);
}

TEST(FlexGridScroll, TopRowAndRowIsVisibleAgreeWithTheGridHeight) {
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, std::vector<std::string>(100, "v"));
    const int rh = g.RowHeight(0);
    g.setHeight(rh + 10 * rh + rh / 2);   // header, 10 whole rows and half of one
    EXPECT_EQ(g.TopRow(), 1);
    g.setTopRow(20);
    EXPECT_EQ(g.TopRow(), 20);
    std::vector<int> visible;
    for (int r = 0; r <= g.Rows(); ++r)
        if (g.RowIsVisible(r)) visible.push_back(r);
    EXPECT_EQ(visible, (std::vector<int>{0, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
    g.setTopRow(1000);   // clamped so that the last page is full
    EXPECT_EQ(g.TopRow(), 91);
    EXPECT_TRUE(g.RowIsVisible(100));
    g.setTopRow(-3);
    EXPECT_EQ(g.TopRow(), 1);
    g.setRows(5);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_TRUE(g.RowIsVisible(4));
    // Keys keep the current row in view.
    fill(g, std::vector<std::string>(100, "v"));
    g.setRow(1);
    for (int i = 0; i < 15; ++i) g.pressKey(40);
    EXPECT_EQ(g.Row(), 16);
    EXPECT_EQ(g.TopRow(), 7);
}

TEST(FlexGridView, ChangesReachTheViewOnceBackInTheEventLoop) {
    GridForm f;
    FlexGrid& g = f.grid;
    QTableView* view = viewOf(g);
    g.setRows(1);
    g.setCols(3);
    QCoreApplication::processEvents();
    int inserts = 0;
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    for (int r = 1; r <= 1000; ++r) {
        g.setRows(g.Rows() + 1);
        g.setTextMatrix(r, 1, "row " + std::to_string(r));
    }
    g.setTextMatrix(0, 1, "Name");
    g.setColWidth(0, 0);
    g.setColWidth(2, 1500);
    EXPECT_EQ(view->model()->rowCount(), 0);   // nothing per row
    QCoreApplication::processEvents();
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(view->model()->rowCount(), 999 + 1);
    EXPECT_EQ(view->model()->index(999, 1).data().toString(), QStringLiteral("row 1000"));
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
    EXPECT_TRUE(view->isColumnHidden(0));
    EXPECT_FALSE(view->isColumnHidden(2));
    EXPECT_EQ(view->columnWidth(2), twipsToPixels(1500));
    g.setColWidth(0, 600);
    g.syncView();
    EXPECT_FALSE(view->isColumnHidden(0));
}

// Numbers sit on the right; what reads as a number follows the locale, also
// when the locale changes while the grid is shown.
TEST(FlexGridView, NumberCellsAlignRightByTheCurrentLocale) {
    qvtest::LocaleScope english(qvtest::LocaleScope::english());
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, {"1.234,50 \xE2\x82\xAC", "1,234.50", "Rossi"});
    g.syncView();
    QAbstractItemModel* model = viewOf(g)->model();
    auto right = [&](int row) {
        return (model->index(row, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
    };
    const QLocale before;
    EXPECT_EQ((std::vector<bool>{right(0), right(1), right(2)}), (std::vector<bool>{false, true, false}));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    EXPECT_EQ((std::vector<bool>{right(0), right(1), right(2)}), (std::vector<bool>{true, false, false}));
    QLocale::setDefault(before);
    EXPECT_TRUE(right(1));
}

TEST(FlexGridView, RealMouseAndKeyEventsTakeTheGridPath) {
    GridForm f;
    FlexGrid& g = f.grid;
    fill(g, std::vector<std::string>(50, "v"));
    f.Show();
    QCoreApplication::processEvents();
    QTableView* view = viewOf(g);
    std::vector<std::string> events;
    g.MouseDown = [&](int button, int, float, float y) {
        events.push_back("down " + std::to_string(g.Row()) + " b" + std::to_string(button) +
                         (y < g.RowHeight(1) ? " header" : ""));
    };
    g.KeyDown = [&](int code, int) { events.push_back("key " + std::to_string(code)); };

    const QPoint cell = view->visualRect(view->model()->index(2, 1)).center();   // grid row 3
    QMouseEvent press(QEvent::MouseButtonPress, cell, view->viewport()->mapToGlobal(cell), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QWidget* header = view->horizontalHeader()->viewport();
    const QPoint top(view->horizontalHeader()->sectionViewportPosition(1) + 5, 3);
    QMouseEvent onHeader(QEvent::MouseButtonPress, top, header->mapToGlobal(top), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
    QApplication::sendEvent(header, &onHeader);
    QKeyEvent period(QEvent::KeyPress, Qt::Key_Period, Qt::NoModifier, ".");
    QApplication::sendEvent(view, &period);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(view, &del);
    EXPECT_EQ(events, (std::vector<std::string>{"down 3 b2", "down 0 b1 header", "key 190", "key 46"}));

    g.setTopRow(20);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->rowAt(0) + 1, g.TopRow());
}

TEST(FlexGridKeys, KeyUpOnlyForAKeyWhosePressReachedTheGrid) {
    struct Case {
        const char* label;
        const char* steps;   // p / r: press / release Enter, d / u: Delete, o: the focus leaves
        std::vector<int> keyUps;
    };
    const std::vector<Case> cases = {
        {"press and release", "pr", {13}},
        {"release of the Enter that closed a box", "r", {}},
        {"released twice", "prr", {13}},
        {"two keys", "pdur", {46, 13}},
        {"focus left while held", "por", {}},
        {"next press counts again", "porpr", {13}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        GridForm f;
        FlexGrid& g = f.grid;
        fill(g, {"a", "b"});
        std::vector<int> ups;
        g.KeyUp = [&](int code, int) { ups.push_back(code); };
        QTableView* view = viewOf(g);
        for (const char* st = c.steps; *st; ++st) {
            const char k = *st;
            if (k == 'o') {
                QFocusEvent out(QEvent::FocusOut);
                QApplication::sendEvent(view, &out);
                continue;
            }
            const bool press = k == 'p' || k == 'd';
            const Qt::Key key = (k == 'p' || k == 'r') ? Qt::Key_Return : Qt::Key_Delete;
            QKeyEvent e(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
            QApplication::sendEvent(view, &e);
        }
        EXPECT_EQ(ups, c.keyUps);
    }
}

TEST(FlexGridFont, TextWidthAndRowHeightFollowTheFont) {
    GridForm f;
    FlexGrid& g = f.grid;
    const int narrow = g.TextWidth("Quorvel");
    EXPECT_GT(narrow, 0);
    EXPECT_EQ(g.TextWidth(""), 0);
    EXPECT_GT(g.TextWidth("Quorvel Quorvel"), narrow);
    const int height = g.RowHeight(0);
    g.setFontSize(g.FontSize() * 3);
    EXPECT_GT(g.TextWidth("Quorvel"), narrow * 2);
    EXPECT_GT(g.RowHeight(0), height);
    EXPECT_EQ(g.RowHeight(0), g.RowHeight(1));
}

}  // namespace

// The header row scrolls with the cells: after a refill while scrolled right
// (rows dropped to the header and filled again), a sort and a column resize.
TEST(FlexGridView, HeaderStaysInStepWithTheCellsAfterARefillWhileScrolledRight) {
    GridForm f;
    FlexGrid& g = f.grid;
    auto refill = [&](int rows) {
        g.setRows(1);
        g.setCols(12);
        for (int c = 0; c < 12; ++c) g.setTextMatrix(0, c, "Col " + std::to_string(c));
        for (int r = 1; r <= rows; ++r) {
            g.setRows(g.Rows() + 1);
            for (int c = 0; c < 12; ++c) g.setTextMatrix(r, c, std::to_string(r * 100 + c));
        }
        for (int c = 0; c < 12; ++c) g.setColWidth(c, 1500);
    };
    refill(200);
    f.Show();
    QCoreApplication::processEvents();
    QTableView* view = viewOf(g);
    auto inStep = [&](const char* after) {
        QCoreApplication::processEvents();
        const int bar = view->horizontalScrollBar()->value();
        EXPECT_EQ(view->horizontalHeader()->offset(), bar) << after;
        // Column 5's header stands over column 5's cells.
        EXPECT_EQ(view->horizontalHeader()->sectionViewportPosition(5), view->columnViewportPosition(5)) << after;
    };
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());   // the user scrolls right
    QCoreApplication::processEvents();
    ASSERT_GT(g.LeftCol(), 0);
    inStep("scroll");
    refill(200);
    inStep("refill");
    refill(0);
    inStep("empty refill");
    refill(150);
    inStep("refill after empty");
    refill(3);
    inStep("refill to a few rows");
    refill(200);
    inStep("refill to many rows");
    g.setCol(3);
    g.setSort(2);
    inStep("sort");
    g.setColWidth(1, 3000);
    inStep("resize");
    f.Unload();
}
