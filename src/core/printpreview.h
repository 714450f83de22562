// Printing: every window that prints writes an HTML page into its own print
// page control ("web") and opens the print preview of it.
#pragma once

#include <string>

namespace qv {

class FlexGrid;
class Form;
class WebBrowser;

// A new page with its head and style sheet (point size gPrintFontSize).
void initPrintPreview(WebBrowser& web);
// The heading line; the text is written as it is.
void printWebSubtitle(WebBrowser& web, const std::string& text);
// Free text, written as it is (no escaping).
void printString(const std::string& text, WebBrowser& web);
// The grid as a table: every row, leaving out the columns of width 0 and those
// of gPrintGridOptions (from index 1 up to the first -1).
void printWebGrid(FlexGrid& grid, WebBrowser& web);
// Closes the body, the page and the document.
void endPrintPreview(WebBrowser& web);
// Opens the print preview of the page.
void goPrintPreview(WebBrowser& web);
// A whole page with the window's inputs, one table row per control, then the preview.
void printThisForm(Form& form, WebBrowser& web);
// The text with "<" and ">" escaped; nothing else is.
std::string formattaPerStampa(const std::string& value);

}  // namespace qv
