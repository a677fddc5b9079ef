#pragma once

#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

// The state of the settings file as last looked at. Its bytes are read again only when it may have
// changed since: when its stamp (identity, size, times to the nanosecond) differs, or while its
// last change is too recent for the stamp to tell (see FileStamp).
//
// The file is read and written through OwnedFile: a link at it or at a folder on its way is
// followed only where it leads to a file or folder of the same owner as the folder holding the
// link, so root saving in a user's folder never writes outside that user's files. A file that
// such a link leads to is Unreadable, and nothing is written over it.
class SettingsFile
{
public:
    enum class State {
        Missing,    // there is no file: it reads as empty
        Read,       // the file was read
        Unreadable, // there is a file, but it could not be read: nothing may be written over it
    };

    explicit SettingsFile(QString path);

    const QString &path() const { return m_path; }
    State state() const { return m_state; }
    // Brings state() up to date with the file; true when it changed, or the file's bytes are
    // other than known (what the caller holds as its contents). takeBytes() then gives them.
    // The caller keeps the only copy of the contents, so that it may change them where they are.
    bool refresh(const QByteArray &known);
    QByteArray takeBytes() { return std::exchange(m_bytes, QByteArray()); }
    // Looks at the file afresh at the next refresh, as if nothing were known of it.
    void forget();
    // Replaces the file's contents by bytes in one step (OwnedFile::write: a temporary file made
    // whole, then renamed over it; owner, group and mode kept). On failure the file is as it
    // was. False when it failed. Only while holding the file's lock.
    bool write(const QByteArray &bytes);

private:
    bool settle(State state, QByteArray bytes, const QByteArray &known, std::optional<FileStamp> stamp);

    QString m_path;
    State m_state = State::Missing;
    // What refresh found, until taken.
    QByteArray m_bytes;
    // The stamp the contents were read under; nothing when the file must be read at the next refresh.
    std::optional<FileStamp> m_stamp;
};
