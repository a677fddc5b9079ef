#pragma once

#include "platform/FileServices.h"
#include "platform/FileWriting.h"

class PosixFileServices : public FileServices
{
public:
    int copyFile(const QString &source, const QString &target) override;
    int rename(const QString &from, const QString &to) override;
    int makeFolder(const QString &path) override;
    int removeFolder(const QString &path) override;
    bool exists(const QString &path) override;
    qint64 length(const QString &path) override;
    FileContents readFile(const QString &path, qint64 maxSize) override;
    FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                  const std::function<bool(QByteArrayView)> &consume) override;
    std::shared_ptr<FileReader> reader() override;
    int writeFile(const QString &path, const QByteArray &data) override;
    int replaceFile(const QString &path, const QByteArray &data) override;
    WriteResult writeFilePieces(const QString &path, const FilePieces &pieces, LinkAtPath link) override;
    bool isSameFile(const QString &a, const QString &b) override;

    // For tests that cut a write short where a crash could: steps is called at each named step
    // of every write from here on.
    void setWriteSteps(WriteSteps steps) { m_writeSteps = std::move(steps); }

private:
    WriteSteps m_writeSteps;
};
