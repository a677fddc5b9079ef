#pragma once

#include "textbox/Partitioning.h"

#include <QBrush>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

#include <memory>
#include <vector>

class QPainter;

// One line of the text box laid out in rows at the box's width. A short line is one QTextLayout;
// a long one is cut into segments of about segmentLength characters, each laid out only when a
// part of it is asked for, so that showing or editing a line of millions of characters costs
// what the part on screen costs. A segment ends after a blank where one is near, else between
// two clusters (or, inside a cluster longer than that, between two characters), and its last
// row ends there. Until it is laid out a segment counts the rows its characters would take at
// an average width, as the box counts a line it has not laid out as one row. A cluster longer
// than longCluster (a letter under a pile of combining marks) is laid out in pieces of that
// many characters, a row each, so that no row holds more than a screen can show.
class LineLayout
{
public:
    static constexpr qsizetype segmentLength = 4096;
    // Lines up to this long are laid out whole.
    static constexpr qsizetype wholeLength = 2 * segmentLength;
    // A word longer than this many characters breaks anywhere; other lines break at blanks.
    static constexpr qsizetype longWord = 4096;
    static constexpr qsizetype longCluster = 64;

    struct Style
    {
        QFont font;
        qreal width = 1;
        int rowHeight = 1;
        qreal tabStop = 80;
        // What a character takes on average: a segment not laid out yet counts its rows by it.
        qreal averageCharWidth = 1;
    };

    // Text an input method is composing, shown at column (none where column is -1), with the
    // input method's caret in it and its looks (counted from the text's start).
    struct Preedit
    {
        qsizetype column = -1;
        QString text;
        int caret = 0;
        bool caretShown = true;
        QList<QTextLayout::FormatRange> formats;
    };

    // One row of the line: a row of one segment's layout, told in the line's own columns.
    class Row
    {
    public:
        Row() = default;
        Row(const QTextLine &row, qsizetype offset, int number, bool last, const Preedit *preedit = nullptr)
            : m_row(row), m_offset(offset), m_number(number), m_last(last), m_preedit(preedit)
        {
        }
        bool isValid() const { return m_row.isValid(); }
        // The row's number within the line.
        int lineNumber() const { return m_number; }
        bool isLast() const { return m_last; }
        qsizetype textStart() const { return m_offset + m_row.textStart(); }
        qsizetype textLength() const { return m_row.textLength(); }
        // Where a caret at column shows: within text being composed at its column, where the
        // input method puts its caret.
        qreal cursorToX(qsizetype column) const { return m_row.cursorToX(int(layoutColumn(column) - m_offset)); }
        qsizetype xToCursor(qreal x) const { return m_offset + m_row.xToCursor(x); }
        qreal naturalTextWidth() const { return m_row.naturalTextWidth(); }
        QRectF naturalTextRect() const { return m_row.naturalTextRect(); }
        qreal x() const { return m_row.x(); }
        qreal width() const { return m_row.width(); }

    private:
        qsizetype layoutColumn(qsizetype column) const
        {
            if (!m_preedit || column < m_preedit->column)
                return column;
            return column + (column == m_preedit->column ? m_preedit->caret : m_preedit->text.size());
        }

        QTextLine m_row;
        qsizetype m_offset = 0;
        int m_number = 0;
        bool m_last = false;
        // The text being composed, where this row's piece shows it.
        const Preedit *m_preedit = nullptr;
    };

    // What a paint shows over the text: a selection (the line's break selected too when it
    // reaches past the line's end), the caret and where dragged text would drop, in columns;
    // -1 for none.
    struct Marks
    {
        qsizetype selectionFrom = 0;
        qsizetype selectionTo = 0;
        QBrush highlight;
        QBrush highlightedText;
        qreal breakWidth = 0;
        qsizetype caret = -1;
        qsizetype drop = -1;
    };

    // A line reads in the direction of its first strong character (left to right where it has
    // none), every row aligned to the side it starts from; a long line takes it from its start.
    LineLayout(QString text, const Style &style, Preedit preedit);
    LineLayout(QString text, const Style &style) : LineLayout(std::move(text), style, Preedit()) {}
    ~LineLayout();

