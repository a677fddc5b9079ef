#pragma once

#include <QByteArray>
#include <QDateTime>

// The two texts a trash entry is made of: the name it takes inside the trash, and the
// contents of its record in info/. Both work on the bytes of names, as the file system does.
namespace TrashEntryName {

// The name the file takes in the trash at the given attempt (1, 2, 3, ...): the original name
// first, then with a counter before its ending ("photo.2.jpg"). A name whose record
// "name.trashinfo" would not fit in maxNameBytes is shortened before its ending, never inside
// a UTF-8 character. Empty when no name fits at all.
QByteArray candidate(const QByteArray &name, int attempt, int maxNameBytes);

// The record of a trashed file: its absolute original path, percent-encoded so that any byte
// survives, and the local time it was deleted.
QByteArray infoText(const QByteArray &originalPath, const QDateTime &deleted);

// What a record's name ends in; the entry's name in files/ is the record's name without it.
inline constexpr char infoSuffix[] = ".trashinfo";

} // namespace TrashEntryName
