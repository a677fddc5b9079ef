#include "ListCheck.h"

#include "panes/FileList.h"

#include <QStringList>

namespace ListCheck {

QString compareRows(const FileList &list, const std::vector<std::string> &expected, bool *orderOnly)
{
    *orderOnly = false;
    if (list.listCount() != int(expected.size()))
        return QStringLiteral("the list holds %1 names, the folder %2").arg(list.listCount()).arg(expected.size());
    QStringList listed;
    for (int row = 0; row < list.listCount(); ++row)
        listed.append(list.item(row));
    for (int row = 0; row < listed.size(); ++row) {
        const QString name = QString::fromStdString(expected[size_t(row)]);
        if (listed[row] == name)
            continue;
        QStringList sortedListed = listed;
        sortedListed.sort();
        QStringList sortedExpected;
        for (const std::string &each : expected)
            sortedExpected.append(QString::fromStdString(each));
        sortedExpected.sort();
        *orderOnly = sortedListed == sortedExpected;
        return QStringLiteral("row %1 is \"%2\" where a strcasecmp sort has \"%3\"").arg(row).arg(listed[row], name);
    }
    return QString();
}

} // namespace ListCheck
