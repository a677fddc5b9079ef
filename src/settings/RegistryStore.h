#pragma once

#include "settings/IniDocument.h"
#include "settings/RegistryEdit.h"
#include "settings/SettingsFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The registry root every caller names. Only the current user's root exists here.
enum class RegistryRoot { CurrentUser };
inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;

// Text values under keys such as "Software\Panoptra\MainForm", kept in an INI file that
// QSettings reads and writes alike. Key and value names compare without regard to case; a
// value that is missing or not text reads as "".
//
// The file is parsed once and read again only when it changed on disk, so another program's
// edit is seen by the next read. A save or a delete rewrites only the line it changes, in one
// step (the old file stays whole until the new one is complete), under the lock file QSettings
// takes too, and never writes over a file it could not read. One that cannot be done (a full
// disk, a lock its live holder keeps, a file that cannot be read, a link that leads outside the
// files of the settings folder's owner) reports false; its change is kept in memory for the
// rest of the run, so reads give it, and the next save that succeeds writes it too.
class RegistryStore
{
public:
    // The store in $XDG_CONFIG_HOME/Panoptra/Panoptra.ini (~/.config when it is not set).
    RegistryStore();
    explicit RegistryStore(QString iniPath);
    virtual ~RegistryStore() = default;

    // XDG_CONFIG_HOME where it is an absolute path (a relative one is ignored, as the
    // base-directory rules say), else ~/.config; then Panoptra/Panoptra.ini.
    static QString defaultIniPath();
    const QString &iniPath() const { return m_file.path(); }

    virtual QString GetRegString(RegistryRoot root, const QString &key, const QString &valueName) const;
    // True when the file holds the text (or the lack of the value) afterwards.
    virtual bool SaveRegString(RegistryRoot root, const QString &key, const QString &valueName,
                               const QString &text);
    virtual bool DeleteRegValue(RegistryRoot root, const QString &key, const QString &valueName);

    // Reads and changes that belong together, as one step: under the lock, decide reads the
    // file as it is then (with this run's unsaved changes) and records its changes, which are
    // written together. decide may run twice (once on what was last read, to see whether
    // anything changes at all, then under the lock), so it only reads and records. False as a
    // save's: the changes of the last run of decide are kept for this run.
    bool edit(const std::function<void(RegistryEdit &)> &decide);

    // False while the file is there but cannot be read (nothing of it is known).
    bool canRead() const;

    // What a caller tells the user, once, when a save or a delete reported false.
    QString saveFailedMessage() const;

private:
    // The file's values with the changes not yet written applied.
    const IniDocument &current() const;
    bool writeLocked(const std::function<void(RegistryEdit &)> &decide, QList<RegistryEdit::Change> &changes);

    mutable SettingsFile m_file;
    mutable IniDocument m_disk;
    mutable std::optional<IniDocument> m_view;
    QList<RegistryEdit::Change> m_unsaved;
};
