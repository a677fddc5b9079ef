#include "SettingsSaveCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "platform/FileStamp.h"
#include "settings/ColorStore.h"
#include "settings/IniDocument.h"
#include "settings/RegistryStore.h"
#include "web/UserLinkSlots.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace {

constexpr qint64 fileBytes = qint64(100) << 20;
constexpr int shortValues = 2'000'000;

// The file as QSettings writes it: the colours, then the 40 links with long addresses; or,
// with shortValues, the colours and the links' names followed by the values of another program.
QByteArray settingsBytes(bool manyValues)
{
    QByteArray bytes;
    bytes.reserve(fileBytes + (1 << 20));
    bytes += "[Software]\n";
    for (const ColorSetting setting : {ColorSetting::Desktop, ColorSetting::Folders, ColorSetting::Files})
        bytes += "Panoptra\\MainForm\\" + ColorStore::valueName(setting).replace(u' ', QStringLiteral("%20")).toLatin1()
                 + "=16711680\n";
    const QList<const UserLinkFamily *> families = {&UserLinkSlots::auctions(), &UserLinkSlots::favourites(),
                                                    &UserLinkSlots::searchEngines()};
    for (const UserLinkFamily *family : families) {
        for (int slot = 1; slot <= family->count; ++slot)
            bytes += "Panoptra\\Menu\\" + family->slotName(slot).toLatin1() + "=Link " + QByteArray::number(slot) + '\n';
    }
    const qint64 addressBytes = manyValues ? 40 : fileBytes / 40;
    for (const UserLinkFamily *family : families) {
        for (int slot = 1; slot <= family->count; ++slot)
            bytes += "Panoptra\\WebLinks\\" + family->slotName(slot).toLatin1() + "=\"data:text/plain;base64,"
                     + QByteArray(addressBytes, 'Q') + "\"\n";
    }
    for (int i = 0; manyValues && i < shortValues; ++i)
        bytes += "Other\\Section" + QByteArray::number(i % 100) + "\\value" + QByteArray::number(i)
                 + "=some text of another program\n";
    return bytes;
}

QString writeFixture(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1").arg(path);
    file.close();
    // A running program meets a file written some time before, not one its stamp cannot tell.
    for (int wait = 0; wait < 500 && FileStamp::of(path).value_or(FileStamp{}).recent; ++wait)
        QThread::msleep(10);
    return QString();
}

// What a safe save of the bytes needs at least: a temporary file beside the target, written
// whole and put on disk, then renamed over it.
QString writeOnce(const QString &target, const QByteArray &bytes)
{
    const QString temporary = target + QStringLiteral(".new");
    if (!BenchTools::writeSynced(temporary, bytes, 0600)
        || ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
        return QStringLiteral("the baseline's write failed");
    return QString();
}

// One run of each side, ours first on even runs; the store saves a new colour each time.
void measure(RegistryStore &store, const QString &baselineTarget, const QByteArray &bytes, int runs,
             QList<double> &oursMs, QList<double> &baselineMs, QString &error)
{
    ColorStore colors(store);
    int color = 0;
    const auto ours = [&] {
        ++color;
        if (!colors.save(ColorSetting::Desktop, color))
            return QStringLiteral("the save failed");
        return QString();
    };
    const auto baseline = [&] { return writeOnce(baselineTarget, bytes); };
    // Untimed: the store reads the file, as at a start.
    if (colors.load(ColorSetting::Desktop) != 16711680)
        error = QStringLiteral("the colour reads wrong");
    for (int run = 0; run < runs && error.isEmpty(); ++run) {
        for (int side = 0; side < 2 && error.isEmpty(); ++side) {
            if ((side == 0) == (run % 2 == 0))
                oursMs.append(BenchTools::timedMs(ours, error));
            else
                baselineMs.append(BenchTools::timedMs(baseline, error));
        }
    }
    // A store that has not read the file yet finds the last colour.
    RegistryStore fresh(store.iniPath());
    if (error.isEmpty() && ColorStore(fresh).load(ColorSetting::Desktop) != color)
        error = QStringLiteral("the last colour saved is not in the file");
}

} // namespace

namespace SettingsSaveCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString folder = fixtures.root() + QStringLiteral("/settings-save");
    QDir().mkpath(folder);
    const QString ini = folder + QStringLiteral("/Panoptra.ini");
    const QString baselineTarget = folder + QStringLiteral("/baseline.ini");

    // The file of many short values: most lines to keep track of.
    const QByteArray bytes = settingsBytes(true);
    result.error = writeFixture(ini, bytes);
    if (!result.error.isEmpty())
        return result;
    result.notes.append(QStringLiteral("settings file: %1 bytes, %2 values").arg(bytes.size()).arg(shortValues + 83));
    {
        RegistryStore store(ini);
        measure(store, baselineTarget, bytes, runs, result.oursMs, result.baselineMs, result.error);
    }
    if (!result.error.isEmpty())
        return result;
    QList<double> parseMs;
    for (int run = 0; run < 3; ++run)
        parseMs.append(BenchTools::timedMs([&] { return IniDocument(bytes).value(QStringLiteral("Software/Other/Section1/value1")) ? QString() : QStringLiteral("the parse found no value"); },
                             result.error));
    result.notes.append(QStringLiteral("one parse of it (at a start, or after another program changed it): %1 ms")
                            .arg(QString::number(BenchTools::median(parseMs), 'f', 1)));

    // For the record: a file of that size made of 40 long addresses.
    const QString many = folder + QStringLiteral("/links.ini");
    const QByteArray linkBytes = settingsBytes(false);
    QString linkError = writeFixture(many, linkBytes);
    QList<double> linkOurs;
    QList<double> linkBaseline;
    if (linkError.isEmpty()) {
        RegistryStore store(many);
        measure(store, baselineTarget, linkBytes, qMax(1, runs / 2), linkOurs, linkBaseline, linkError);
    }
    result.notes.append(QStringLiteral("the same save in a %1-byte file of 40 long addresses: %2 ms, baseline %3 ms%4")
                            .arg(linkBytes.size())
                            .arg(QString::number(BenchTools::median(linkOurs), 'f', 1))
                            .arg(QString::number(BenchTools::median(linkBaseline), 'f', 1))
                            .arg(linkError.isEmpty() ? QString() : QStringLiteral(" (") + linkError + u')'));
    QFile::remove(ini);
    QFile::remove(many);
    QFile::remove(baselineTarget);
    return result;
}

} // namespace SettingsSaveCase
