#include "settings/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <functional>
#include <optional>

namespace {

// How long a write waits for another writer of the same file before it gives up (silently).
constexpr int lockWaitMs = 5000;

QString cutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// "Software\Panoptra\MainForm" -> Software, Panoptra, MainForm. A part holding "/" would be
// read by QSettings as more than one group, so such a key is not a key here.
std::optional<QStringList> keyParts(const QString &key)
{
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.contains(QLatin1Char('/')))
            return std::nullopt;
    }
    return parts;
}

bool validValueName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString findIgnoringCase(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return QString();
}

// Enters the groups of the key, matching each part without regard to case. With create, a
// missing part is entered under the spelling given; without, false means the key is missing.
bool enterKey(QSettings &settings, const QStringList &parts, bool create)
{
    for (const QString &part : parts) {
        QString existing = findIgnoringCase(settings.childGroups(), part);
        if (existing.isEmpty()) {
            if (!create)
                return false;
            existing = part;
        }
        settings.beginGroup(existing);
    }
    return true;
}

// QSettings keeps parsed files in a process-wide cache and parses a file again only when its
// size or modification time changed, so an edit by another program within one timestamp tick
// that keeps the size would be missed, and a write would put the old values back. Each call
// therefore gives QSettings a copy of the file under a fresh name, which it must parse anew.
class Snapshot
{
public:
    explicit Snapshot(const QByteArray &contents)
        : m_file(QDir::tempPath() + QStringLiteral("/panoptra-settings-XXXXXX.ini"))
    {
        m_valid = m_file.open() && m_file.write(contents) == contents.size() && m_file.flush();
        m_file.close();
    }
    bool isValid() const { return m_valid; }
    QString path() const { return m_file.fileName(); }
    QByteArray contents() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryFile m_file;
    bool m_valid = false;
};

// The file's bytes; empty for a file that does not exist, nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Runs change on the current contents of the file, and writes the result back in one step
// when change reports that it changed something. Failures leave the file as it was.
void updateFile(const QString &iniPath, const std::function<bool(QSettings &)> &change)
{
    if (!QDir().mkpath(QFileInfo(iniPath).absolutePath()))
        return;
    // The same lock file QSettings takes, so other QSettings writers of the file wait for us.
    QLockFile lock(iniPath + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return;
    const std::optional<QByteArray> current = readFile(iniPath);
    if (!current)
        return;
    Snapshot snapshot(*current);
    if (!snapshot.isValid()) {
        // No usable temporary folder: let QSettings change the file itself. It takes the
        // same lock file, so ours goes first.
        lock.unlock();
        QSettings settings(iniPath, QSettings::IniFormat);
        if (change(settings))
            settings.sync();
        return;
    }
    {
        QSettings settings(snapshot.path(), QSettings::IniFormat);
        if (!change(settings))
            return;
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return;
    }
    QSaveFile out(iniPath);
    if (!out.open(QIODevice::WriteOnly))
        return;
    const QByteArray updated = snapshot.contents();
    if (out.write(updated) == updated.size())
        out.commit();
}

} // namespace

RegistryStore::RegistryStore() : m_iniPath(defaultIniPath()) {}

RegistryStore::RegistryStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

QString RegistryStore::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Panoptra/Panoptra.ini");
}

QString RegistryStore::GetRegString(RegistryRoot, const QString &key, const QString &valueName) const
{
    const std::optional<QStringList> parts = keyParts(key);
    if (!parts || !validValueName(valueName))
        return QString();
    // A read never creates the file, its folder or a lock file.
    const std::optional<QByteArray> contents = readFile(m_iniPath);
    if (!contents || contents->isEmpty())
        return QString();
    // Without a usable temporary folder, the file itself is read (with QSettings' cache).
    Snapshot snapshot(*contents);
    QSettings settings(snapshot.isValid() ? snapshot.path() : m_iniPath, QSettings::IniFormat);
    if (!enterKey(settings, *parts, false))
        return QString();
    const QString name = findIgnoringCase(settings.childKeys(), valueName);
    if (name.isEmpty())
        return QString();
    const QVariant value = settings.value(name);
    if (value.typeId() != QMetaType::QString)
        return QString();
    return cutAtNul(value.toString());
}

void RegistryStore::SaveRegString(RegistryRoot, const QString &key, const QString &valueName,
                                  const QString &text)
{
    const std::optional<QStringList> parts = keyParts(key);
    if (!parts || !validValueName(valueName))
        return;
    updateFile(m_iniPath, [&](QSettings &settings) {
        enterKey(settings, *parts, true);
        QString name = findIgnoringCase(settings.childKeys(), valueName);
        if (name.isEmpty())
            name = valueName;
        settings.setValue(name, cutAtNul(text));
        return true;
    });
}

void RegistryStore::DeleteRegValue(RegistryRoot, const QString &key, const QString &valueName)
{
    const std::optional<QStringList> parts = keyParts(key);
    if (!parts || !validValueName(valueName) || !QFileInfo(m_iniPath).isFile())
        return;
    updateFile(m_iniPath, [&](QSettings &settings) {
        if (!enterKey(settings, *parts, false))
            return false;
        const QString name = findIgnoringCase(settings.childKeys(), valueName);
        if (name.isEmpty())
            return false;

        // QSettings::remove also removes a subkey of the same name; keep its values and put
        // them back, so that only the value goes.
        QList<QPair<QString, QVariant>> subkeyValues;
        if (settings.childGroups().contains(name)) {
            settings.beginGroup(name);
            const QStringList all = settings.allKeys();
            for (const QString &sub : all)
                subkeyValues.append({sub, settings.value(sub)});
            settings.endGroup();
        }
        settings.remove(name);
        for (const auto &[sub, value] : subkeyValues)
            settings.setValue(name + QLatin1Char('/') + sub, value);
        return true;
    });
}
