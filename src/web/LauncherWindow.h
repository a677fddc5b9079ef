#pragma once

#include "platform/ui/FormDesign.h"

#include <QWidget>

// How a launcher looks when it stays open: maximised or not, and Inet's buttons and scroll bar.
struct LauncherDesign
{
    QString name;
    bool maximised = false;
    QList<ControlDesign> buttons = {};
    QString scrollBarName = QString();
    QRect scrollBarTwips = QRect();
};

// A launcher window of the Internet menu. It does its work while it loads (PromptPair) and
// is seen only when it stays open: with no caption and, but for Inet, no controls. Its close
// box asks for its unload.
class LauncherWindow : public QWidget
{
    Q_OBJECT

public:
    explicit LauncherWindow(const LauncherDesign &design, QWidget *parent = nullptr);

    // Shows the window that stayed open, or brings it to the front.
    void showStaying();

Q_SIGNALS:
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_maximised;
};
