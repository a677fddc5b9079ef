#pragma once

#include "panes/FileList.h"

#include <QList>

// The rows of a file list that are selected, in order.
inline QList<int> selectedRows(const FileList &list)
{
    QList<int> rows;
    for (int row = 0; row < list.listCount(); ++row) {
        if (list.isSelected(row))
            rows << row;
    }
    return rows;
}
