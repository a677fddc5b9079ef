#include "support/Xattrs.h"

#include "platform/PathCodec.h"

#include <sys/xattr.h>

namespace Xattrs {

std::optional<QByteArray> get(const QString &path, const char *name)
{
    QByteArray value(64 * 1024, '\0');
    const ssize_t size = ::getxattr(PathCodec::encode(path).constData(), name, value.data(), size_t(value.size()));
    if (size < 0)
        return std::nullopt;
    value.resize(qsizetype(size));
    return value;
}

bool set(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(PathCodec::encode(path).constData(), name, value.constData(), size_t(value.size()), 0) == 0;
}

QByteArray accessList(std::initializer_list<Entry> entries)
{
    const auto le16 = [](QByteArray &out, quint32 v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    QByteArray out;
    // The version, 2, as 32 bits.
    le16(out, 2);
    le16(out, 0);
    for (const Entry &entry : entries) {
        le16(out, entry.tag);
        le16(out, entry.permissions);
        le16(out, entry.id & 0xFFFF);
        le16(out, entry.id >> 16);
    }
    return out;
}

QByteArray nobodyMayWrite()
{
    constexpr quint16 userObject = 0x01, user = 0x02, groupObject = 0x04, mask = 0x10, other = 0x20;
    return accessList({{userObject, 6}, {user, 6, 65534}, {groupObject, 4}, {mask, 6}, {other, 4}});
}

} // namespace Xattrs
