// What every window does while it loads (centring, control preparation) and
// the helpers of the list grids (header texts, sorting by a date column).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace qv {

class FlexGrid;

// Where a window of the given size starts so that it sits in the middle of
// the screen: the difference rounded half to even, then halved towards zero.
// A window larger than the screen gets a negative position.
int centerOffset(double screenSize, double windowSize);
// Puts the window in the middle of the screen (Top, then Left).
void CenterForm(Form& form);

// Tab stops, list-only combos, the window frame's look and icon, access keys
// on the plain Italian button captions, then the English captions.
void DisattivaTabstop(const std::vector<Control*>& controls);

// A query column name as a header: a blank before every capital (or one of
// "[\]^_`") that does not follow another. Sets the default mouse pointer.
std::string PutSpacesInLabels(const std::string& text);

// The day number (days since 30 December 1899) of a date text, any time of
// day dropped: "YYYY-MM-DD[ HH:MM[:SS]]", else the locale's short date, else
// dd/mm/yyyy. Nothing when the text is not a date.
std::optional<long> dayNumberOfText(const std::string& text);

// Sorts the data rows by the dates of one column: 3 ascending, 4 descending;
// rows of the same day keep their order. A cell that is not a date reports a
// type mismatch and leaves the grid as it was.
void sortGridByDate(FlexGrid& grid, int dateCol, int sortSetting);

}  // namespace qv
