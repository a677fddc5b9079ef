#pragma once

#include "textbox/TextCodec.h"

#include <QByteArrayView>
#include <QStringDecoder>

// A first pass over a file's bytes, piece by piece as they are read, that learns what must be
// known before any of its text is shown: the encoding that reads it and how many lines it has.
class TextScan
{
public:
    TextScan();

    void add(QByteArrayView piece);

    // Valid UTF-8 (with or without a byte-order mark), else Windows-1252; asked after the
    // last piece.
    TextEncoding encoding();
    // The lines the text box will hold: one more than the line breaks it will see (CR LF, LF,
    // a lone CR, and U+2029, U+FDD0 and U+FDD1 in their UTF-8 form, counted whatever the
    // encoding turns out to be). A CR at the very end counts once the scan ends.
    qint64 lineCount() const { return m_breaks + (m_pendingCr ? 1 : 0) + 1; }

private:
    QStringDecoder m_utf8;
    QString m_scratch;
    bool m_utf8Valid = true;
    bool m_ended = false;
    QByteArray m_head;
    qint64 m_breaks = 0;
    bool m_pendingCr = false;
    quint32 m_lastBytes = 0;
};
