#pragma once

#include "textbox/TextCodec.h"

#include <QByteArray>

#include <optional>

class TextLines;

// What a save writes of lines in a format (as TextLines::encode gives it whole), handed over
// in pieces of about pieceBytes, so that a save holds no second copy of the file: the lines
// that are still the file's bytes go out as those bytes (a long run of them as a view of the
// file's bytes, no copy at all); the others are encoded a bounded slice at a time.
class TextEncoder
{
public:
    static constexpr qsizetype pieceBytes = qsizetype(1) << 20;

    // lines must stay as they are while the encoder is used.
    TextEncoder(const TextLines &lines, const TextFormat &format);

    // How many bytes all the pieces make, where format can hold the text.
    qint64 size() const;
    // The next piece, valid until the next call; an empty piece once all is out; nothing when
    // the encoding cannot hold a character of the text (and nothing more after that).
    std::optional<QByteArrayView> next();

private:
    // Takes line m_line on: a run of lines that are the file's bytes, or an edited one.
    bool startLine();
    bool startEnd(LineEnd end);
    bool needsFinalEnd() const;

    const TextLines &m_lines;
    const TextFormat m_format;
    QByteArray m_buffer;
    // The next line to take on, the end written after the line before it.
    qsizetype m_line = 0;
    std::optional<LineEnd> m_before;
    // What is still to go into the buffer, in this order: file bytes, the characters of an
    // edited line from m_column on, a line end.
    QByteArrayView m_fileBytes;
    QString m_text;
    qsizetype m_column = 0;
    QByteArrayView m_end;
    bool m_started = false;
    bool m_finalDone = false;
    bool m_failed = false;
};
