#include "settings/RegistryStore.h"

#include "platform/LockFile.h"
#include "platform/PathCodec.h"

#include <QDir>

#include <pwd.h>
#include <unistd.h>

namespace {

// How long a save waits for another writer of the file before it gives up and says so. A writer
// holds the lock for the few milliseconds of one write, so this is many writers in a row; the
// window must still not freeze long on a lock its holder never lets go.
constexpr int lockWaitMs = 1000;

QString homeFolder()
{
    const QString home = QDir::homePath();
    if (home.startsWith(u'/') && home != QLatin1String("/"))
        return home;
    const passwd *user = ::getpwuid(::geteuid());
    return user && user->pw_dir ? PathCodec::decode(user->pw_dir, qsizetype(qstrlen(user->pw_dir))) : home;
}

} // namespace

RegistryStore::RegistryStore() : RegistryStore(defaultIniPath()) {}

RegistryStore::RegistryStore(QString iniPath) : m_file(std::move(iniPath)) {}

QString RegistryStore::defaultIniPath()
{
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    const QString base = configHome.startsWith('/')
                             ? PathCodec::decode(configHome.constData(), configHome.size())
                             : homeFolder() + QStringLiteral("/.config");
    return base + QStringLiteral("/Panoptra/Panoptra.ini");
}

QString RegistryStore::GetRegString(RegistryRoot, const QString &key, const QString &valueName) const
{
    const std::optional<QStringList> path = RegistryEdit::valuePath(key, valueName);
    return path ? RegistryEdit::textIn(current(), *path) : QString();
}

bool RegistryStore::SaveRegString(RegistryRoot root, const QString &key, const QString &valueName, const QString &text)
{
    return RegistryEdit::valuePath(key, valueName)
        && edit([&](RegistryEdit &change) { change.SaveRegString(root, key, valueName, text); });
}

bool RegistryStore::DeleteRegValue(RegistryRoot root, const QString &key, const QString &valueName)
{
    return RegistryEdit::valuePath(key, valueName)
        && edit([&](RegistryEdit &change) { change.DeleteRegValue(root, key, valueName); });
}

bool RegistryStore::canRead() const
{
    current();
    return m_file.state() != SettingsFile::State::Unreadable;
}

QString RegistryStore::saveFailedMessage() const
{
    return QStringLiteral("The settings file could not be saved.\r\n") + PathCodec::displayText(iniPath());
}

const IniDocument &RegistryStore::current() const
{
    if (m_file.refresh(m_disk.bytes())) {
        m_disk = IniDocument(m_file.takeBytes());
        m_view.reset();
    }
    if (m_unsaved.isEmpty())
        return m_disk;
    if (!m_view) {
        IniDocument view = m_disk;
        for (const RegistryEdit::Change &unsaved : m_unsaved)
            RegistryEdit::apply(view, unsaved);
        m_view = std::move(view);
    }
    return *m_view;
}

bool RegistryStore::edit(const std::function<void(RegistryEdit &)> &decide)
{
    // A change the file holds already needs no folder, no lock file and no write.
    RegistryEdit first(current());
    decide(first);
    QList<RegistryEdit::Change> changes = first.changes();
    bool done = m_file.state() != SettingsFile::State::Unreadable && m_unsaved.isEmpty() && !first.changesAnything();
    if (!done)
        done = writeLocked(decide, changes);
    if (done)
        m_unsaved.clear();
    else
        m_unsaved.append(changes);
    m_view.reset();
    return done;
}

bool RegistryStore::writeLocked(const std::function<void(RegistryEdit &)> &decide,
                                QList<RegistryEdit::Change> &changes)
{
    // The lock file QSettings takes too, so that writers of either kind take turns.
    LockFile lock(m_file.path() + QStringLiteral(".lock"));
    if (!lock.lock(lockWaitMs))
        return false;
    // What another writer left is read under the lock, so that its changes stay.
    const IniDocument &view = current();
    if (m_file.state() == SettingsFile::State::Unreadable)
        return false;
    {
        RegistryEdit underLock(view);
        decide(underLock);
        changes = underLock.changes();
    }
    // The document changes where it is, its bytes moved rather than copied: the file's size
    // counts here (a settings file of many megabytes saves at the cost of writing it).
    m_view.reset();
    bool differs = false;
    for (const RegistryEdit::Change &unsaved : m_unsaved)
        differs = RegistryEdit::apply(m_disk, unsaved) || differs;
    for (const RegistryEdit::Change &change : changes)
        differs = RegistryEdit::apply(m_disk, change) || differs;
    if (!differs || m_file.write(m_disk.bytes()))
        return true;
    // The file is as it was: read again at the next look.
    m_disk = IniDocument();
    m_file.forget();
    return false;
}
