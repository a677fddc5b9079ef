#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The texts of the copy, paste and delete commands.
namespace BatchMessages {

// The message a failed paste shows for an error number; nothing for a number that passes
// silently (a missing source file, for one).
std::optional<QString> pasteFailure(int error);

QString selectToCopy();
QString selectToDelete();
QString chooseDestination();
// Names the files the trash refused, one full path per line: the first 20, then how many more.
QString trashRefused(const QStringList &paths);

} // namespace BatchMessages
