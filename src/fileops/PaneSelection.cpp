#include "fileops/PaneSelection.h"

#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Dialogs.h"

namespace PaneSelection {

QStringList selectedNames(const FileList &list)
{
    QStringList names;
    const int count = list.listCount();
    for (int i = 0; i < count; ++i) {
        if (list.isSelected(i))
            names.append(list.item(i));
    }
    return names;
}

void onSelectedPane(const PaneBoard &board, Dialogs &dialogs, const QString &noneMessage,
                    const std::function<void(int)> &paneCommand)
{
    const int n = board.paneHasSelection();
    if (n == 0)
        dialogs.message(noneMessage);
    else
        paneCommand(n);
}

} // namespace PaneSelection
