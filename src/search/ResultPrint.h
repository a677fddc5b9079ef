#pragma once

#include <QList>
#include <QStringList>

class QPrinter;

// The search result print-out: every entry, two empty lines and a closing line, at 12 points,
// laid out on pages by hand.
namespace ResultPrint {

// The lines printed for entries, first to last.
QStringList lines(const QStringList &entries);
// lines cut into pages of linesPerPage lines each (at least one line a page); no lines, no
// pages.
QList<QStringList> pages(const QStringList &lines, int linesPerPage);

// Prints entries on printer, one page after another. False when the printer could not be
// started or failed on the way; the job is then given up.
bool print(QPrinter &printer, const QStringList &entries);

} // namespace ResultPrint
