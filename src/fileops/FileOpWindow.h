#pragma once

#include "fileops/FormDesign.h"
#include "platform/ui/SharedWindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// A window of the file operations, built from its design: two text boxes Text1 and Text2, the
// "Okay" button Command1 and the "Cancel" button Command2, with labels around them. It is a
// plain top-level widget, not a dialog, so it never blocks and Enter and Esc press none of its
// buttons; it is centred on the screen when it is created.
//
// Cancel and the close box ask for an unload, so the window's owner forgets it at once and the
// next use starts from the design again.
class FileOpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FileOpWindow(const FormDesign &design, QWidget *parent = nullptr);

    QLineEdit *text1() const;
    QLineEdit *text2() const;
    QLineEdit *textBox(const QString &name) const;
    QPushButton *button(const QString &name) const;
    QLabel *label(const QString &name) const;

    // Shows the window without blocking and brings it to the front.
    void showInFront();

    // "Okay".
    virtual void Command1_Click() = 0;
    // "Cancel": unloads the window.
    void Command2_Click();

Q_SIGNALS:
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *addControl(const ControlDesign &design);

    FormDesign::Picture m_picture;
};

// Lets a shared window unload itself: its unload request destroys it through shared.
template <typename T>
T *unloadThrough(SharedWindow<T> &shared, T *window)
{
    QObject::connect(window, &FileOpWindow::unloadRequested, window, [&shared] { shared.unload(); });
    return window;
}
