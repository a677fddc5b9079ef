#include "editor/EditorMessages.h"

#include "platform/FileErrors.h"

#include <QHash>
#include <QLocale>

namespace EditorMessages {

QString saveChangesTitle()
{
    return QStringLiteral("Save Changes");
}

QString saveChanges(const QString &caption)
{
    return QStringLiteral("Save changes to ") + caption + QLatin1Char('?');
}

QString fileTooLarge(qint64 maxBytes, qint64 maxLines)
{
    return QStringLiteral("The file is too large to open. The editor opens files of up to %1 MiB and %2 lines.")
        .arg(maxBytes >> 20)
        .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(maxLines));
}

QString cannotEncode(TextEncoding encoding)
{
    return QStringLiteral("The text holds characters that %1 cannot hold. The file was not saved.")
        .arg(TextCodec::encodingName(encoding));
}

QString writeFailed(int error)
{
    using namespace FileErrors;
    static const QHash<int, QString> texts{
        {FileNotFound, QStringLiteral("File not found")},
        {DeviceIo, QStringLiteral("Device I/O error")},
        {FileAlreadyExists, QStringLiteral("File already exists")},
        {DiskFull, QStringLiteral("Disk full")},
        {DeviceUnavailable, QStringLiteral("Device unavailable")},
        {PermissionDenied, QStringLiteral("Permission denied")},
        {DiskNotReady, QStringLiteral("Disk not ready")},
        {PathFileAccess, QStringLiteral("Path/File access error")},
        {PathNotFound, QStringLiteral("Path not found")},
    };
    return texts.value(error, QStringLiteral("The file could not be written"));
}

} // namespace EditorMessages
