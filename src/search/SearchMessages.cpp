#include "search/SearchMessages.h"

#include "platform/PathCodec.h"
#include "search/SearchWalk.h"

namespace SearchMessages {

QString enterPath()
{
    return QStringLiteral("Please enter Drive name with \":\\\" and Folder name");
}

QString enterPattern()
{
    return QStringLiteral("Please enter complete filename (Example(*.exe),(filename.ext)");
}

QString searching(const QString &folder)
{
    return QStringLiteral("Searching \r\n") + PathCodec::displayText(folder) + QStringLiteral("...");
}

QString summary(const SearchCounts &counts)
{
    // A walk that went into no subfolder searched one folder all the same.
    const qint64 folders = counts.folders == 0 ? 1 : counts.folders;
    return QStringLiteral(" %1 files found in %2 directories").arg(counts.files).arg(folders);
}

QString nothingListed()
{
    return QStringLiteral("No files presently listed.");
}

QString noPrinter()
{
    return QStringLiteral("No printer is available.");
}

} // namespace SearchMessages
