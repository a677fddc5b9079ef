#pragma once

#include "platform/ui/FormDesign.h"
#include "platform/ui/SharedWindow.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A small window built from its design: text boxes (Text1, Text2, ...), the "Okay" button
// Command1 and the "Cancel" button Command2, with labels around them. It is a
// plain top-level widget, not a dialog, so it never blocks and Enter and Esc press none of its
// buttons; it is centred on the screen when it is created, unless its design says otherwise.
//
// Cancel and the close box ask for an unload, so the window's owner forgets it at once and the
// next use starts from the design again.
class DesignedWindow : public QWidget
{
    Q_OBJECT

public:
    explicit DesignedWindow(const FormDesign &design, QWidget *parent = nullptr);

    QLineEdit *text1() const;
    QLineEdit *text2() const;
    QLineEdit *textBox(const QString &name) const;
    QPushButton *button(const QString &name) const;
    QLabel *label(const QString &name) const;
    QCheckBox *checkBox(const QString &name) const;

    // Adds one designed control to parent, named, placed and coloured as designed: made, a
    // widget of the caller's own class for it, or else the kind's plain widget (a List is a
    // plain QListView).
    static QWidget *addControl(QWidget *parent, const ControlDesign &design, QWidget *made = nullptr);
    // Gives a window's client area its designed colour; its text boxes and buttons keep the
    // system's.
    static void setClientColor(QWidget *client, qint32 color);

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
    DesignPicture m_picture;
};

// Lets a shared window unload itself: its unload request destroys it through shared.
template <typename T>
T *unloadThrough(SharedWindow<T> &shared, T *window)
{
    QObject::connect(window, &DesignedWindow::unloadRequested, window, [&shared] { shared.unload(); });
    return window;
}
