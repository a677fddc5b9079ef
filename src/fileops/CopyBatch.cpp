#include "fileops/CopyBatch.h"

void CopyBatch::setPaneBatch(const QStringList &names, const QString &sourceFolder)
{
    m_list1 = names;
    m_list2.clear();
    m_sourceFolder = sourceFolder;
}

void CopyBatch::clearList1()
{
    m_list1.clear();
    // Names added from now on come from the search window, not from a pane's folder.
    m_sourceFolder.clear();
}

void CopyBatch::clearList2()
{
    m_list2.clear();
}

void CopyBatch::appendName(const QString &name)
{
    m_list1.append(name);
}

void CopyBatch::appendPath(const QString &path)
{
    m_list2.append(path);
}
