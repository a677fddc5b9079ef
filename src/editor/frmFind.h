#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct FindState;

// The editor's find dialog: the text to look for, case and direction. It reads and writes the
// editor's find state; "Find" runs the editor's search and the dialog stays open.
class frmFind : public QDialog
{
    Q_OBJECT

public:
    frmFind(FindState &state, std::function<void()> findNext, QWidget *parent);

    // Near the top of the screen, centred across it; "Find" disabled; the direction from the
    // find state.
    void Form_Load();

    QLineEdit *txtFind() const { return m_txtFind; }
    QCheckBox *chkCase() const { return m_chkCase; }
    // index 0 "Up", 1 "Down": the index is the direction it stands for.
    QRadioButton *optDirection(int index) const { return m_optDirection[index]; }
    QPushButton *cmdFind() const { return m_cmdFind; }
    QPushButton *cmdcancel() const { return m_cmdcancel; }

    void cmdFind_Click();
    // Keeps the typed text and the case choice, and closes the dialog (also Esc).
    void cmdcancel_Click();

    void reject() override;

Q_SIGNALS:
    void unloadRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void txtFind_Change();

    FindState &m_state;
    std::function<void()> m_findNext;
    QLineEdit *m_txtFind;
    QCheckBox *m_chkCase;
    QRadioButton *m_optDirection[2];
    QPushButton *m_cmdFind;
    QPushButton *m_cmdcancel;
};
