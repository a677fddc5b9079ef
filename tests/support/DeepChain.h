#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

// A chain of folders below an existing folder, each level of the same name, with one file at
// the bottom: made and removed a level at a time, since the whole path may be longer than the
// system takes in one call. Removed with everything in its bottom folder when the object goes.
class DeepChain
{
public:
    DeepChain(const QString &folder, const QByteArray &levelName, int depth, const QByteArray &fileName,
              const QByteArray &contents, mode_t mode = 0644);
    ~DeepChain();
    DeepChain(const DeepChain &) = delete;
    DeepChain &operator=(const DeepChain &) = delete;

    bool isMade() const { return m_made; }
    // The bottom folder and the file in it.
    QString folderPath() const;
    QString filePath() const;
    // Whether the bottom folder holds name, and what (empty when it cannot be read).
    QByteArray readInBottom(const QByteArray &name) const;

private:
    // The bottom folder, opened a level at a time; -1 when it cannot be.
    int openBottom() const;

    QString m_folder;
    QByteArray m_levelName;
    int m_depth;
    QByteArray m_fileName;
    bool m_made = false;
};
