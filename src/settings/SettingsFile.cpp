#include "settings/SettingsFile.h"

#include "platform/OwnedFile.h"

namespace {

// A settings file is a few KiB; a larger one is read all the same, up to a size no settings
// file reaches unless something else has taken its place.
constexpr qint64 largestFile = qint64(256) << 20;
// A file that keeps changing while it is read is taken as read after this many tries, and read
// again next time.
constexpr int readTries = 3;

} // namespace

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

bool SettingsFile::refresh(const QByteArray &known)
{
    std::optional<FileStamp> stamp = FileStamp::of(m_path);
    if (stamp && m_stamp && *stamp == *m_stamp && !m_stamp->recent)
        return false;

    for (int attempt = 1;; ++attempt) {
        if (!stamp)
            return settle(State::Unreadable, QByteArray(), known, std::nullopt);
        if (!stamp->exists)
            return settle(State::Missing, QByteArray(), known, stamp);
        // Compared with known as it is read: bytes that are the same are not kept twice.
        OwnedFile::Contents contents = OwnedFile::read(m_path, largestFile, &known);
        const bool gone = contents.status == OwnedFile::Contents::Status::Missing;
        if (!gone && contents.status != OwnedFile::Contents::Status::Read)
            return settle(State::Unreadable, QByteArray(), known, std::nullopt);
        const std::optional<FileStamp> after = FileStamp::of(m_path);
        // The same stamp before and after: the bytes are those of that stamp.
        if (!gone && after && *after == *stamp)
            return settle(State::Read, std::move(contents.data), known, stamp);
        if (attempt == readTries)
            return settle(gone ? State::Missing : State::Read, std::move(contents.data), known, std::nullopt);
        stamp = after;
    }
}

bool SettingsFile::write(const QByteArray &bytes)
{
    // Read again next time whatever the outcome: another program may write right after us, and
    // a failed write may have left the file other than we think.
    m_stamp.reset();
    if (OwnedFile::write(m_path, bytes) != OwnedFile::Written::Done)
        return false;
    m_state = State::Read;
    return true;
}

void SettingsFile::forget()
{
    m_stamp.reset();
    m_state = State::Missing;
    m_bytes.clear();
}

bool SettingsFile::settle(State state, QByteArray bytes, const QByteArray &known, std::optional<FileStamp> stamp)
{
    const bool same = bytes.size() == known.size() && (bytes.constData() == known.constData() || bytes == known);
    const bool changed = state != m_state || !same;
    m_state = state;
    m_bytes = changed ? std::move(bytes) : QByteArray();
    m_stamp = stamp;
    return changed;
}
