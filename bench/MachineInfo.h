#pragma once

#include <QJsonObject>
#include <QString>

// What the figures were measured on: processors, kernel, and the filesystem and disk of the
// fixture folder.
namespace MachineInfo {

QJsonObject describe(const QString &fixtureRoot);
// One line of the above, for the top of the report.
QString summary(const QJsonObject &machine);

} // namespace MachineInfo
