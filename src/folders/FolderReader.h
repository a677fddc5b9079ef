#pragma once

#include "folders/FileNames.h"
#include "folders/FolderId.h"

#include <QString>
#include <QStringList>

#include <functional>

class FolderDescent;
class FolderWatch;
class NamePattern;
struct DescentFolder;

// Reads a folder's entries straight from the directory stream, for the pane lists and the deep
// search: the type comes from the entry itself, so a folder of 100,000 files costs no stat per
// name. Dot-entries are never listed (unless asked for). A folder that cannot be read gives an
// empty list; one whose read fails part way gives what it read, and its watch does not trust
// that listing. Paths longer than the system takes in one call are read all the same.
namespace FolderReader {

// Whether names that begin with a dot are listed; "." and ".." never are.
enum class DotNames { Skip, List };
// One folder read once for both of its lists.
struct FolderEntries
{
    bool opened = false; // the folder could be opened (id is set)
    bool read = false;   // and was read: enter let it
    FolderId id;
    QStringList files;   // regular files that match the pattern, sorted
    QStringList folders; // subfolders, sorted
    // Each subfolder's id as the listing saw it, in the same order (zeros, which match no
    // folder, for one that could not be looked at).
    QList<FolderId> folderIds;
};

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
// The same for folder as the caller opened it (dirFd, closed here; -1 for a folder that could
// not be opened).
Contents contents(const QString &folder, int dirFd, FolderWatch *watch);
// The matching files and the real subfolders of folder, a folder of descent's walk, opened
// there (so a folder that is no longer what its parent's listing saw is not read). A link to
// a folder is neither file nor folder. enter, when given, sees the folder's id once it is open
// and may refuse the read (a folder seen before, say).
FolderEntries entries(FolderDescent &descent, const DescentFolder &folder, const NamePattern &filePattern,
                      DotNames dots, const std::function<bool(const FolderId &)> &enter = {});
// Sorts without regard to case; names that differ only in case keep a fixed order.
void sortNames(QStringList &names);

} // namespace FolderReader
