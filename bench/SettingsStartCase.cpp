#include "SettingsStartCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "platform/FileStamp.h"
#include "settings/ColorStore.h"
#include "settings/RegistryStore.h"
#include "web/UserLinkSlots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 fileBytes = qint64(4) << 20;
// For the note: a file of the same size made of many short values of another program.
constexpr int otherValues = 60000;

const QList<const UserLinkFamily *> &families()
{
    static const QList<const UserLinkFamily *> list = {&UserLinkSlots::auctions(), &UserLinkSlots::favourites(),
                                                       &UserLinkSlots::searchEngines()};
    return list;
}

QString linkName(const UserLinkFamily &family, int slot)
{
    return QStringLiteral("Link %1 %2").arg(family.stem).arg(slot);
}

// The settings file as the program (or QSettings) writes it: the three colours and 40 links.
// With padding, each address is a data: address of about 100 KiB; with other values, short
// values of another program fill the file instead.
QString writeSettings(const QString &ini, bool longAddresses)
{
    QFile::remove(ini);
    QSettings settings(ini, QSettings::IniFormat);
    for (const ColorSetting setting : {ColorSetting::Desktop, ColorSetting::Folders, ColorSetting::Files})
        settings.setValue(QStringLiteral("Software/Panoptra/MainForm/") + ColorStore::valueName(setting),
                          QStringLiteral("16711680"));
    const qint64 addressBytes = longAddresses ? fileBytes / 40 : 40;
    for (const UserLinkFamily *family : families()) {
        for (int slot = 1; slot <= family->count; ++slot) {
            const QString name = family->slotName(slot);
            settings.setValue(QStringLiteral("Software/Panoptra/Menu/") + name, linkName(*family, slot));
            settings.setValue(QStringLiteral("Software/Panoptra/WebLinks/") + name,
                              QStringLiteral("data:text/plain;base64,") + QString(addressBytes, u'Q'));
        }
    }
    if (!longAddresses) {
        for (int i = 0; i < otherValues; ++i)
            settings.setValue(QStringLiteral("Software/Other/Section%1/value%2").arg(i % 100).arg(i),
                              QStringLiteral("some text of another program"));
    }
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return QStringLiteral("QSettings could not write %1").arg(ini);
    // A file changed within the last tick of the file clock is read on every look; a start
    // meets a file written long before.
    for (int wait = 0; wait < 500 && FileStamp::of(ini).value_or(FileStamp{}).recent; ++wait)
        QThread::msleep(10);
    return QString();
}

// The start's reads on a store that has not read the file yet; "" or what was wrong.
QString startReads(const QString &ini)
{
    RegistryStore store(ini);
    ColorStore colors(store);
    QString error;
    const auto checkName = [&](const UserLinkFamily &family) {
        for (int slot = 1; slot <= family.count; ++slot) {
            if (UserLinkSlots::storedName(store, family, slot) != linkName(family, slot))
                error = QStringLiteral("%1 reads wrong").arg(family.slotName(slot));
        }
    };
    checkName(UserLinkSlots::auctions());
    for (const ColorSetting setting : {ColorSetting::Desktop, ColorSetting::Folders, ColorSetting::Files}) {
        if (colors.load(setting) != 16711680)
            error = QStringLiteral("a colour reads wrong");
    }
    checkName(UserLinkSlots::favourites());
    checkName(UserLinkSlots::searchEngines());
    return error;
}

// One read() of the whole file into a buffer of its size.
QString readOnce(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return QStringLiteral("cannot open the settings file");
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    const ssize_t got = ::read(fd, data.data(), size_t(data.size()));
    ::close(fd);
    return got == data.size() ? QString() : QStringLiteral("a short read");
}

} // namespace

namespace SettingsStartCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString folder = fixtures.root() + QStringLiteral("/settings-start");
    QDir().mkpath(folder);
    const QString ini = folder + QStringLiteral("/Panoptra.ini");
    const QByteArray encoded = QFile::encodeName(ini);
    result.error = writeSettings(ini, true);
    if (!result.error.isEmpty())
        return result;
    result.notes.append(QStringLiteral("settings file: %1 bytes").arg(QFileInfo(ini).size()));

    const auto ours = [&] { return startReads(ini); };
    const auto baseline = [&] { return readOnce(encoded); };
    // One untimed run of each brings the file into the page cache and checks what is read.
    (void)BenchTools::timedMs(ours, result.error);
    (void)BenchTools::timedMs(baseline, result.error);
    for (int run = 0; run < runs && result.error.isEmpty(); ++run) {
        const bool oursFirst = run % 2 == 0;
        for (int side = 0; side < 2; ++side) {
            if ((side == 0) == oursFirst)
                result.oursMs.append(BenchTools::timedMs(ours, result.error));
            else
                result.baselineMs.append(BenchTools::timedMs(baseline, result.error));
        }
    }
    if (!result.error.isEmpty())
        return result;

    // For the record: the same start on a file of that size made of many short values.
    const QString many = folder + QStringLiteral("/many.ini");
    if (const QString error = writeSettings(many, false); !error.isEmpty()) {
        result.notes.append(error);
        return result;
    }
    QList<double> manyMs;
    QString manyError;
    for (int run = 0; run <= runs; ++run)
        manyMs.append(BenchTools::timedMs([&] { return startReads(many); }, manyError));
    manyMs.removeFirst();
    result.notes.append(QStringLiteral("the same reads on a %1-byte file of %2 short values: %3 ms%4")
                            .arg(QFileInfo(many).size())
                            .arg(otherValues + 83)
                            .arg(QString::number(BenchTools::median(manyMs), 'f', 2))
                            .arg(manyError.isEmpty() ? QString() : QStringLiteral(" (") + manyError + u')'));
    return result;
}

} // namespace SettingsStartCase
