#include "fileops/BatchMessages.h"

#include "platform/FileErrors.h"
#include "platform/PathCodec.h"

namespace BatchMessages {

namespace {
struct NumberedText
{
    int error;
    const char *text;
};

// Paste: the one message a failure shows.
constexpr NumberedText pasteTable[] = {
    {FileErrors::DeviceIo, "Device not connected or in use"},
    {FileErrors::DiskFull, "Disk is full"},
    {FileErrors::DeviceUnavailable, "Device not available"},
    {FileErrors::PermissionDenied, "Can't copy file to the same location or write protected"},
    {FileErrors::DiskNotReady, "Insert disk to continue"},
    {FileErrors::PathFileAccess, "Path not accesible or write protected"},
    {FileErrors::PathNotFound,
     "Either the destination doesn't exist or the path to the folder is misspelled or incomplete"},
};
} // namespace

std::optional<QString> pasteFailure(int error)
{
    for (const NumberedText &row : pasteTable) {
        if (row.error == error)
            return QString::fromLatin1(row.text);
    }
    return std::nullopt;
}

QString selectToCopy()
{
    return QStringLiteral("Please select a file to copy first");
}

QString selectToDelete()
{
    return QStringLiteral("Please select a file to delete first");
}

QString chooseDestination()
{
    return QStringLiteral("Click on any list of files to choose destination of file(s)");
}

QString trashRefused(const QStringList &paths)
{
    // Enough to see which files are meant; a longer list would push the OK button off the screen.
    constexpr qsizetype mostNamed = 20;
    QStringList lines;
    for (qsizetype i = 0; i < paths.size() && i < mostNamed; ++i)
        lines << PathCodec::displayText(paths.at(i));
    if (paths.size() > mostNamed)
        lines << QStringLiteral("and %1 more").arg(paths.size() - mostNamed);
    return QStringLiteral("These files could not be moved to the trash and were left in place:\n")
        + lines.join(QLatin1Char('\n'));
}

} // namespace BatchMessages
