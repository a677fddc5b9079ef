#pragma once

#include <QString>
#include <QStringList>

class NamePattern;

// Reads a folder's entries straight from the directory stream, for the pane lists: the type
// comes from the entry itself, so a folder of 100,000 files costs no stat per name. Dot-entries
// are never listed. A folder that cannot be read gives an empty list.
namespace FolderReader {

// The regular files (symbolic links to regular files included) whose names match pattern.
QStringList fileNames(const QString &folder, const NamePattern &pattern);
// The subfolders (symbolic links to folders included).
QStringList folderNames(const QString &folder);
// Sorts without regard to case; names that differ only in case keep a fixed order.
void sortNames(QStringList &names);

} // namespace FolderReader
