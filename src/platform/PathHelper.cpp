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
    return m_roots.contains(trimmed(path));
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
