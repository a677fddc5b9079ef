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

} // namespace EditorMessages
