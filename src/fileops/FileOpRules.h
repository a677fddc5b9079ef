#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class FileServices;

// Path and name rules of the copy, rename and folder commands; no widgets.
namespace FileOpRules {

// Whether a typed name would leave its folder: it holds "/" or is "." or "..".
bool leavesFolder(const QString &name);

// Where the copy of name goes for a typed destination folder; nothing when the destination is
// not an absolute path (it would land somewhere under the program's current folder).
std::optional<QString> copyTarget(const QString &destination, const QString &name);

// path renamed to name within its own folder.
QString renamedPath(const QString &path, const QString &name);

struct CopyOutcome
{
    int copied = 0; // names copied before the failure, or all of them
    int error = 0;  // the failure's error number, 0 when every copy succeeded
};

// Copies each name from folder into the typed destination, in order, and stops at the first
// failure.
CopyOutcome copyInto(FileServices &files, const QString &folder, const QStringList &names,
                     const QString &destination);

} // namespace FileOpRules
