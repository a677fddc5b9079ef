#pragma once

#include "FormFixture.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "support/LoadWait.h"

#include <QApplication>
#include <QEvent>
#include <QTest>

// The editor open on a file and minimised while another window is active: a command that loads
// another file into it must leave the window as it is, neither restored nor raised nor active.
class MinimisedEditor : public QObject
{
public:
    MinimisedEditor(FormFixture &fixture, const QString &file, QWidget *active) : m_fixture(fixture), m_active(active)
    {
        TextEditor &editor = fixture.form->editor();
        QVERIFY(loadAndWait(editor, file));
        m_textpad = editor.window().ifLoaded();
        m_textpad->showMinimized();
        m_active->show();
        m_active->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_active));
        m_textpad->installEventFilter(this);
    }

    // After the command: the editor holds path and is still minimised, not raised, not active.
    void verifyLeftAlone(const QString &path)
    {
        QVERIFY(m_fixture.editorLoadEnded());
        QCOMPARE(m_fixture.form->editor().window().ifLoaded(), m_textpad.data());
        QCOMPARE(m_textpad->document().path(), path);
        QVERIFY(m_textpad->isMinimized());
        QCOMPARE(m_raises, 0);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), m_active.data());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_textpad && event->type() == QEvent::ZOrderChange)
            ++m_raises;
        return false;
    }

private:
    FormFixture &m_fixture;
    QPointer<QWidget> m_active;
    QPointer<Textpad> m_textpad;
    int m_raises = 0;
};
