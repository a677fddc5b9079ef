#include "picview/SaveasRules.h"

#include "platform/PathHelper.h"

namespace SaveasRules {

std::optional<QString> check(const QString &name, const QString &folder, const PathHelper &paths)
{
    if (folder.contains(QLatin1Char(';')))
        return QStringLiteral("Semicolon (;) instead of colon (:) error probable at second position left in "
                              "folder destination path");
    if (!name.contains(QLatin1Char('.')))
        return QStringLiteral("Please include file extension .bmp after filename.");
    if (!folder.startsWith(QLatin1Char('/')))
        return QStringLiteral("Slash(/) missing from first position left in folder destination path");
    const bool root = paths.isDriveRoot(folder);
    const bool belowRoot = paths.isDriveRoot(PathHelper::parentOf(folder));
    if (!root && (folder.endsWith(QLatin1Char('/')) || !belowRoot))
        return QStringLiteral("Create subfolders from desktop or typographical error");
    return std::nullopt;
}

QString createQuestion(const QString &folder)
{
    return QStringLiteral("The folder ") + folder + QStringLiteral(" doesn't exist.\r\n Would you like to create it ?");
}

QString createTitle()
{
    return QStringLiteral("Create New Folder");
}

QString copyFailed(const QString &path)
{
    return QStringLiteral("Could not copy the picture to ") + path + QStringLiteral(".");
}

QString fixedFolderLabel(const QString &fixedFolder)
{
    return QStringLiteral(" or Copy to ") + fixedFolder;
}

} // namespace SaveasRules
