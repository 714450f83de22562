// Copying the database file to a folder the user names.
#pragma once

#include <string>

namespace qv {

// Copies source to destination. With failIfExists an existing destination is
// never overwritten. A failed copy leaves no file behind. True on success.
bool APIFileCopy(const std::string& source, const std::string& destination, bool failIfExists);

}  // namespace qv
