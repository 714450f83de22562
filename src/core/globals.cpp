#include "core/globals.h"

namespace qv {

std::string gDbType;
bool gTrapErrors = false;
int gPrintFontSize = 0;
bool gIsNew = false;
float gGridMouseY = 0;
double gGridLeftCol = 0;
std::array<int, 101> gPrintGridOptions{};
std::string gFilterContacts, gFilterTypes, gFilterAccounts, gFilterIssued, gFilterReceived;

bool isSqlLite() { return gDbType == "SqlLite"; }

}  // namespace qv
