#include "search/ResultPrint.h"

#include "platform/PathCodec.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace ResultPrint {

QStringList lines(const QStringList &entries)
{
    QStringList printed;
    printed.reserve(entries.size() + 3);
    for (const QString &entry : entries)
        printed << PathCodec::displayText(entry);
    printed << QString() << QString() << QStringLiteral("PRINTED BY PANOPTRA");
    return printed;
}

QStringList wrapped(const QString &line, const std::function<bool(const QString &)> &fits)
{
    QStringList pieces;
    QString rest = line;
    while (rest.size() > 1 && !fits(rest)) {
        // The longest start of rest that fits, at least one character so that the loop ends.
        qsizetype low = 1;
        qsizetype high = rest.size() - 1;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (fits(rest.left(middle)))
                low = middle;
            else
                high = middle - 1;
        }
        // A surrogate pair stays whole.
        if (low < rest.size() && rest.at(low).isLowSurrogate() && rest.at(low - 1).isHighSurrogate())
            low = low > 1 ? low - 1 : low + 1;
        pieces << rest.left(low);
        rest = rest.mid(low);
    }
    pieces << rest;
    return pieces;
}

QList<QStringList> pages(const QStringList &lines, int linesPerPage)
{
    const qsizetype perPage = std::max(1, linesPerPage);
    QList<QStringList> result;
    for (qsizetype first = 0; first < lines.size(); first += perPage)
        result << lines.mid(first, perPage);
    return result;
}

bool print(QPrinter &printer, const QStringList &entries)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double lineHeight = metrics.lineSpacing();
    const int linesPerPage = int(area.height() / lineHeight);

    QStringList printed;
    for (const QString &line : lines(entries))
        printed << wrapped(line, [&](const QString &piece) { return metrics.horizontalAdvance(piece) <= area.width(); });
    const QList<QStringList> laidOut = pages(printed, linesPerPage);
    for (qsizetype page = 0; page < laidOut.size(); ++page) {
        if (page > 0 && !printer.newPage()) {
            printer.abort();
            return false;
        }
        double baseline = metrics.ascent();
        for (const QString &line : laidOut.at(page)) {
            // drawText with a point draws the characters as they are: no markup, no wrapping.
            painter.drawText(QPointF(0, baseline), line);
            baseline += lineHeight;
        }
    }
    return painter.end();
}

} // namespace ResultPrint
