#include "platform/FreedesktopTrash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

bool FreedesktopTrash::moveToTrash(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;

    // Without the data folder, Qt 6.4 builds the trash under the current folder and reports
    // success. Create it first, and treat a trash path that is not absolute as a failure.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return false;

    const QString original = QFileInfo(path).absoluteFilePath();
    QString pathInTrash;
    if (!QFile::moveToTrash(original, &pathInTrash))
        return false;
    if (QFileInfo(pathInTrash).isAbsolute())
        return true;

    // Put the file back where it was, and drop the record Qt wrote beside the stray copy.
    QFile::rename(pathInTrash, original);
    const QFileInfo stray(pathInTrash);
    const QString info = stray.dir().absoluteFilePath(QStringLiteral("../info/") + stray.fileName()
                                                      + QStringLiteral(".trashinfo"));
    QFile::remove(QDir::cleanPath(info));
    return false;
}
