// The mouse wheel on the list grids: a hooked window gets every wheel turn
// over it as a call of its MouseWheel member, which scrolls the grid under the
// pointer by one page per turn.
#pragma once

#include "platform/forms.h"

namespace qv {

class FlexGrid;

// Installed by a list window's load handler, removed by its unload handler.
// Neither reports errors.
void hookWheel(Form& form);
void unhookWheel(Form& form);

// True when (x, y), in screen pixels, lies in the rectangle, its right and
// bottom edges included.
bool isPointOverWindow(const Control::Rect& rect, long x, long y);
bool isPointOverWindow(const Form& form, long x, long y);
bool isPointOverWindow(const Control& control, long x, long y);

// One page up (Rotation of 1 or more) or down (less than 1), whatever the size
// of Rotation. The top row stays between 1 and Rows - 1; errors are ignored.
void scrollGridByWheel(FlexGrid& grid, long MouseKeys, long Rotation, long Xpos, long Ypos);

// The list windows' MouseWheel member: every grid of the window under the
// pointer scrolls.
void scrollGridsUnderPointer(Form& form, long MouseKeys, long Rotation, long Xpos, long Ypos);

}  // namespace qv
