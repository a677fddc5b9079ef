#pragma once

#include <QMainWindow>

#include <functional>

class QPlainTextEdit;

// The help window: one fixed text over the whole screen, closed by its "Exit" menu only (it
// has no close box).
class Help1 : public QMainWindow
{
    Q_OBJECT

public:
    // unload: destroys this window (its shared instance's unload).
    Help1(QWidget *mainWindow, std::function<void()> unload);

    // Takes the screen's height and width; centred, the window then covers the screen.
    void Form_Load();
    // "Exit" > "Exit": unloads the window.
    void mnuExit1_Click();

    QPlainTextEdit *Text1;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::function<void()> m_unload;
};
