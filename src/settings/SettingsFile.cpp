#include "settings/SettingsFile.h"

#include "platform/FileErrors.h"
#include "platform/FileServices.h"

namespace {

// A settings file is a few KiB; a larger one is read all the same, up to a size no settings
// file reaches unless something else has taken its place.
constexpr qint64 largestFile = qint64(256) << 20;
// A file that keeps changing while it is read is taken as read after this many tries, and read
// again next time.
constexpr int readTries = 3;

} // namespace

SettingsFile::SettingsFile(FileServices &files, QString path) : m_files(files), m_path(std::move(path)) {}

bool SettingsFile::refresh()
{
    std::optional<FileStamp> stamp = FileStamp::of(m_path);
    if (stamp && m_stamp && *stamp == *m_stamp && !m_stamp->recent)
        return false;

    for (int attempt = 1;; ++attempt) {
        if (!stamp)
            return settle(State::Unreadable, QByteArray(), std::nullopt);
        if (!stamp->exists)
            return settle(State::Missing, QByteArray(), stamp);
        FileContents contents = m_files.readFile(m_path, largestFile);
        const bool gone = contents.error == FileErrors::FileNotFound || contents.error == FileErrors::PathNotFound;
        if (!gone && (contents.error != FileErrors::None || contents.tooLarge))
            return settle(State::Unreadable, QByteArray(), std::nullopt);
        const std::optional<FileStamp> after = FileStamp::of(m_path);
        // The same stamp before and after: the bytes are those of that stamp.
        if (!gone && after && *after == *stamp)
            return settle(State::Read, std::move(contents.data), stamp);
        if (attempt == readTries)
            return settle(gone ? State::Missing : State::Read, std::move(contents.data), std::nullopt);
        stamp = after;
    }
}

bool SettingsFile::write(const QByteArray &bytes)
{
    // Read again next time whatever the outcome: another program may write right after us, and
    // a failed write may have left the file other than we think.
    m_stamp.reset();
    if (m_files.writeFile(m_path, bytes) != FileErrors::None)
        return false;
    m_state = State::Read;
    m_bytes = bytes;
    return true;
}

bool SettingsFile::settle(State state, QByteArray bytes, std::optional<FileStamp> stamp)
{
    const bool changed = state != m_state || bytes != m_bytes;
    m_state = state;
    m_bytes = std::move(bytes);
    m_stamp = stamp;
    return changed;
}
