#include "picview/PictureEndings.h"

namespace PictureEndings {

const QStringList &endings()
{
    // Each ending in upper case, capitalised and lower case. The four-letter JPEG names are
    // ours: the double-click sends them here, and photo.jpeg would otherwise do nothing.
    static const QStringList list = {
        QStringLiteral("BMP"),  QStringLiteral("Bmp"),  QStringLiteral("bmp"),
        QStringLiteral("GIF"),  QStringLiteral("Gif"),  QStringLiteral("gif"),
        QStringLiteral("JPG"),  QStringLiteral("Jpg"),  QStringLiteral("jpg"),
        QStringLiteral("WMF"),  QStringLiteral("Wmf"),  QStringLiteral("wmf"),
        QStringLiteral("ICO"),  QStringLiteral("Ico"),  QStringLiteral("ico"),
        QStringLiteral("CUR"),  QStringLiteral("Cur"),  QStringLiteral("cur"),
        QStringLiteral("JPEG"), QStringLiteral("Jpeg"), QStringLiteral("jpeg"),
    };
    return list;
}

bool matches(const QString &fileName)
{
    for (const QString &ending : endings()) {
        if (fileName.endsWith(ending, Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace PictureEndings
