#pragma once

#include "panes/FileNames.h"

#include <QString>
#include <QStringList>

class FolderWatch;
class NamePattern;

// Reads a folder's entries straight from the directory stream, for the pane lists: the type
// comes from the entry itself, so a folder of 100,000 files costs no stat per name. Dot-entries
// are never listed. A folder that cannot be read gives an empty list.
namespace FolderReader {

// The regular files (symbolic links to regular files included) whose names match pattern.
// With a watch, the watch starts on the folder as it is read (see FolderWatch).
FileNames fileNames(const QString &folder, const NamePattern &pattern, FolderWatch *watch = nullptr);
// The subfolders (symbolic links to folders included).
QStringList folderNames(const QString &folder, FolderWatch *watch = nullptr);
// Both at once, in one pass over the folder: every regular file and every subfolder.
struct Contents
{
    FileNames files;
    QStringList folders;
};
Contents contents(const QString &folder, FolderWatch *watch = nullptr);
// Sorts without regard to case; names that differ only in case keep a fixed order.
void sortNames(QStringList &names);

} // namespace FolderReader
