#pragma once

#include <QByteArray>

// A file's extended attributes, its access control list among them (system.posix_acl_access),
// given to the new file that is to take its place.
namespace FileAttributes {

// Makes the attributes of the file at from (links followed) those of the open file to: each
// of from's is set on to, and each that to has and from has not (one inherited from a
// folder's default list) is taken off. 0, or the errno value of the first that could not be:
// the new file then cannot stand for the old one.
int copy(const QByteArray &from, int to);

} // namespace FileAttributes
