#pragma once

#include "editor/TextEditor.h"
#include "support/TestServices.h"

class QKeyEvent;
class TextBox;
class Textpad;

// The editor window on the test services, shown offscreen, its empty text box painted once.
class ShownEditor
{
public:
    // How long a case waits for a paint before it gives up.
    static constexpr int paintTimeoutMs = 60 * 1000;

    ShownEditor();

    bool ready() const { return m_ready; }
    TextEditor &editor() { return m_editor; }
    TextBox *box();
    // path loaded and the box painted with it: "" or what went wrong.
    QString load(const QString &path);

    // The key sent to the box and the box painted again at once; the time both took, in ms.
    double keyMs(QKeyEvent &event);
    double keyMs(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString());
    // A character typed, as a key press that carries it.
    double typeMs(const QString &text);

private:
    TestServices m_services;
    TextEditor m_editor;
    Textpad *m_textpad = nullptr;
    bool m_ready = false;
};
