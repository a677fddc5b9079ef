#include "platform/FileAttributes.h"

#include <QList>

#include <cerrno>
#include <sys/xattr.h>

namespace {

// A list or a value: asked for its size first, read again while it grows meanwhile.
template <typename Read>
int readGrowing(QByteArray &out, const Read &read)
{
    for (int tries = 0; tries < 8; ++tries) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return errno;
        out.resize(qsizetype(size));
        const ssize_t got = read(out.data(), size_t(size));
        if (got >= 0) {
            out.resize(qsizetype(got));
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
    return ERANGE;
}

// The names in a list of them, each ended by a NUL.
QList<QByteArray> namesIn(const QByteArray &list)
{
    QList<QByteArray> names;
    for (const QByteArray &name : list.split('\0')) {
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

bool unsupported(int err)
{
    return err == ENOTSUP || err == EOPNOTSUPP;
}

} // namespace

namespace FileAttributes {

int copy(const QByteArray &from, int to)
{
    QByteArray list;
    int err = readGrowing(list, [&](char *buffer, size_t size) { return ::listxattr(from.constData(), buffer, size); });
    // A filesystem without attributes: the old file has none to keep.
    if (unsupported(err))
        return 0;
    if (err != 0)
        return err;
    const QList<QByteArray> names = namesIn(list);

    QByteArray own;
    err = readGrowing(own, [&](char *buffer, size_t size) { return ::flistxattr(to, buffer, size); });
    if (err != 0 && !unsupported(err))
        return err;
    for (const QByteArray &name : namesIn(own)) {
        if (!names.contains(name) && ::fremovexattr(to, name.constData()) != 0 && errno != ENODATA)
            return errno;
    }
    for (const QByteArray &name : names) {
        QByteArray value;
        err = readGrowing(value, [&](char *buffer, size_t size) {
            return ::getxattr(from.constData(), name.constData(), buffer, size);
        });
        // Gone since it was listed.
        if (err == ENODATA)
            continue;
        if (err != 0)
            return err;
        if (::fsetxattr(to, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return errno;
    }
    return 0;
}

} // namespace FileAttributes
