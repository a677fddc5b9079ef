#pragma once

#include <QString>

#include <string>
#include <vector>

class FileList;

namespace ListCheck {

// "" when list shows exactly the baseline's names in its order; else where it first differs.
// orderOnly tells whether the names are the same and only their order differs.
QString compareRows(const FileList &list, const std::vector<std::string> &expected, bool *orderOnly);

} // namespace ListCheck
