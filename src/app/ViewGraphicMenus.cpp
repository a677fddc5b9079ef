#include "app/ViewGraphicMenus.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "panes/PaneSpec.h"
#include "picview/ViewGraphic.h"

void wireViewGraphic(ViewGraphic &viewGraphic, MainMenus &menus, QObject *context)
{
    menus.onTriggered(QStringLiteral("mnuBmp"), context, [&viewGraphic] { viewGraphic.mnuBmp_Click(); });
    for (int n = 1; n <= PaneCount; ++n) {
        menus.onTriggered(paneItemName(PaneCommand::ViewGraphic, n), context,
                          [&viewGraphic, n] { viewGraphic.mnuGraphic_Click(n); });
    }
}
