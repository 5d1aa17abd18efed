// SPDX-License-Identifier: MIT
#pragma once

#include <sifkit/sifkit_export.h>

#include <string>

namespace sifkit {

/// The text with the value of every password attribute of a connection string in it replaced
/// by "****", for showing it: "Password=" (appended last in the forms users see, so its value
/// runs to the end of the text and may hold ";") and ODBC's "PWD=" (to the next ";", or braced),
/// at the start of the text or after ";" or a blank, in any letter case.
SIFKIT_EXPORT std::string maskCredentials(const std::string& text);

/// The connection string without its password attribute, for storing it: everything else,
/// the user ID included, stays as it was. The separators before a removed "Password=" part go
/// with it (" ;Password=p" appended to a string leaves the string as it was before).
SIFKIT_EXPORT std::string withoutPassword(const std::string& connectionString);

} // namespace sifkit
