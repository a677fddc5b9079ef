#include "platform/PathHelper.h"

namespace {
const QString slash = QStringLiteral("/");

// The path without the slashes it may end in; "/" stays "/".
QString trimmed(const QString &path)
{
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

QStringList withSlash(QStringList roots)
{
    if (!roots.contains(slash))
        roots.prepend(slash);
    return roots;
}

bool contains(const QString &root, const QString &path)
{
    if (root == slash)
        return path.startsWith(slash);
    return path == root || path.startsWith(root + slash);
}
} // namespace

PathHelper::PathHelper(QStringList driveRoots) : m_roots(withSlash(std::move(driveRoots)))
{
}

PathHelper::PathHelper(std::function<QStringList()> liveRoots) : m_liveRoots(std::move(liveRoots))
{
}

QStringList PathHelper::driveRoots() const
{
    return m_liveRoots ? withSlash(m_liveRoots()) : m_roots;
}

QString PathHelper::join(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString PathHelper::parentOf(const QString &path)
{
    const QString bare = trimmed(path);
    const qsizetype cut = bare.lastIndexOf(QLatin1Char('/'));
    if (cut <= 0)
        return slash;
    return bare.left(cut);
}

QString PathHelper::baseName(const QString &path)
{
    const QString bare = trimmed(path);
    if (bare == slash)
        return QString();
    return bare.mid(bare.lastIndexOf(QLatin1Char('/')) + 1);
}

bool PathHelper::isDriveRoot(const QString &path) const
{
    return driveRoots().contains(trimmed(path));
}

QString PathHelper::driveRootOf(const QString &path) const
{
    QString best = slash;
    const QStringList roots = driveRoots();
    for (const QString &root : roots) {
        if (root.size() > best.size() && contains(root, path))
            best = root;
    }
    return best;
}
