#pragma once

#include "settings/IniDocument.h"
#include "settings/SettingsFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FileServices;

// The registry root every caller names. Only the current user's root exists here.
enum class RegistryRoot { CurrentUser };
inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;

// Text values under keys such as "Software\Panoptra\MainForm", kept in an INI file that
// QSettings reads and writes alike. Key and value names compare without regard to case; a
// value that is missing or not text reads as "".
//
// The file is parsed once and read again only when it changed on disk, so another program's
// edit is seen by the next read. A save or a delete rewrites only the line it changes, in one
// step (the old file stays whole until the new one is complete), and never writes over a file
// it could not read. One that cannot be done (a full disk, a lock nobody releases, a file that
// cannot be read) reports false; its change is kept in memory for the rest of the run, so
// reads give it, and the next save that succeeds writes it too.
class RegistryStore
{
public:
    // The store in $XDG_CONFIG_HOME/Panoptra/Panoptra.ini (~/.config when it is not set).
    explicit RegistryStore(FileServices &files);
    RegistryStore(FileServices &files, QString iniPath);
    virtual ~RegistryStore() = default;

    static QString defaultIniPath();
    const QString &iniPath() const { return m_file.path(); }

    virtual QString GetRegString(RegistryRoot root, const QString &key, const QString &valueName) const;
    // True when the file holds the text (or the lack of the value) afterwards.
    virtual bool SaveRegString(RegistryRoot root, const QString &key, const QString &valueName,
                               const QString &text);
    virtual bool DeleteRegValue(RegistryRoot root, const QString &key, const QString &valueName);

    // What a caller tells the user, once, when a save or a delete reported false.
    QString saveFailedMessage() const;

private:
    // A save (text) or a delete (no text) of the value under path: the groups, then its name.
    struct Change
    {
        QStringList path;
        std::optional<QString> text;
    };

    // The file's values with the changes not yet written applied.
    const IniDocument &current() const;
    bool change(const Change &change);
    // The file's values as just read, with the unsaved changes and then change applied.
    IniDocument changed(const Change &change) const;
    bool writeLocked(const Change &change);

    FileServices &m_files;
    mutable SettingsFile m_file;
    mutable IniDocument m_disk;
    mutable std::optional<IniDocument> m_view;
    QList<Change> m_unsaved;
};
