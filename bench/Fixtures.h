#pragma once

#include <QString>

// The folders and files the cases run on, made once under one root folder. Each maker leaves a
// marker when it has finished, so a root given again (--fixtures) is not made twice.
class Fixtures
{
public:
    static constexpr int manyFilesCount = 100000;
    // Every tenth file ends in ".txt" (half of them as ".TXT").
    static constexpr int matchEvery = 10;
    static constexpr int manyFoldersCount = 10000;
    static constexpr qint64 bigFileBytes = qint64(1) << 30;
    // The search tree: every folder down to searchTreeDepth levels below the top holds
    // searchTreeBranches subfolders (11,111 folders in all) and searchTreeFiles files (222,220).
    static constexpr int searchTreeBranches = 10;
    static constexpr int searchTreeDepth = 4;
    static constexpr int searchTreeFiles = 20;
    static constexpr int flatFilesCount = 1000000;
    // The editor's big file: a log of about 120 bytes a line; and its long line, hex digits
    // with no blank to break at, followed by one line end.
    static constexpr qint64 bigLogBytes = 59'000'000;
    static constexpr qint64 hexLineBytes = 1'000'000;
    // Longer lines of hex digits, each a file of its own; a letter followed by a run of
    // combining marks (two bytes each in UTF-8), all in one cluster.
    static constexpr qint64 tenMegabyteLine = 10'000'000;
    static constexpr qint64 sixtyFourMebibyteLine = qint64(64) << 20;
    static constexpr qint64 markRunLength = 1'000'000;
    // The file of many short lines the edits are made in.
    static constexpr qint64 manyLinesCount = 4'000'000;

    explicit Fixtures(const QString &root);

    QString root() const { return m_root; }
    // manyFilesCount regular files with mixed-case names, plus a few subfolders and dot-files
    // that a file list leaves out.
    QString manyFiles() const;
    QString manyFolders() const;
    QString bigFile() const;
    // Where the copy case writes; on the same filesystem as bigFile().
    QString copyFolder() const;
    QString emptyFolder() const;
    // The tree the deep search walks: one file name in matchEvery ends in ".log" (half of them
    // as ".LOG"), and no name begins with a dot.
    QString searchTree() const;
    // flatFilesCount regular files in one folder, nothing else.
    QString flatFolder() const;
    QString bigLog() const;
    QString hexLine() const;
    // The line of digits hex digits (tenMegabyteLine or sixtyFourMebibyteLine).
    QString hexLine(qint64 digits) const;
    QString markLine() const;
    QString manyLines() const;

    // Each returns "" or what went wrong.
    QString makeManyFiles() const;
    QString makeManyFolders() const;
    QString makeBigFile() const;
    QString makeEmptyFolder() const;
    QString makeSearchTree() const;
    QString makeFlatFolder() const;
    QString makeBigLog() const;
    QString makeHexLine() const;
    QString makeLongHexLines() const;
    QString makeMarkLine() const;
    QString makeManyLines() const;

    // The name of entry i of a fixture folder: unique without regard to case, not in creation
    // order when sorted.
    static QString entryName(int i, int count);

private:
    bool ready(const QString &what) const;
    // digits random hex digits and a line end, as one file at path.
    QString makeHexFile(const QString &path, qint64 digits) const;
    QString markReady(const QString &what) const;

    QString m_root;
};
