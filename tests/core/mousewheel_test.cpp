#include "core/mousewheel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

#include "platform/flexgrid.h"
#include "platform/wheelfilter.h"

namespace qv {
namespace {

TEST(IsPointOverWindow, RightAndBottomEdgesAreInside) {
    const Control::Rect r{-100, 50, 200, 300};
    const std::vector<std::tuple<long, long, bool>> cases{
        {-100, 50, true}, {200, 300, true}, {-101, 100, false}, {201, 100, false}, {0, 49, false}, {0, 301, false},
    };
    for (const auto& [x, y, over] : cases) EXPECT_EQ(isPointOverWindow(r, x, y), over) << x << "," << y;
}

struct WheelWindow : Form {
    WheelWindow() : Form("frmWheelTest"), grid(add<FlexGrid>("MSFlexGrid1")) {
        grid.setRows(101);
        grid.Move(300, 300, 4000, grid.RowHeight(0) * 11);   // the header and ten data rows
    }
    void MouseWheel(long keys, long rotation, long x, long y) override {
        calls.push_back({keys, rotation, x, y});
        scrollGridsUnderPointer(*this, keys, rotation, x, y);
    }
    FlexGrid& grid;
    std::vector<std::array<long, 4>> calls;
};

TEST(ScrollGridByWheel, OnePagePerMessageWithinTheRows) {
    WheelWindow w;
    ASSERT_TRUE(w.grid.RowIsVisible(10) && !w.grid.RowIsVisible(11));
    const std::vector<std::tuple<int, long, int>> cases{
        {5, 120, 1}, {30, 120, 21}, {30, 240, 21}, {30, -120, 39}, {30, 0, 39}, {88, -120, 91}, {91, -120, 91},
    };
    for (const auto& [top, rotation, want] : cases) {
        w.grid.setTopRow(top);
        scrollGridByWheel(w.grid, 0, rotation, 0, 0);
        EXPECT_EQ(w.grid.TopRow(), want) << top << " " << rotation;
    }
    w.grid.setRows(4);   // every row in view: nothing scrolls
    scrollGridByWheel(w.grid, 0, -120, 0, 0);
    EXPECT_EQ(w.grid.TopRow(), 1);
}

TEST(WheelHook, TurnsOverTheWindowPageTheGridUnderThePointer) {
    WheelWindow w;
    w.widget()->setGeometry(-500, -300, 600, 400);   // a screen left of and above the primary one
    w.Load();
    w.widget()->show();
    hookWheel(w);
    QWidget* target = w.grid.widget();
    const auto turn = [&](int angle, QPoint at) {
        QWheelEvent e(target->mapFromGlobal(QPointF(at)), QPointF(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ShiftModifier, Qt::NoScrollPhase, false);
        return QApplication::sendEvent(target, &e) && e.isAccepted();
    };
    const QPoint overGrid = target->mapToGlobal(QPoint(5, 5));
    w.grid.setTopRow(30);
    EXPECT_TRUE(turn(-120, overGrid));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(turn(60, overGrid));   // fine steps add up to notches
    EXPECT_TRUE(turn(120, w.widget()->mapToGlobal(QPoint(2, 2))));   // beside the grid
    EXPECT_TRUE(turn(120, QPoint(5000, 5000)));                       // outside the window
    const std::vector<std::array<long, 4>> want{{wheel::kShift, -120, overGrid.x(), overGrid.y()},
                                                {wheel::kShift, 120, overGrid.x(), overGrid.y()},
                                                {wheel::kShift, 120, overGrid.x(), overGrid.y()}};
    ASSERT_GE(w.calls.size(), 3u);
    EXPECT_EQ(std::vector(w.calls.begin(), w.calls.begin() + 3), want);
    EXPECT_EQ(w.calls.size(), 4u);
    EXPECT_EQ(w.grid.TopRow(), 21);   // 30 -> 39 -> 30 -> 21; the turn beside it scrolled nothing

    unhookWheel(w);
    EXPECT_FALSE(turn(120, overGrid));
    EXPECT_EQ(w.calls.size(), 4u);
}

}  // namespace
}  // namespace qv
