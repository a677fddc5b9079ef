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

// "Windows-1252 cannot hold the character "→" (U+2192) on line 3": the character itself and its
// number, for one that shows as nothing (a control character, a lone surrogate).
QString cannotHold(TextEncoding encoding, const QString &text, qsizetype position)
{
    const QChar first = text.at(position);
    const bool pair = first.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate();
    const char32_t code = pair ? QChar::surrogateToUcs4(first, text.at(position + 1)) : char32_t(first.unicode());
    // Lines as the file holds them: CR LF is one line end, and so is each other kind.
    qsizetype line = 1;
    for (qsizetype i = 0; i < position; ++i) {
        if (!TextCodec::lineEndStartingWith(text.at(i)))
            continue;
        ++line;
        if (text.at(i) == QLatin1Char('\r') && i + 1 < position && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
    }
    return QStringLiteral("%1 cannot hold the character \"%2\" (U+%3) on line %4")
        .arg(TextCodec::encodingName(encoding), text.mid(position, pair ? 2 : 1),
             QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper(), QString::number(line));
}

QString cannotEncode(TextEncoding encoding, const QString &text, qsizetype position)
{
    QString message = cannotHold(encoding, text, position) + QStringLiteral(", so the file was not saved.");
    if (encoding == TextEncoding::Windows1252)
        message += QStringLiteral(" Save As can save the text as UTF-8.");
    return message;
}

QString saveAsUtf8(TextEncoding encoding, const QString &text, qsizetype position)
{
    return cannotHold(encoding, text, position) + QStringLiteral(". Save the file as UTF-8?");
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