    // How a piece of text wraps: at blanks, or anywhere when it holds a word longer than longWord.
    static QTextOption::WrapMode wrapModeFor(QStringView text);
    static Qt::LayoutDirection directionOf(QStringView line);
    Qt::LayoutDirection direction() const { return m_direction; }

    // Takes over the segments of earlier laid out before column, up to which the two lines
    // hold the same text (earlier's text may be gone by now).
    void takeSegmentsBefore(LineLayout &earlier, qsizetype column);
    // Lets go of the line's text, so that the text box's model can change it in place; the
    // layout is no more used then but to take segments from.
    void releaseText() { m_text = QString(); }

    bool isSegmented() const { return m_segments.size() > 1; }
    const QString &text() const { return m_text; }
    qsizetype length() const { return m_length; }
    // The rows of the line: counted for what is laid out, estimated for the rest. A short line
    // is laid out by this.
    int rows();
    // Row row of the line (clamped to its rows), its segment laid out.
    Row rowAt(int row);
    // The row column shows on; a column where a row or a segment breaks is on the later row.
    Row rowOf(qsizetype column);
    qsizetype previousCursorPosition(qsizetype column, QTextLayout::CursorMode mode = QTextLayout::SkipCharacters);
    qsizetype nextCursorPosition(qsizetype column, QTextLayout::CursorMode mode = QTextLayout::SkipCharacters);
    // Whether a caret may stand at column: not inside a cluster or a surrogate pair.
    bool isValidCursorPosition(qsizetype column);

    // Paints the rows that lie within clip, row 0 at origin; those segments are laid out.
    void draw(QPainter &painter, QPointF origin, const QRectF &clip, const Marks &marks);

    // The characters held laid out.
    qsizetype laidOutCharacters() const { return m_laidOut; }
    // Lets go of the segments laid out beyond rows first..last (their rows stay counted).
    void dropSegmentsOutside(int first, int last);

private:
    // A part of a segment laid out by itself: the whole segment, but where a long cluster cuts it.
    struct Piece
    {
        // Where in the segment it begins, and its first row there.
        qsizetype start = 0;
        int firstRow = 0;
        // The piece shows the text being composed.
        bool composing = false;
        std::unique_ptr<QTextLayout> layout;
    };
    struct Segment
    {
        // None while the segment is not laid out.
        std::vector<Piece> pieces;
        bool rowsKnown = false;
    };
    // A piece of a segment laid out, and where in the line it begins.
    struct Place
    {
        qsizetype segment = 0;
        size_t piece = 0;
        qsizetype start = 0;
        qsizetype end = 0;
        // The line's last piece, which its break belongs to.
        bool last = false;
    };

    qsizetype segmentCount() const { return qsizetype(m_segments.size()); }
    // Where segment begins; segmentCount() for the line's end.
    qsizetype segmentStart(qsizetype segment);
    qsizetype segmentOf(qsizetype column);
    int estimatedRows(qsizetype characters) const;
    Segment &layOut(qsizetype segment);
    // A piece's text laid out, an input method's text shown at preeditAt where that is not -1.
    std::unique_ptr<QTextLayout> layOutPiece(const QString &text, qsizetype preeditAt, int &rows) const;
    // The piece that shows column (a column where pieces meet in the later, the line's end in
    // the last); the piece that holds row.
    Place placeOfColumn(qsizetype column);
    Place placeOfRow(int row);
    Place placeOf(qsizetype segment, size_t piece);
    QTextLayout &layoutAt(const Place &place) { return *m_segments[size_t(place.segment)].pieces[place.piece].layout; }
    bool shows(const Place &place, qsizetype column) const
    {
        return column >= place.start && (column < place.end || (place.last && column == place.end));
    }
    Row rowIn(const Place &place, const QTextLine &row);
    void drawPiece(QPainter &painter, const Place &place, QPointF origin, const QRectF &clip, const Marks &marks);

    QString m_text;
    qsizetype m_length = 0;
    Style m_style;
    Preedit m_preedit;
    Qt::LayoutDirection m_direction = Qt::LeftToRight;
    std::vector<Segment> m_segments;
    // Where each segment begins, -1 where not worked out yet; the line's end last.
    std::vector<qsizetype> m_starts;
    Partitioning<qint64> m_rows;
    qsizetype m_laidOut = 0;
};
