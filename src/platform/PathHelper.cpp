#include "platform/PathHelper.h"

namespace {
const QString slash = QStringLiteral("/");

bool contains(const QString &root, const QString &path)
{
    if (root == slash)
        return path.startsWith(slash);
    return path == root || path.startsWith(root + slash);
}
} // namespace

PathHelper::PathHelper(QStringList driveRoots) : m_roots(std::move(driveRoots))
{
    if (!m_roots.contains(slash))
        m_roots.prepend(slash);
}

QString PathHelper::join(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString PathHelper::parentOf(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    const qsizetype cut = trimmed.lastIndexOf(QLatin1Char('/'));
    if (cut <= 0)
        return slash;
    return trimmed.left(cut);
}

QString PathHelper::baseName(const QString &path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    if (trimmed == slash)
        return QString();
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

bool PathHelper::isDriveRoot(const QString &path) const
{
    return m_roots.contains(path);
}

QString PathHelper::driveRootOf(const QString &path) const
{
    QString best = slash;
    for (const QString &root : m_roots) {
        if (root.size() > best.size() && contains(root, path))
            best = root;
    }
    return best;
}
