#pragma once

#include <QString>

// The registry root every caller names. Only the current user's root exists here.
enum class RegistryRoot { CurrentUser };
inline constexpr RegistryRoot HKEY_CURRENT_USER = RegistryRoot::CurrentUser;

// Text values under keys such as "Software\Panoptra\MainForm", kept in an INI file.
// Every call reads or writes the file afresh, so another program's edit is seen by the next read.
// Key and value names compare without regard to case. Nothing is ever reported: a value that
// is missing or not text reads as "".
class RegistryStore
{
public:
    // The store in $XDG_CONFIG_HOME/Panoptra/Panoptra.ini (~/.config when it is not set).
    RegistryStore();
    explicit RegistryStore(QString iniPath);
    virtual ~RegistryStore() = default;

    static QString defaultIniPath();
    const QString &iniPath() const { return m_iniPath; }

    virtual QString GetRegString(RegistryRoot root, const QString &key, const QString &valueName) const;
    virtual void SaveRegString(RegistryRoot root, const QString &key, const QString &valueName,
                               const QString &text);
    virtual void DeleteRegValue(RegistryRoot root, const QString &key, const QString &valueName);

private:
    QString m_iniPath;
};
