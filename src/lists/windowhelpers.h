// Small pieces the register and cheque windows share: their lists of
// choices, stored flags and the bounds of the cheque filters.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms.h"
#include "platform/runtime.h"

namespace qv {

// The lists have no type-ahead of their own: End (35) selects the last item,
// Home (36) the first; other keys, and any key in an empty list, do nothing.
void selectHomeEnd(ComboBox& combo, int keyCode);

// The key of the chosen item into `key`; with nothing chosen it keeps its value.
void keepChosenKey(const ComboBox& combo, std::int64_t& key);

// A stored flag reads as set for any number other than 0 (Null: not set).
bool flagIsSet(const Value& v);

// A contact as the lists of choices show it, from the current row of gRs:
// surname, a blank, name (a missing part is the empty text).
std::string contactItemText();

// Leaving a date field: shows `message` (48) and answers true, so that the
// move is cancelled, when the field holds no date.
bool refuseBadDate(const Control& field, const std::string& message);

// The cheque filters' input checks, in order: the first refusal message, or
// "" when every bound that is given reads.
std::string chequeBoundsRefusal(const TextBox& dateFrom, const TextBox& dateTo, const TextBox& amountFrom,
                                const TextBox& amountTo);

}  // namespace qv
