#pragma once

#include "editor/TextCodec.h"

#include <QObject>

#include <optional>
#include <vector>

class QTextDocument;
struct TextSlice;

// The line end after each line of a text box's document, kept beside it: the box knows one
// kind of line break, a file may hold several. Edits keep it in step as if each end were the
// characters it stands for: a line break the user adds ends its line with the document's main
// line end, one the user removes takes its end with it, and every other line keeps its own.
// (Undo brings a removed break back with the main line end.) It belongs to its document and
// goes with it.
class LineEndRecord : public QObject
{
    Q_OBJECT

public:
    explicit LineEndRecord(QTextDocument *document);

    // The record of document; null when it has none.
    static LineEndRecord *of(const QTextDocument *document);

    // The end after line (counted from 0): its own, or nothing where it takes the main one
    // (a line break added since the load, and the last line, which has none).
    std::optional<LineEnd> lineEnd(int line) const;

    // Adds slice at the end of the document, its line breaks with the ends it notes.
    void append(const TextSlice &slice);
    // The document's text with each line's own end, and main where a line takes the main one.
    QString fileText(LineEnd main) const;

private:
    // An entry of m_ends that stands for the main line end, whichever it is at the time.
    static constexpr quint8 mainLineEnd = 0xFF;

    void contentsChange(int position, int added);
    int lineAt(int position) const;

    QTextDocument *m_document;
    // One entry per line break: m_ends[i] follows line i.
    std::vector<quint8> m_ends;
    const std::vector<LineEnd> *m_appending = nullptr;
};
