#pragma once

#include "platform/FileServices.h"

// Reads whole files for a worker thread, which keeps the reader for as long as it reads: a
// reader holds nothing that the window's thread may destroy meanwhile.
class FileReader
{
public:
    virtual ~FileReader() = default;

    // As FileServices::length and FileServices::readFileInPieces.
    virtual qint64 length(const QString &path) = 0;
    virtual FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                          const std::function<bool(QByteArrayView)> &consume) = 0;
};
