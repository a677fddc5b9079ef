#include "open/OpenMessages.h"

namespace OpenMessages {

QString oneFileAtATime()
{
    return QStringLiteral("Please select one file at a time.");
}

QString notExecutable()
{
    return QStringLiteral("Not an executable file");
}

QString selectExecutable()
{
    return QStringLiteral("Please select a executable file with a .exe,.com,.bat,or.sys extension first");
}

QString selectExistingFile()
{
    return QStringLiteral("Please select an existing file");
}

} // namespace OpenMessages
