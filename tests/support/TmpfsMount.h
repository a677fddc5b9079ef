#pragma once

#include <QString>

// A small tmpfs mounted on a folder for as long as the object lives, for running out of space
// or crossing a filesystem for real. Mounting needs root; check isMounted() and skip otherwise.
class TmpfsMount
{
public:
    // size as mount(8) takes it, e.g. "1m".
    TmpfsMount(const QString &folder, const QString &size);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool isMounted() const { return m_mounted; }
    // Makes the mounted volume read-only, as a write-protected medium is.
    bool remountReadOnly();
    // Why mounting failed, for the skip message.
    const QString &error() const { return m_error; }

private:
    QString m_folder;
    QString m_error;
    bool m_mounted = false;
};
