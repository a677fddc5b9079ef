#include "fileops/FileOpRules.h"

#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"

namespace FileOpRules {

bool leavesFolder(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String("..");
}

std::optional<QString> copyTarget(const QString &destination, const QString &name)
{
    if (!destination.startsWith(QLatin1Char('/')))
        return std::nullopt;
    return PathHelper::join(destination, name);
}

QString renamedPath(const QString &path, const QString &name)
{
    return PathHelper::join(PathHelper::parentOf(path), name);
}

CopyOutcome copyInto(FileServices &files, const QString &folder, const QStringList &names,
                     const QString &destination)
{
    CopyOutcome outcome;
    for (const QString &name : names) {
        const std::optional<QString> target = copyTarget(destination, name);
        outcome.error = target ? files.copyFile(PathHelper::join(folder, name), *target)
                               : int(FileErrors::PathNotFound);
        if (outcome.error != 0)
            return outcome;
        ++outcome.copied;
    }
    return outcome;
}

} // namespace FileOpRules
