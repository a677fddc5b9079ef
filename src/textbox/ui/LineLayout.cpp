#include "textbox/ui/LineLayout.h"

#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace {

// A segment ends after a blank this near before its nominal end, where there is one.
constexpr qsizetype blankReach = 256;
// How far after a segment's nominal end the characters are looked at to find its end.
constexpr qsizetype lookAhead = 16;

bool isBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

// Where a segment that would end at nominal (within text) ends: after a blank close before
// it, else between the clusters nearest before it, else, inside a long cluster, between two
// characters (never inside a surrogate pair). Only the characters from blankReach before
// nominal to lookAhead after it count.
qsizetype segmentEndNear(const QString &text, qsizetype nominal)
{
    const qsizetype from = std::max<qsizetype>(0, nominal - blankReach);
    const qsizetype to = std::min(text.size(), nominal + lookAhead);
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, QStringView(text).sliced(from, to - from));
    const auto betweenClusters = [&](qsizetype at) {
        clusters.setPosition(at - from);
        return clusters.isAtBoundary();
    };
    // The window's own start counts as a boundary to the finder: it is none here.
    for (qsizetype at = nominal; at > from; --at) {
        if (isBlank(text.at(at - 1)) && betweenClusters(at))
            return at;
    }
    if (betweenClusters(nominal))
        return nominal;
    if (const qsizetype before = clusters.toPreviousBoundary(); before > 0)
        return from + before;
    return text.at(nominal).isLowSurrogate() && text.at(nominal - 1).isHighSurrogate() ? nominal - 1 : nominal;
}

// Where the pieces of a segment's text begin: the whole text is one, unless a cluster longer
// than longCluster cuts it, before and after the cluster and every longCluster characters
// within it (never inside a surrogate pair).
std::vector<qsizetype> pieceStarts(const QString &text)
{
    std::vector<qsizetype> starts{0};
    if (text.size() <= LineLayout::longCluster)
        return starts;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype before = 0;
    for (qsizetype at = clusters.toNextBoundary(); at > 0; before = at, at = clusters.toNextBoundary()) {
        if (at - before <= LineLayout::longCluster)
            continue;
        if (before > starts.back())
            starts.push_back(before);
        for (qsizetype cut = before + LineLayout::longCluster; cut < at; cut += LineLayout::longCluster)
            starts.push_back(text.at(cut).isLowSurrogate() && text.at(cut - 1).isHighSurrogate() ? cut - 1 : cut);
        if (at < text.size())
            starts.push_back(at);
    }
    return starts;
}

} // namespace

LineLayout::LineLayout(QString text, const Style &style, Preedit preedit)
    : m_text(std::move(text)), m_length(m_text.size()), m_style(style), m_preedit(std::move(preedit)),
      // Its start says, so a long line of neutral characters is not read to its end for it.
      m_direction(directionOf(QStringView(m_text).first(std::min(m_length, wholeLength))))
{
    if (m_preedit.text.isEmpty())
        m_preedit.column = -1;
    const qsizetype segments = m_length <= wholeLength ? 1 : (m_length + segmentLength - 1) / segmentLength;
    m_segments.resize(size_t(segments));
    m_starts.assign(size_t(segments) + 1, -1);
    m_starts.front() = 0;
    m_starts.back() = m_length;
    // Until each is laid out, a segment counts its nominal length.
    m_rows.assign(segments, [&](qsizetype segment) {
        return estimatedRows(segment + 1 < segments ? segmentLength : m_length - segment * segmentLength);
    });
}

LineLayout::~LineLayout() = default;

