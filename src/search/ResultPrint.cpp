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

    const QList<QStringList> laidOut = pages(lines(entries), linesPerPage);
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
