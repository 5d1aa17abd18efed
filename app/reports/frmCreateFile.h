// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace dbsift {

class frmMain;

/// The save dialog of the reports: asks for the file to write, starting in the user's home
/// folder. Returns the chosen path, or "" when the user cancels.
class frmCreateFile {
public:
    static std::string createHTML(frmMain& form);
    static std::string createXML(frmMain& form);
};

} // namespace dbsift
