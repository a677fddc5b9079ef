#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class MenuTree;
class QWidget;

// A focused text box or list takes keys such as Ctrl+C, Ctrl+A and Del for itself before the
// window's menu sees them. In the widgets this filter watches, the key of an enabled menu item
// runs that item instead; the keys in boxKeeps keep their meaning in the widget, and a
// disabled item leaves its key to the widget too.
class MenuShortcutFilter : public QObject
{
public:
    // menus must outlive the filter.
    explicit MenuShortcutFilter(const MenuTree &menus, QList<QKeySequence> boxKeeps = {},
                                QObject *parent = nullptr);

    void watch(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const MenuTree &m_menus;
    QList<QKeySequence> m_boxKeeps;
};
