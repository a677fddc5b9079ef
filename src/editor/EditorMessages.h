#pragma once

#include "textbox/TextCodec.h"
#include "textbox/TextLines.h"

#include <QString>

// The editor's texts for its prompts and failures, in one place.
namespace EditorMessages {

QString saveChangesTitle();
// "Save changes to " + caption + "?"
QString saveChanges(const QString &caption);
// A file refused for its size or its number of lines, with the limits.
QString fileTooLarge(qint64 maxBytes, qint64 maxLines);
// A save that encoding cannot hold: names the character and its line.
QString cannotEncode(TextEncoding encoding, const TextLines::Unencodable &stop);
// Save As of such a text: whether to save it as UTF-8 instead.
QString saveAsUtf8(TextEncoding encoding, const TextLines::Unencodable &stop);
// The description of a failed write, by the file services' error number.
QString writeFailed(int error);
// A write in place that failed midway: its description, and where the old text is kept.
QString writeFailedBackupKept(int error, const QString &backup);
// A write that had to be in place, stopped before it began as no backup could be made in folder.
QString writeFailedNoBackup(int error, const QString &folder);
// A file that exists but cannot be read (no permission, a pipe, a device): the description
// a failed write of it would have.
QString readFailed(int error);

// How the file at a document's path is no longer the one it was loaded from or saved to.
enum class DiskChange { Changed, Replaced, NowALink, Removed };
// Whether to save over such a change; path as the user reads it.
QString saveOverChange(DiskChange change, const QString &path);

} // namespace EditorMessages
