#include "core/mousewheel.h"

#include <cmath>
#include <optional>

#include "platform/flexgrid.h"
#include "platform/procedure.h"
#include "platform/wheelfilter.h"

namespace qv {

void hookWheel(Form& form) {
    ignoreErrors([&] { wheel::hook(form); });
}

void unhookWheel(Form& form) {
    ignoreErrors([&] { wheel::unhook(form); });
}

bool isPointOverWindow(const Control::Rect& rect, long x, long y) {
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}

bool isPointOverWindow(const Form& form, long x, long y) { return isPointOverWindow(form.screenRect(), x, y); }

bool isPointOverWindow(const Control& control, long x, long y) {
    return isPointOverWindow(control.screenRect(), x, y);
}

void scrollGridByWheel(FlexGrid& grid, long MouseKeys, long Rotation, long Xpos, long Ypos) {
    (void)MouseKeys, (void)Xpos, (void)Ypos;
    // Each step on its own: a failing step is skipped and the next one runs.
    long n = 0;
    resumeNext([&] {
        const int header = grid.RowHeight(0);
        if (header == 0) throw RuntimeError(11, "Division by zero");
        n = static_cast<long>(std::floor(static_cast<double>(grid.Height()) / header));
    });
    if (n > grid.Rows()) return;   // every row is in view already
    // n becomes the distance from the top visible row to the lowest visible one.
    resumeNext([&] {
        while (n > 0 && (grid.TopRow() + n > grid.Rows() - 1 || !grid.RowIsVisible(static_cast<int>(grid.TopRow() + n))))
            --n;
    });
    std::optional<long> t;
    resumeNext([&] {
        if (Rotation < 1) {
            t = grid.TopRow() + n;
            if (*t > grid.Rows() - 1) t = grid.Rows() - 1;
        } else {
            t = grid.TopRow() - n;
            if (*t < 1) t = 1;
        }
    });
    if (t) resumeNext([&] { grid.setTopRow(static_cast<int>(*t)); });
}

void scrollGridsUnderPointer(Form& form, long MouseKeys, long Rotation, long Xpos, long Ypos) {
    for (Control* c : form.Controls()) {
        auto* grid = c->Kind() == ControlKind::Grid ? dynamic_cast<FlexGrid*>(c) : nullptr;
        if (grid && isPointOverWindow(*grid, Xpos, Ypos)) scrollGridByWheel(*grid, MouseKeys, Rotation, Xpos, Ypos);
    }
}

}  // namespace qv
