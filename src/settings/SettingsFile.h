#pragma once

#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <optional>

class FileServices;

// The settings file's bytes as last read. They are read again only when the file may have
// changed since: when its stamp (identity, size, times to the nanosecond) differs, or while its
// last change is too recent for the stamp to tell (see FileStamp).
class SettingsFile
{
public:
    enum class State {
        Missing,    // there is no file: it reads as empty
        Read,       // bytes() holds what the file holds
        Unreadable, // there is a file, but it could not be read: nothing may be written over it
    };

    SettingsFile(FileServices &files, QString path);

    const QString &path() const { return m_path; }
    State state() const { return m_state; }
    const QByteArray &bytes() const { return m_bytes; }

    // Brings state() and bytes() up to date with the file; true when either changed.
    bool refresh();
    // Replaces the file's contents by bytes in one step (FileServices::writeFile: a temporary
    // file made whole, then renamed over it; a link's target is written, the mode kept). On
    // failure the file is as it was. False when it failed.
    bool write(const QByteArray &bytes);

private:
    bool settle(State state, QByteArray bytes, std::optional<FileStamp> stamp);

    FileServices &m_files;
    QString m_path;
    State m_state = State::Missing;
    QByteArray m_bytes;
    // The stamp bytes() were read under; nothing when the file must be read at the next refresh.
    std::optional<FileStamp> m_stamp;
};
