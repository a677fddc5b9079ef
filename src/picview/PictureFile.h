#pragma once

#include "picview/Picture.h"

#include <QByteArray>
#include <QString>

#include <optional>

class FileServices;

// Reading pictures from files: bitmaps (BMP, GIF, JPEG), icons (ICO, CUR) and Windows
// metafiles (placeable or plain), told apart by their content, never by their name. A file
// that is missing, unreadable, of another kind, damaged, too big or too costly to draw gives no
// picture.
namespace PictureFile {

// No picture is wider or higher than this many pixels, or takes more memory decoded.
constexpr int maxSide = 16384;
constexpr qint64 maxDecodedBytes = qint64(256) << 20;
// No picture file is read that is longer than this.
constexpr qint64 maxFileBytes = qint64(256) << 20;

// The picture in the file at path (a path of the path codec), read through files; nothing for
// the empty path.
std::optional<Picture> load(FileServices &files, const QString &path);
// The picture held by bytes.
std::optional<Picture> decode(const QByteArray &bytes);

} // namespace PictureFile
