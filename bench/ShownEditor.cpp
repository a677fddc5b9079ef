#include "ShownEditor.h"

#include "BenchTools.h"
#include "PaintWatch.h"
#include "editor/Textpad.h"
#include "textbox/ui/TextBox.h"
#include "support/LoadWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

ShownEditor::ShownEditor() : m_editor(m_services.services())
{
    m_textpad = m_editor.window().get();
    if (!m_textpad)
        return;
    PaintWatch shown(box()->viewport(), [] { return true; });
    m_ready = shown.wait(paintTimeoutMs);
}

TextBox *ShownEditor::box()
{
    return m_textpad->txtNote();
}

QString ShownEditor::load(const QString &path)
{
    if (!m_ready)
        return QStringLiteral("the editor did not paint");
    if (!loadAndWait(m_editor, path))
        return QStringLiteral("LoadTextFile failed");
    box()->viewport()->repaint();
    return QString();
}

double ShownEditor::keyMs(QKeyEvent &event)
{
    QElapsedTimer timer;
    timer.start();
    QCoreApplication::sendEvent(box(), &event);
    box()->viewport()->repaint();
    return BenchTools::elapsedMs(timer);
}

double ShownEditor::keyMs(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    return keyMs(press);
}

double ShownEditor::typeMs(const QString &text)
{
    return keyMs(Qt::Key_unknown, Qt::NoModifier, text);
}
