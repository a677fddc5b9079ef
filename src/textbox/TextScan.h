#pragma once

#include "textbox/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>

// A first pass over a file's bytes, piece by piece as they are read, that learns what must be
// known before any of its text is shown: the encoding that reads it and how many lines it has.
class TextScan
{
public:
    void add(QByteArrayView piece);

    // Asked after the last piece. UTF-16 for a file of whole code units that begins with
    // their byte-order mark; UTF-8 (with or without its mark) when the file holds no byte
    // outside a valid sequence, or holds more sequences of two bytes or more than such bytes;
    // Windows-1252 otherwise.
    TextEncoding encoding();
    // The lines the text box will hold: one more than the line breaks it will see (every end
    // of LineEnds, counted in their UTF-8 form whatever else the encoding turns out to be, and
    // as UTF-16 code units in a file that begins with their mark). Until the encoding is asked
    // for, the fewer of the two counts for a file that may turn out to be UTF-16 or not: a
    // read stopped early at a limit is then over it whatever the file is.
    qint64 lineCount() const;

private:
    void addUtf8(const uchar *bytes, qsizetype size);
    void addUtf16(const uchar *bytes, qsizetype size);
    void character(char32_t ch, qint64 &breaks);
    // A sequence cut off counts as that many bytes of no sequence.
    void endSequence();

    qint64 m_size = 0;
    QByteArray m_head;

    // Read as UTF-8: the sequence being read (the bytes it still needs, those seen, the range
    // its next byte must lie in), the valid sequences of two bytes or more and the bytes of
    // none, the line breaks, and the last character.
    int m_needed = 0;
    int m_seen = 0;
    uchar m_low = 0x80;
    uchar m_high = 0xBF;
    char32_t m_code = 0;
    qint64 m_sequences = 0;
    qint64 m_strayBytes = 0;
    qint64 m_breaks = 0;
    char32_t m_last = 0;
    bool m_ended = false;

    // Read as UTF-16, in a file that begins with its mark: the first byte of a code unit
    // cut between two pieces, the breaks and the last code unit.
    int m_utf16Order = 0; // 0: no mark (yet), 1: little-endian, 2: big-endian
    int m_pendingByte = -1;
    qint64 m_utf16Breaks = 0;
    char16_t m_utf16Last = 0;
};
