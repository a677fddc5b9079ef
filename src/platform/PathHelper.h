#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Path rules on "/"-separated paths. A drive root is "/" or the root of a mounted volume.
class PathHelper
{
public:
    // driveRoots: the roots of the mounted volumes; "/" is always one of them.
    explicit PathHelper(QStringList driveRoots = {});
    // The roots are asked of liveRoots at every question, so that a volume mounted after the
    // start is a root like the others.
    explicit PathHelper(std::function<QStringList()> liveRoots);

    // folder + "/" + name, without doubling the "/" of a folder that already ends in one.
    static QString join(const QString &folder, const QString &name);
    // The folder that holds path; "/" for "/ab" and for "/" itself.
    static QString parentOf(const QString &path);
    // The last component of path; "" for "/".
    static QString baseName(const QString &path);

    bool isDriveRoot(const QString &path) const;
    // The root of the volume that path lies on: the longest drive root that contains it.
    QString driveRootOf(const QString &path) const;
    QStringList driveRoots() const;

private:
    QStringList m_roots;
    std::function<QStringList()> m_liveRoots;
};
