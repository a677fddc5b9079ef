#pragma once

#include <QString>

// The messages of the commands that open files.
namespace OpenMessages {
QString oneFileAtATime();
QString notExecutable();
QString selectExecutable();
QString selectExistingFile();
} // namespace OpenMessages
