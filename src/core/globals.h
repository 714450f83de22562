// State shared by the windows for the whole run: empty at every start, never saved.
#pragma once

#include <array>
#include <string>

namespace qv {

extern std::string gDbType;        // the database kind, "SqlLite"
extern bool gTrapErrors;           // set at every activation of the main window
extern int gPrintFontSize;         // PRTCSIZE: point size of printed tables
extern bool gIsNew;                // the editor about to open creates a record
extern float gGridMouseY;          // Y (twips) of the last mouse-down on a list grid
extern double gGridLeftCol;        // the grid's first visible scrolling column at that moment
// Columns a grid printout leaves out: from index 1, ended by -1.
extern std::array<int, 101> gPrintGridOptions;

// The list filters: a WHERE condition without the word WHERE, empty for none.
extern std::string gFilterContacts, gFilterTypes, gFilterAccounts, gFilterIssued, gFilterReceived;

// The only database kind the program knows.
bool isSqlLite();

}  // namespace qv
