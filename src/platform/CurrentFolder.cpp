#include "platform/CurrentFolder.h"

#include "platform/PathCodec.h"

#include <QCoreApplication>

#include <unistd.h>

namespace CurrentFolder {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

bool enterProgramFolder()
{
    const QString folder = programFolder();
    return !folder.isEmpty() && ::chdir(PathCodec::encode(folder).constData()) == 0;
}

} // namespace CurrentFolder
