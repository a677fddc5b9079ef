#include "editor/LineEndRecord.h"

#include "editor/TextSlicer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

LineEndRecord::LineEndRecord(QTextDocument *document)
    : QObject(document), m_document(document), m_ends(size_t(document->blockCount() - 1), mainLineEnd)
{
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { contentsChange(position, added); });
}

LineEndRecord *LineEndRecord::of(const QTextDocument *document)
{
    return document ? document->findChild<LineEndRecord *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

std::optional<LineEnd> LineEndRecord::lineEnd(int line) const
{
    if (line < 0 || size_t(line) >= m_ends.size() || m_ends[size_t(line)] == mainLineEnd)
        return std::nullopt;
    return LineEnd(m_ends[size_t(line)]);
}

void LineEndRecord::append(const TextSlice &slice)
{
    QTextCursor cursor(m_document);
    cursor.movePosition(QTextCursor::End);
    m_appending = &slice.lineEnds;
    cursor.insertText(slice.text);
    m_appending = nullptr;
}

QString LineEndRecord::fileText(LineEnd main) const
{
    // The raw text keeps every character (toPlainText() would turn a no-break space into a
    // blank) and separates the lines by U+2029.
    return withLineEnds(m_document->toRawText(), QChar::ParagraphSeparator, [&](size_t i) {
        return i < m_ends.size() && m_ends[i] != mainLineEnd ? LineEnd(m_ends[i]) : main;
    });
}

int LineEndRecord::lineAt(int position) const
{
    const QTextBlock block = m_document->findBlock(position);
    return block.isValid() ? block.blockNumber() : m_document->blockCount() - 1;
}

void LineEndRecord::contentsChange(int position, int added)
{
    // The text before position is as it was, and so are the breaks before the first line
    // touched; the breaks in the added text are new, and the old ones the change removed are as
    // many as the count of breaks says. The break after the change is the one that ended the
    // last line touched, and keeps its end.
    const auto breaks = qsizetype(m_document->blockCount()) - 1;
    const qsizetype first = lineAt(position);
    const qsizetype addedBreaks = lineAt(position + added) - first;
    const qsizetype removedBreaks = qsizetype(m_ends.size()) - breaks + addedBreaks;
    if (removedBreaks < 0 || first + removedBreaks > qsizetype(m_ends.size())) {
        // Out of step with the document, which no edit should do: every line takes the main end.
        m_ends.assign(size_t(breaks), mainLineEnd);
        return;
    }
    const auto at = m_ends.begin() + first;
    const auto kept = m_ends.erase(at, at + removedBreaks);
    if (m_appending && qsizetype(m_appending->size()) == addedBreaks) {
        const auto inserted = m_ends.insert(kept, size_t(addedBreaks), mainLineEnd);
        std::transform(m_appending->begin(), m_appending->end(), inserted,
                       [](LineEnd lineEnd) { return quint8(lineEnd); });
    } else {
        m_ends.insert(kept, size_t(addedBreaks), mainLineEnd);
    }
}
