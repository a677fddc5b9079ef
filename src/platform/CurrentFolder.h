#pragma once

#include <QString>

// The program's current folder, which the drive lists open at.
namespace CurrentFolder {

// The folder that holds the program file.
QString programFolder();
// Makes the program's folder the current folder; false when it cannot be entered.
bool enterProgramFolder();

} // namespace CurrentFolder
