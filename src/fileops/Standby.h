#pragma once

#include <QWidget>

class ProgramEnd;
class QEventLoop;
class QLabel;
class QLineEdit;
class QTimer;

// The busy window: a thin red strip near the bottom of the screen with one line of status text.
// It paces itself with its own timer and lets events run while it waits, so the rest of the
// program keeps answering during a file operation.
//
// Its commands keep the names of the window's invisible buttons: Command1 types Text1 into
// Label1, one letter per tick; Command3 waits as many ticks with a blank line. Closing
// (Command2) is the owner's, SharedStandby, because closing unloads the window.
class Standby : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DesignTickMs = 10;

    explicit Standby(ProgramEnd &programEnd, int tickMs = DesignTickMs);
    ~Standby() override;

    QLabel *label1() const { return m_label1; }
    QLineEdit *text1() const { return m_text1; }
    QTimer *timer1() const { return m_timer1; }

    QString labelText() const;
    void setLabelText(const QString &text);

    // Types Text1 into Label1 one letter per tick; returns one tick after the last letter.
    void Command1();
    // Blank wait: Label1 empty for as many ticks as Text1 has letters.
    void Command3();
    // The tick: ends the running wait step.
    void Timer1_Timer();

    // Ends every running wait at once and lets no further wait start; the window is about to
    // be unloaded.
    void endWaits();

Q_SIGNALS:
    // endWaits() was called: every running wait ends.
    void closing();

private:
    // Runs the steps of Command1 (typing) or Command3 (blank).
    void typeOrWait(bool typing);
    // One wait step: until the next tick. False when the wait was cut short (the window is
    // closing or gone, or the program is ending): the caller must then return at once.
    bool waitStep();

    ProgramEnd &m_programEnd;
    QLabel *m_label1;
    QLineEdit *m_text1;
    QTimer *m_timer1;
    bool m_closing = false;
};
