#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A small fixture tree in a temporary folder.
class TestDir
{
public:
    TestDir();
    QString path() const { return m_dir.path(); }
    // path() + "/" + relative
    QString filePath(const QString &relative) const;
    // Creates the file (and its folders) with the given contents; returns its full path.
    QString createFile(const QString &relative, const QByteArray &contents = "x");
    QString createDir(const QString &relative);
    QByteArray read(const QString &relative) const;
    // The names in a folder of the tree, sorted, dot-files included.
    QStringList entries(const QString &relative = QString()) const;

private:
    QTemporaryDir m_dir;
};
