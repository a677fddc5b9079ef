#include "platform/FreedesktopTrash.h"

#include "platform/PathCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// Makes sure $XDG_DATA_HOME/Trash is a folder. Qt 6.4 builds its trash under the current
// folder, and reports success, when it cannot make that folder itself.
bool prepareHomeTrash()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return false;
    const QByteArray trash = QFile::encodeName(dataHome + QStringLiteral("/Trash"));
    ::mkdir(trash.constData(), 0700);
    struct stat st;
    return ::lstat(trash.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool FreedesktopTrash::moveToTrash(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::lstat(PathCodec::encode(path).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (!prepareHomeTrash())
        return false;

    const QString original = QFileInfo(path).absoluteFilePath();
    QString pathInTrash;
    if (!QFile::moveToTrash(original, &pathInTrash))
        return false;
    if (QFileInfo(pathInTrash).isAbsolute())
        return true;

    // The trash ended up under the current folder after all: put the file back where it was,
    // and drop the record Qt wrote beside it.
    QFile::rename(pathInTrash, original);
    const QFileInfo stray(pathInTrash);
    QFile::remove(QDir::cleanPath(stray.path() + QStringLiteral("/../info/") + stray.fileName()
                                  + QStringLiteral(".trashinfo")));
    return false;
}
