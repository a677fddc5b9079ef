#pragma once

#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "support/LoadWait.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include "textbox/ui/TextBox.h"

#include <QKeyEvent>
#include <QTest>

// The editor on real files in a temporary folder, with scripted dialogs.
struct EditorFixture
{
    TestServices services;
    TestDir dir;
    TextEditor editor;

    explicit EditorFixture(std::function<QString()> activePaneFile = {})
        : editor(services.services(), std::move(activePaneFile))
    {
    }

    ScriptedDialogs &dialogs() { return services.dialogs; }
    Textpad *window() { return editor.window().get(); }
    TextBox *box() { return window()->txtNote(); }
    bool changed() { return editor.state().textChanged; }
    QString path(const QString &relative) { return dir.filePath(relative); }
    // Loads path as the rest of the program does, and waits until the load has ended: whether
    // the file is in.
    bool load(const QString &path) { return loadAndWait(editor, path); }
    // Waits until the window loads no file (a command began a load that ends after it); false
    // when a load has not ended within 30 seconds.
    bool loadEnded()
    {
        return QTest::qWaitFor([this] {
            const Textpad *textpad = editor.window().ifLoaded();
            return !textpad || !textpad->isLoading();
        }, 30'000);
    }

    // Types text at the end of the text box, as the user would.
    void type(const QString &text)
    {
        box()->setCursorPosition(box()->characterCount());
        // One key press per character, carrying the character (keyClicks takes Latin-1 only).
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(box(), &press);
        }
    }
    void select(int start, int length)
    {
        box()->select(start, start + length);
    }
    // A changed untitled document holding text.
    void untitledWith(const QString &text)
    {
        window()->StartNewDocument();
        type(text);
    }
};
