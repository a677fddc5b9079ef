#pragma once

#include <QString>
#include <QStringList>

// What a Copy hands to a later Paste. List1 holds the bare names to paste; List2, only for a
// batch from the search window, the full source path of each name, paired by position. A batch
// from a pane keeps its source folder here too: the clipboard gets the folder as text as well,
// but any program may replace that at any time, so a paste never reads it back.
//
// A batch with entries in List2 is pasted from those paths; without, from the source folder.
class CopyBatch
{
public:
    const QStringList &list1() const { return m_list1; }
    const QStringList &list2() const { return m_list2; }
    // The folder a pane batch came from; "" when the batch came from no pane.
    const QString &sourceFolder() const { return m_sourceFolder; }
    bool isSearchBatch() const { return !m_list2.isEmpty(); }

    // Replaces the batch with a pane's selected names and its folder; List2 ends empty.
    void setPaneBatch(const QStringList &names, const QString &sourceFolder);

    // The search window's Copy: it empties both lists, then appends paths and names in pairs.
    void clearList1();
    void clearList2();
    void appendName(const QString &name);
    void appendPath(const QString &path);

private:
    QStringList m_list1;
    QStringList m_list2;
    QString m_sourceFolder;
};
