#pragma once

#include <QString>
#include <QStringList>

// Starts a program without waiting for it, the program, its arguments and its working folder
// passed to the system as the very bytes the path codec gives. QProcess encodes them as text
// and would start the look-alike twin of a name that holds a byte of no UTF-8.
namespace DetachedStart {

// program: a path, or a bare name looked up on PATH. folder: "" for the current one. False when
// the program could not be started (not found, not executable, the folder missing).
bool start(const QString &program, const QStringList &arguments, const QString &folder = QString());

} // namespace DetachedStart