QTextOption::WrapMode LineLayout::wrapModeFor(QStringView text)
{
    if (text.size() > longWord) {
        qsizetype run = 0;
        for (const QChar ch : text) {
            run = ch.isSpace() ? 0 : run + 1;
            if (run > longWord)
                return QTextOption::WrapAnywhere;
        }
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

Qt::LayoutDirection LineLayout::directionOf(QStringView line)
{
    return line.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

int LineLayout::estimatedRows(qsizetype characters) const
{
    // No more rows than characters, however narrow the box: the rows of a line fit an int.
    const qreal width = qreal(characters) * m_style.averageCharWidth;
    return std::max(1, int(std::ceil(width / std::max(m_style.width, m_style.averageCharWidth))));
}

qsizetype LineLayout::segmentStart(qsizetype segment)
{
    qsizetype &start = m_starts[size_t(segment)];
    if (start < 0)
        start = segmentEndNear(m_text, segment * segmentLength);
    return start;
}

qsizetype LineLayout::segmentOf(qsizetype column)
{
    qsizetype segment = std::min(column / segmentLength, segmentCount() - 1);
    while (segment > 0 && column < segmentStart(segment))
        --segment;
    while (segment + 1 < segmentCount() && column >= segmentStart(segment + 1))
        ++segment;
    return segment;
}

LineLayout::Segment &LineLayout::layOut(qsizetype segment)
{
    Segment &laid = m_segments[size_t(segment)];
    if (!laid.pieces.empty())
        return laid;
    const qsizetype from = segmentStart(segment);
    const qsizetype to = segmentStart(segment + 1);
    const QString text = segmentCount() == 1 ? m_text : m_text.mid(from, to - from);
    const std::vector<qsizetype> starts = pieceStarts(text);
    // The input method's text shows in the piece that shows its column.
    qsizetype preeditAt = -1;
    if (m_preedit.column >= 0 && segmentOf(m_preedit.column) == segment)
        preeditAt = m_preedit.column - from;
    int rows = 0;
    for (size_t i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        const bool composing = preeditAt >= starts[i] && (preeditAt < end || i + 1 == starts.size());
        Piece piece;
        piece.start = starts[i];
        piece.firstRow = rows;
        piece.composing = composing;
        int pieceRows = 0;
        piece.layout = layOutPiece(starts.size() == 1 ? text : text.mid(starts[i], end - starts[i]),
                                   composing ? preeditAt - starts[i] : -1, pieceRows);
        rows += pieceRows;
        laid.pieces.push_back(std::move(piece));
    }
    m_rows.setLength(segment, std::max(rows, 1));
    laid.rowsKnown = true;
    m_laidOut += to - from;
    return laid;
}

std::unique_ptr<QTextLayout> LineLayout::layOutPiece(const QString &text, qsizetype preeditAt, int &rows) const
{
    auto layout = std::make_unique<QTextLayout>(text, m_style.font);
    QTextOption option;
    option.setWrapMode(wrapModeFor(text));
    option.setTabStopDistance(m_style.tabStop);
    option.setTextDirection(m_direction);
    // Absolute: a right-to-left line's "right" is not to be read as its start.
    option.setAlignment(Qt::AlignAbsolute | (m_direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft));
    layout->setTextOption(option);
    if (preeditAt >= 0) {
        layout->setPreeditArea(int(preeditAt), m_preedit.text);
        QList<QTextLayout::FormatRange> formats = m_preedit.formats;
        for (QTextLayout::FormatRange &range : formats)
            range.start += int(preeditAt);
        layout->setFormats(formats);
    }
    layout->setCacheEnabled(true);
    layout->beginLayout();
    rows = 0;
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(m_style.width);
        row.setPosition(QPointF(0, qreal(rows) * m_style.rowHeight));
        ++rows;
    }
    layout->endLayout();
    rows = std::max(rows, 1);
    return layout;
}

LineLayout::Place LineLayout::placeOf(qsizetype segment, size_t piece)
{
    const Segment &laid = m_segments[size_t(segment)];
    const qsizetype from = segmentStart(segment);
    Place place;
    place.segment = segment;
    place.piece = piece;
    place.start = from + laid.pieces[piece].start;
    place.last = piece + 1 == laid.pieces.size();
    place.end = place.last ? segmentStart(segment + 1) : from + laid.pieces[piece + 1].start;
    place.last = place.last && segment + 1 == segmentCount();
    return place;
}

LineLayout::Place LineLayout::placeOfColumn(qsizetype column)
{
    column = std::clamp<qsizetype>(column, 0, m_length);
    const qsizetype segment = segmentOf(column);
    const Segment &laid = layOut(segment);
    const qsizetype inSegment = column - segmentStart(segment);
    const auto after = std::upper_bound(laid.pieces.begin(), laid.pieces.end(), inSegment,
                                        [](qsizetype at, const Piece &piece) { return at < piece.start; });
    return placeOf(segment, size_t(after - laid.pieces.begin()) - 1);
}

LineLayout::Place LineLayout::placeOfRow(int row)
{
    row = std::clamp(row, 0, rows() - 1);
    const qsizetype segment = m_rows.partAt(row);
    const Segment &laid = layOut(segment);
    // Laid out, the segment may have fewer rows than it counted.
    const int inSegment = row - int(m_rows.start(segment));
    const auto after = std::upper_bound(laid.pieces.begin(), laid.pieces.end(), inSegment,
                                        [](int at, const Piece &piece) { return at < piece.firstRow; });
    return placeOf(segment, size_t(after - laid.pieces.begin()) - 1);
}

LineLayout::Row LineLayout::rowIn(const Place &place, const QTextLine &row)
{
    const Piece &piece = m_segments[size_t(place.segment)].pieces[place.piece];
    const int number = int(m_rows.start(place.segment)) + piece.firstRow + row.lineNumber();
    return Row(row, place.start, number, place.last && row.lineNumber() + 1 == piece.layout->lineCount(),
               piece.composing ? &m_preedit : nullptr);
}

void LineLayout::takeSegmentsBefore(LineLayout &earlier, qsizetype column)
{
    // A segment's text and both its ends are worked out from the characters before its
    // nominal end and lookAhead after it: where those lie before column, it is the same.
    for (qsizetype segment = 0; segment + 1 < segmentCount() && segment + 1 < earlier.segmentCount(); ++segment) {
        if ((segment + 1) * segmentLength + lookAhead > column)
            break;
        Segment &taken = earlier.m_segments[size_t(segment)];
        if (!taken.rowsKnown)
            continue;
        m_starts[size_t(segment)] = earlier.m_starts[size_t(segment)];
        m_starts[size_t(segment) + 1] = earlier.m_starts[size_t(segment) + 1];
        m_rows.setLength(segment, earlier.m_rows.length(segment));
        if (!taken.pieces.empty()) {
            const qsizetype characters = m_starts[size_t(segment) + 1] - m_starts[size_t(segment)];
            m_laidOut += characters;
            earlier.m_laidOut -= characters;
        }
        m_segments[size_t(segment)] = std::move(taken);
    }
}

int LineLayout::rows()
{
    if (segmentCount() == 1)
        layOut(0);
    return int(m_rows.total());
}

LineLayout::Row LineLayout::rowAt(int row)
{
    const Place place = placeOfRow(row);
    const QTextLayout &layout = layoutAt(place);
    const int first = int(m_rows.start(place.segment)) + m_segments[size_t(place.segment)].pieces[place.piece].firstRow;
    return rowIn(place, layout.lineAt(std::clamp(row - first, 0, layout.lineCount() - 1)));
}

LineLayout::Row LineLayout::rowOf(qsizetype column)
{
    const Place place = placeOfColumn(column);
    const QTextLayout &layout = layoutAt(place);
    QTextLine row = layout.lineForTextPosition(int(std::clamp<qsizetype>(column, 0, m_length) - place.start));
    if (!row.isValid())
        row = layout.lineAt(layout.lineCount() - 1);
    return rowIn(place, row);
}

qsizetype LineLayout::previousCursorPosition(qsizetype column, QTextLayout::CursorMode mode)
{
    column = std::clamp<qsizetype>(column, 0, m_length);
    if (column == 0)
        return 0;
    // From a piece's start, back into the piece before: the one that shows the character before.
    const Place place = placeOfColumn(column - 1);
    return place.start + layoutAt(place).previousCursorPosition(int(column - place.start), mode);
}

bool LineLayout::isValidCursorPosition(qsizetype column)
{
    column = std::clamp<qsizetype>(column, 0, m_length);
    const Place place = placeOfColumn(column);
    return layoutAt(place).isValidCursorPosition(int(column - place.start));
}

qsizetype LineLayout::nextCursorPosition(qsizetype column, QTextLayout::CursorMode mode)
{
    const Place place = placeOfColumn(column);
    return place.start + layoutAt(place).nextCursorPosition(int(std::clamp<qsizetype>(column, 0, m_length) - place.start), mode);
}

void LineLayout::draw(QPainter &painter, QPointF origin, const QRectF &clip, const Marks &marks)
{
    const qreal rowHeight = m_style.rowHeight;
    const qint64 firstRow = qint64(std::max<qreal>(0, std::floor((clip.top() - origin.y()) / rowHeight)));
    // Each piece's place is read again after the ones before it are laid out.
    for (qsizetype segment = m_rows.partAt(firstRow); segment < segmentCount(); ++segment) {
        const Segment &laid = layOut(segment);
        for (size_t piece = 0; piece < laid.pieces.size(); ++piece) {
            const QTextLayout &layout = *laid.pieces[piece].layout;
            const qreal y = origin.y() + qreal(m_rows.start(segment) + laid.pieces[piece].firstRow) * rowHeight;
            if (y >= clip.bottom())
                return;
            if (y + layout.lineCount() * rowHeight > clip.top())
                drawPiece(painter, placeOf(segment, piece), QPointF(origin.x(), y), clip, marks);
        }
    }
}

void LineLayout::drawPiece(QPainter &painter, const Place &place, QPointF origin, const QRectF &clip, const Marks &marks)
{
    QTextLayout &layout = layoutAt(place);
    const qsizetype selectedFrom = std::max(marks.selectionFrom, place.start);
    const qsizetype selectedTo = std::min(marks.selectionTo, place.last ? place.end + 1 : place.end);
    QList<QTextLayout::FormatRange> selections;
    if (selectedFrom < selectedTo) {
        QTextLayout::FormatRange range;
        range.start = int(selectedFrom - place.start);
        range.length = int(selectedTo - selectedFrom);
        range.format.setBackground(marks.highlight);
        range.format.setForeground(marks.highlightedText);
        selections.append(range);
    }
    layout.draw(&painter, origin, selections, clip);
    // A selected line break shows as a blank's width of selection after its line.
    if (place.last && marks.selectionFrom <= place.end && marks.selectionTo > place.end) {
        const QTextLine row = layout.lineAt(layout.lineCount() - 1);
        const qreal end = row.cursorToX(int(place.end - place.start));
        // On the side the line ends on.
        const qreal x = m_direction == Qt::RightToLeft ? end - marks.breakWidth : end;
        painter.fillRect(QRectF(origin.x() + x, origin.y() + row.y(), marks.breakWidth, m_style.rowHeight),
                         marks.highlight);
    }
    if (marks.drop >= 0 && shows(place, marks.drop))
        layout.drawCursor(&painter, origin, int(marks.drop - place.start), 1);
    // Within text being composed, the caret stands where the input method says, if anywhere.
    const bool composing = m_segments[size_t(place.segment)].pieces[place.piece].composing;
    if (marks.caret >= 0 && shows(place, marks.caret) && (!composing || m_preedit.caretShown)) {
        const qsizetype within = composing && marks.caret == m_preedit.column ? m_preedit.caret : 0;
        layout.drawCursor(&painter, origin, int(marks.caret - place.start + within), 1);
    }
}

void LineLayout::dropSegmentsOutside(int first, int last)
{
    if (segmentCount() == 1)
        return;
    for (qsizetype segment = 0; segment < segmentCount(); ++segment) {
        Segment &laid = m_segments[size_t(segment)];
        if (laid.pieces.empty() || (m_rows.start(segment + 1) > first && m_rows.start(segment) <= last))
            continue;
        m_laidOut -= segmentStart(segment + 1) - segmentStart(segment);
        laid.pieces.clear();
    }
}
