#pragma once

#include <QByteArray>
#include <QDateTime>

// One trash folder on one volume, with its files/ and info/ folders. Paths are the bytes the
// system takes.
class TrashFolder
{
public:
    // Whether the trash folder itself may be reached through a link. A trash in a volume's top
    // folder, which other users can write, must be a real folder of ours; the home trash is
    // the user's own business.
    enum class Kind { Home, Volume };

    TrashFolder(QByteArray path, Kind kind);

    const QByteArray &path() const { return m_path; }

    // Makes the trash and its two folders where they are missing (0700). False, with nothing
    // made, when one of them exists but is not a folder (or, for a volume trash, is a link or
    // belongs to another user); false when one cannot be made.
    bool prepare() const;

    // Moves the file into this trash under a free name. Its record is made first (O_EXCL),
    // written whole and closed; only then is the file renamed beside it. False when any step
    // failed: then the record is gone again and the file is where it was.
    bool store(const QByteArray &file, const QByteArray &originalPath, const QDateTime &deleted) const;

private:
    bool isUsableFolder(const QByteArray &folder, bool mayBeLink) const;
    bool makeFolder(const QByteArray &folder, bool mayBeLink) const;
    int maxNameBytes() const;

    QByteArray m_path;
    Kind m_kind;
};
