#include "settings/RegistryStore.h"

#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathCodec.h"

#include <QLockFile>
#include <QStandardPaths>

namespace {

// How long a save waits for another writer of the file (which holds the lock for a few
// milliseconds) before it gives up and says so; the window must not freeze on a stuck lock.
constexpr int lockWaitMs = 50;

QString cutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// "Software\Panoptra\MainForm" and "Form BackColor" -> Software, Panoptra, MainForm, Form
// BackColor. The file keeps "/" between groups, so a name holding one is no name here.
std::optional<QStringList> valuePath(const QString &key, const QString &valueName)
{
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.contains(QLatin1Char('/')))
            return std::nullopt;
    }
    if (valueName.isEmpty() || valueName.contains(QLatin1Char('/')) || valueName.contains(QLatin1Char('\\')))
        return std::nullopt;
    parts.append(valueName);
    return parts;
}

// Makes folder and every missing folder above it.
bool makeFolders(FileServices &files, const QString &folder)
{
    if (folder.isEmpty() || files.exists(folder))
        return true;
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && !makeFolders(files, folder.left(slash)))
        return false;
    return files.makeFolder(folder) == FileErrors::None;
}

} // namespace

RegistryStore::RegistryStore(FileServices &files) : RegistryStore(files, defaultIniPath()) {}

RegistryStore::RegistryStore(FileServices &files, QString iniPath)
    : m_files(files), m_file(files, std::move(iniPath))
{
}

QString RegistryStore::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Panoptra/Panoptra.ini");
}

QString RegistryStore::GetRegString(RegistryRoot, const QString &key, const QString &valueName) const
{
    const std::optional<QStringList> path = valuePath(key, valueName);
    if (!path)
        return QString();
    const std::optional<IniSyntax::Value> value = current().value(path->join(QLatin1Char('/')));
    if (!value || !value->isText)
        return QString();
    return cutAtNul(value->text);
}

bool RegistryStore::SaveRegString(RegistryRoot, const QString &key, const QString &valueName, const QString &text)
{
    const std::optional<QStringList> path = valuePath(key, valueName);
    return path && change({*path, cutAtNul(text)});
}

bool RegistryStore::DeleteRegValue(RegistryRoot, const QString &key, const QString &valueName)
{
    const std::optional<QStringList> path = valuePath(key, valueName);
    return path && change({*path, std::nullopt});
}

QString RegistryStore::saveFailedMessage() const
{
    return QStringLiteral("The settings file could not be saved.\r\n") + PathCodec::displayText(iniPath());
}

const IniDocument &RegistryStore::current() const
{
    if (m_file.refresh()) {
        m_disk = IniDocument(m_file.bytes());
        m_view.reset();
    }
    if (m_unsaved.isEmpty())
        return m_disk;
    if (!m_view) {
        IniDocument view = m_disk;
        for (const Change &unsaved : m_unsaved) {
            if (unsaved.text)
                view.setText(unsaved.path, *unsaved.text);
            else
                view.remove(unsaved.path.join(QLatin1Char('/')));
        }
        m_view = std::move(view);
    }
    return *m_view;
}

IniDocument RegistryStore::changed(const Change &change) const
{
    IniDocument document = m_disk;
    QList<Change> changes = m_unsaved;
    changes.append(change);
    for (const Change &each : changes) {
        if (each.text)
            document.setText(each.path, *each.text);
        else
            document.remove(each.path.join(QLatin1Char('/')));
    }
    return document;
}

bool RegistryStore::change(const Change &change)
{
    // A change the file holds already needs no folder, no lock file and no write.
    current();
    bool done = m_file.state() != SettingsFile::State::Unreadable && changed(change).bytes() == m_disk.bytes();
    if (!done)
        done = writeLocked(change);
    if (done)
        m_unsaved.clear();
    else
        m_unsaved.append(change);
    m_view.reset();
    return done;
}

bool RegistryStore::writeLocked(const Change &change)
{
    const QString &path = m_file.path();
    if (!makeFolders(m_files, path.left(qMax(qsizetype(0), path.lastIndexOf(QLatin1Char('/'))))))
        return false;
    // The lock file QSettings takes too, so that writers of either kind take turns.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        return false;
    // What another writer left is read under the lock, so that its changes stay.
    if (m_file.refresh())
        m_disk = IniDocument(m_file.bytes());
    if (m_file.state() == SettingsFile::State::Unreadable)
        return false;
    IniDocument updated = changed(change);
    if (updated.bytes() != m_disk.bytes() && !m_file.write(updated.bytes()))
        return false;
    m_disk = std::move(updated);
    return true;
}
