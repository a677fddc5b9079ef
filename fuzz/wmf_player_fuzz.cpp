// libFuzzer target: the WMF player reads its header and plays every record of any input into
// a small image. It must never read outside the input, crash, hang or leak.

#include "picview/WmfPlayer.h"
#include "picview/WmfReader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Text needs the font database, which needs an application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "wmf_player_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)Wmf::readHeader(bytes);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    WmfPlayer::play(bytes, painter, QRectF(image.rect()));
    return 0;
}
