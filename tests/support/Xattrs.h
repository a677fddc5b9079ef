#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <optional>
#include <tuple>

// Extended attributes of fixture files, access control lists among them, read and set with the
// system's calls (no acl tools needed).
namespace Xattrs {

// The value of name on the file at path (links followed); nothing when it has none.
std::optional<QByteArray> get(const QString &path, const char *name);
bool set(const QString &path, const char *name, const QByteArray &value);

// An access control list as the kernel keeps it (system.posix_acl_access and _default):
// each entry's tag, permissions and id, sorted by tag and id.
struct Entry
{
    quint16 tag;
    quint16 permissions;
    quint32 id = 0xFFFFFFFF;
};
QByteArray accessList(std::initializer_list<Entry> entries);
// user::rw- user:nobody:rw- group::r-- mask::rw- other::r--: the mode reads 0664.
QByteArray nobodyMayWrite();

} // namespace Xattrs
