// The language switch and the Italian-to-English tables: button captions by
// exact match, captions and grid headers and message prompts by ordered,
// case-sensitive substring rows. A text no row matches stays Italian.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Control;
class FlexGrid;

struct TranslationRow {
    std::string_view italian;
    std::string_view english;
};

// The three fixed tables, in the order they are applied (UTF-8 texts).
std::span<const TranslationRow> buttonTable();
std::span<const TranslationRow> captionTable();
std::span<const TranslationRow> messageTable();

// True when the user sees English. Not traced.
bool isEnglish();

// Caption table, then the whole-caption rules ("da", "a", "su"). The result is
// stored back into the argument and returned. Traced (basGeneral).
std::string SostituisciCaptionEng(std::string& text);

// Message table on a prompt; stored back and returned. Not traced, no handler.
std::string SostituisciMessaggioEng(std::string& text);

// English captions on a window's controls: buttons by the button table;
// labels, the skinned form and check boxes through the caption table; date
// fields get "Today". Traced (basGeneral).
void doEnglish(const std::vector<Control*>& controls);

// Translates the given header cells of a grid: those just written in Italian,
// never one already shown in English. Traced (basGeneral).
void doEnglishGrid(FlexGrid& grid, std::span<const int> columns);

}  // namespace qv
