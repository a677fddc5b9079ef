#pragma once

#include <QList>
#include <QStringList>

#include <functional>

class QPrinter;

// The search result print-out: every entry, two empty lines and a closing line, at 12 points,
// laid out on pages by hand.
namespace ResultPrint {

// The lines printed for entries, first to last.
QStringList lines(const QStringList &entries);
// line cut into pieces that each fit, by fits(piece), on a line of the page: a path wider than
// the paper goes on over the next lines instead of being cut off. An empty line stays one line.
QStringList wrapped(const QString &line, const std::function<bool(const QString &)> &fits);
// lines cut into pages of linesPerPage lines each (at least one line a page); no lines, no
// pages.
QList<QStringList> pages(const QStringList &lines, int linesPerPage);

// Prints entries on printer, one page after another. False when the printer could not be
// started or failed on the way; the job is then given up.
bool print(QPrinter &printer, const QStringList &entries);

} // namespace ResultPrint
