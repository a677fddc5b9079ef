#pragma once

class MainMenus;
class QObject;
class ViewGraphic;

// Connects View > View Graphic (mnuBmp) and each pane's pop-up View Graphic (mnuGraphic1..5)
// to the picture viewer's commands.
void wireViewGraphic(ViewGraphic &viewGraphic, MainMenus &menus, QObject *context);
