#pragma once

#include <QString>

#include <optional>

class PathHelper;

// The save-as dialog's rules and texts, without the window.
namespace SaveasRules {

// The message of the first check that the typed name and folder fail, in the order the
// dialog checks them; nothing when both pass. The folder must be absolute and a drive root or
// a folder right below one; a folder typed with a closing "/" below a root is refused too.
std::optional<QString> check(const QString &name, const QString &folder, const PathHelper &paths);

QString createQuestion(const QString &folder);
QString createTitle();
QString copyFailed(const QString &path);
// The caption of the tick box's label, naming the fixed folder.
QString fixedFolderLabel(const QString &fixedFolder);

} // namespace SaveasRules
