#include "textbox/ui/TextItems.h"

#include "textbox/ui/AccessibleString.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Qt's own search for the item at an end of the text goes on for ever at the start where no word
// begins there (a blank, a line break), and at the end where a word or sentence ends there.
// Such an item reaches from the start to the next place where a word begins or ends; at the
// end there is none. Says whether offset is such a place, and the item there.
bool itemAtAnEnd(const AccessibleString &stretch, int offset, QAccessible::TextBoundaryType type, int *start, int *end)
{
    const int length = stretch.characterCount();
    if ((type != QAccessible::WordBoundary && type != QAccessible::SentenceBoundary) || length == 0
        || (offset != 0 && offset != length))
        return false;
    const QString text = stretch.text(0, length);
    constexpr QTextBoundaryFinder::BoundaryReasons edges = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
    QTextBoundaryFinder finder(type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence, text);
    finder.setPosition(offset);
    const bool edge = finder.boundaryReasons() & edges;
    if (offset == length) {
        if (!edge)
            return false;
        *start = *end = length;
        return true;
    }
    if (edge)
        return false;
    qsizetype next = finder.toNextBoundary();
    while (next > 0 && next < length && !(finder.boundaryReasons() & edges))
        next = finder.toNextBoundary();
    *start = 0;
    *end = int(next > 0 ? next : length);
    return true;
}

} // namespace

TextItems::Item TextItems::find(const TextLines &lines, qint64 offset, QAccessible::TextBoundaryType type, Side side)
{
    const qint64 count = lines.characterCount();
    if (offset == -1)
        offset = count;
    if (offset < 0 || offset > count)
        return {};
    if (type == QAccessible::NoBoundary) {
        // The whole text is the one item: nothing before or after it.
        if (side != Side::At || count == 0)
            return {};
        return {0, count, lines.text()};
    }
    // A line break always breaks, so whether a place begins or ends an item is settled within
    // its line: the lines around offset decide the item, with a line on each side for the
    // places at their edges. Where the item reaches the stretch's edge it may go on beyond
    // (blank lines, say): the stretch grows that way and the item is found again.
    const qsizetype last = lines.lineCount() - 1;
    const qsizetype line = lines.lineAt(offset);
    qsizetype first = std::max<qsizetype>(line - 1, 0);
    qsizetype after = std::min(line + 1, last);
    for (qsizetype reach = 1;; reach *= 2) {
        const qint64 from = lines.lineStart(first);
        const qint64 to = after < last ? lines.lineStart(after + 1) : count;
        const AccessibleString stretch(lines.text(from, to));
        const int local = int(offset - from);
        int start = -1;
        int end = -1;
        QString text;
        switch (side) {
        case Side::Before:
            text = stretch.textBeforeOffset(local, type, &start, &end);
            break;
        case Side::At:
            if (!itemAtAnEnd(stretch, local, type, &start, &end))
                text = stretch.textAtOffset(local, type, &start, &end);
            else
                text = stretch.text(start, end);
            break;
        case Side::After:
            text = stretch.textAfterOffset(local, type, &start, &end);
            break;
        }
        // An item found before or at offset starts at or beyond the stretch's start; one at or
        // after it ends at or beyond its end.
        const bool growBack = first > 0 && side != Side::After && start <= 0;
        const bool growOn = after < last && side != Side::Before && (end < 0 || end >= stretch.characterCount());
        if (!growBack && !growOn)
            return {start < 0 ? -1 : from + start, end < 0 ? -1 : from + end, text};
        if (growBack)
            first = std::max<qsizetype>(first - reach, 0);
        if (growOn)
            after = std::min(after + reach, last);
    }
}
