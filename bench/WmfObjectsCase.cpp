#include "WmfObjectsCase.h"

#include "BenchTools.h"
#include "picview/WmfPlayer.h"
#include "picview/WmfReader.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

namespace {

constexpr int objectCount = 65535;

void addWord(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void addRecord(QByteArray &out, quint16 function, std::initializer_list<int> words)
{
    const quint32 size = quint32(3 + words.size());
    addWord(out, int(size & 0xffff));
    addWord(out, int(size >> 16));
    addWord(out, function);
    for (int word : words)
        addWord(out, word);
}

// A placeable metafile of a 1 x 1 inch frame: every pen created, then every one deleted.
QByteArray makeMetafile()
{
    QByteArray records;
    for (int i = 0; i < objectCount; ++i)
        addRecord(records, 0x02FA, {0, 1, 0, i & 0xff, 0}); // CREATEPENINDIRECT
    for (int i = 0; i < objectCount; ++i)
        addRecord(records, 0x01F0, {i}); // DELETEOBJECT
    addRecord(records, 0x0000, {});

    QByteArray out;
    for (int word : {0xCDD7, 0x9AC6, 0, 0, 0, 1440, 1440, 1440, 0, 0})
        addWord(out, word);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= quint16(quint8(out[i]) | (quint8(out[i + 1]) << 8));
    addWord(out, checksum);
    const quint32 words = quint32(9 + records.size() / 2);
    for (int word : {1, 9, 0x0300, int(words & 0xffff), int(words >> 16), objectCount, 8, 0, 0})
        addWord(out, word);
    return out + records;
}

// Reads every record and every word of it, as the least any player must do.
quint64 readRecords(const QByteArray &bytes)
{
    WmfReader file(bytes.constData(), bytes.size());
    file.skip(Wmf::placeableHeaderBytes + Wmf::metaHeaderBytes);
    quint64 sum = 0;
    while (!file.failed()) {
        const quint32 words = file.u32();
        const quint16 function = file.u16();
        if (file.failed() || function == 0 || words < 3 || !file.has(qsizetype(words - 3) * 2))
            break;
        WmfReader record(file.here(), qsizetype(words - 3) * 2);
        while (record.remaining() >= 2)
            sum += record.u16();
        sum += function;
        file.skip(qsizetype(words - 3) * 2);
    }
    return sum;
}

} // namespace

namespace WmfObjectsCase {

BenchResult run(const Fixtures &, int runs)
{
    BenchResult result;
    const QByteArray bytes = makeMetafile();
    QImage image(1000, 1000, QImage::Format_ARGB32_Premultiplied);

    QElapsedTimer timer;
    timer.start();
    std::optional<Wmf::Header> header = WmfPlayer::inspect(bytes);
    const double firstLoadMs = BenchTools::elapsedMs(timer);
    QList<double> loadMs;
    for (int run = 0; run < runs && header; ++run) {
        timer.restart();
        header = WmfPlayer::inspect(bytes);
        loadMs.append(BenchTools::elapsedMs(timer));
    }
    if (!header) {
        result.error = QStringLiteral("the metafile is no picture");
        return result;
    }
    const auto play = [&] {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        WmfPlayer::play(bytes, *header, painter, QRectF(image.rect()));
    };
    quint64 sum = 0;
    // Untimed first runs of both.
    play();
    sum += readRecords(bytes);
    for (int run = 0; run < runs; ++run) {
        for (int side = 0; side < 2; ++side) {
            const bool ours = (run + side) % 2 == 0;
            timer.restart();
            if (ours)
                play();
            else
                sum += readRecords(bytes);
            (ours ? result.oursMs : result.baselineMs).append(BenchTools::elapsedMs(timer));
        }
    }
    result.notes.append(QStringLiteral("%1 records, %2 bytes; the load (checking the file and measuring its work) "
                                       "took %3 ms the first time, then %4 ms (median); read sum %5")
                            .arg(2 * objectCount + 1)
                            .arg(bytes.size())
                            .arg(firstLoadMs, 0, 'f', 2)
                            .arg(BenchTools::median(loadMs), 0, 'f', 2)
                            .arg(sum));
    return result;
}

} // namespace WmfObjectsCase
