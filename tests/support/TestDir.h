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
    ~TestDir();
    TestDir(const TestDir &) = delete;
    TestDir &operator=(const TestDir &) = delete;
    QString path() const { return m_dir.path(); }
    // path() + "/" + relative
    QString filePath(const QString &relative) const;
    // Creates the file (and its folders) with the given contents; returns its full path.
    QString createFile(const QString &relative, const QByteArray &contents = "x");
    QString createDir(const QString &relative);
    QByteArray read(const QString &relative) const;
    // Removes everything inside folder by bytes, where QTemporaryDir cannot remove a name that
    // is not UTF-8 (QDir decodes it into the name of another file).
    static void removeContents(const QString &folder);
    // The names in a folder of the tree, sorted, dot-files included.
    QStringList entries(const QString &relative = QString()) const;

private:
    QTemporaryDir m_dir;
};
