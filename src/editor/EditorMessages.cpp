#include "editor/EditorMessages.h"

#include "platform/FileErrors.h"

#include <QHash>
#include <QLocale>

#include <optional>

namespace {

// The description of a failure, by the file services' error number, where there is one.
std::optional<QString> describe(int error)
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
    const auto found = texts.constFind(error);
    if (found == texts.cend())
        return std::nullopt;
    return *found;
}

} // namespace

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

// "Windows-1252 cannot hold the character "→" (U+2192) on line 3": the character itself and its
// number, for one that shows as nothing (a control character, a lone surrogate).
QString cannotHold(TextEncoding encoding, const TextLines::Unencodable &stop)
{
    const QString &text = stop.text;
    const qsizetype position = stop.column;
    const QChar first = text.at(position);
    const bool pair = first.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate();
    const char32_t code = pair ? QChar::surrogateToUcs4(first, text.at(position + 1)) : char32_t(first.unicode());
    return QStringLiteral("%1 cannot hold the character \"%2\" (U+%3) on line %4")
        .arg(TextCodec::encodingName(encoding), text.mid(position, pair ? 2 : 1),
             QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper(), QString::number(stop.line + 1));
}

QString cannotEncode(TextEncoding encoding, const TextLines::Unencodable &stop)
{
    QString message = cannotHold(encoding, stop) + QStringLiteral(", so the file was not saved.");
    if (encoding == TextEncoding::Windows1252)
        message += QStringLiteral(" Save As can save the text as UTF-8.");
    return message;
}

QString saveAsUtf8(TextEncoding encoding, const TextLines::Unencodable &stop)
{
    return cannotHold(encoding, stop) + QStringLiteral(". Save the file as UTF-8?");
}

QString writeFailed(int error)
{
    return describe(error).value_or(QStringLiteral("The file could not be written"));
}

QString writeFailedBackupKept(int error, const QString &backup)
{
    return QStringLiteral("%1. The file could not be saved whole, and its old text could not be put back: it is "
                          "kept in %2.")
        .arg(writeFailed(error), backup);
}

QString writeFailedNoBackup(int error, const QString &folder)
{
    return QStringLiteral("%1. The file can only be saved in place, and its old text could not be kept in %2 "
                          "first, so the file was not changed.")
        .arg(writeFailed(error), folder);
}

QString saveOverChange(DiskChange change, const QString &path)
{
    switch (change) {
    case DiskChange::Changed:
        return QStringLiteral("%1 has been changed by another program since it was opened here. Save it anyway, "
                              "replacing those changes?")
            .arg(path);
    case DiskChange::Replaced:
        return QStringLiteral("%1 has been replaced by another file since it was opened here. Save it anyway, "
                              "replacing that file?")
            .arg(path);
    case DiskChange::NowALink:
        return QStringLiteral("%1 has been made a link to another file since it was opened here. Save it anyway? "
                              "The link will be replaced by the saved file, and the file it leads to stays as it is.")
            .arg(path);
    case DiskChange::Removed:
        break;
    }
    return QStringLiteral("%1 has been removed since it was opened here. Save it again?").arg(path);
}

QString readFailed(int error)
{
    return describe(error).value_or(QStringLiteral("The file could not be read"));
}

} // namespace EditorMessages
