#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

class MenuTree;

// The HTML viewer: a worker window that starts the browser while it loads and then closes
// itself, unless the browser's automation object is busy on the pane road; then it stays, an
// empty window as large as the screen, until its "Exit".
class Web1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Web1(QWidget *parent = nullptr);
    ~Web1() override;

    const MenuTree &menus() const { return *m_menus; }
    void mnuExit1_Click();
    // Asks the owner to unload the window, also from inside its own load.
    void unload() { Q_EMIT unloadRequested(); }

Q_SIGNALS:
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<MenuTree> m_menus;
};
