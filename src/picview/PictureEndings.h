#pragma once

#include <QString>
#include <QStringList>

// The name endings that View Graphic takes for pictures. An ending is compared with as many of
// the name's last characters as it has, exactly and with case, and needs no dot before it.
namespace PictureEndings {

const QStringList &endings();
bool matches(const QString &fileName);

} // namespace PictureEndings
