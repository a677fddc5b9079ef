#pragma once

#include <QStringList>

#include <functional>

class Dialogs;
class FileList;
class PaneBoard;

namespace PaneSelection {

// The selected names of a file list, in list order (the count is read once, before the walk).
QStringList selectedNames(const FileList &list);

// A File-menu command: runs paneCommand on the first pane with a selection, or shows
// noneMessage when no pane has one.
void onSelectedPane(const PaneBoard &board, Dialogs &dialogs, const QString &noneMessage,
                    const std::function<void(int)> &paneCommand);

} // namespace PaneSelection
