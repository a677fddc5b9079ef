// libFuzzer target: the WMF player checks any input as the viewer does when it loads a file
// (header, records, frame, work) and plays what it accepts into a small image. It must never
// read outside the input, crash, hang or leak.

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
    // What the viewer refuses is played too when its header is whole, so that a play that runs
    // past the work allowed is tried as well.
    std::optional<Wmf::Header> header = WmfPlayer::inspect(bytes);
    if (!header)
        header = Wmf::readHeader(bytes);
    if (!header)
        return 0;
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    WmfPlayer::play(bytes, *header, painter, QRectF(image.rect()));
    return 0;
}
