#pragma once

#include "textbox/ui/TextBox.h"
#include "support/Doubles.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

// A text box of a fixed size in a shown, active window, with a line edit after it to take the
// focus, over the desktop clipboard (with a primary selection of its own).
struct TextBoxFixture
{
    // Space between the box's edge and its text, as a plain text box leaves.
    static constexpr int margin = 4;

    RecordingClipboard clipboard;
    QWidget window;
    TextBox *box = new TextBox(clipboard, &window);
    QLineEdit *next = new QLineEdit(&window);

    TextBoxFixture()
    {
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setGeometry(0, 0, 320, 200);
        next->setGeometry(0, 210, 320, 24);
        window.setFixedSize(320, 240);
    }

    // A fixture whose window shows with the box focused; null when it could not be shown.
    static std::unique_ptr<TextBoxFixture> shown()
    {
        auto fixture = std::make_unique<TextBoxFixture>();
        return fixture->show() ? std::move(fixture) : nullptr;
    }

    // Shows the window with the box focused; false when the window could not be shown.
    bool show()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowExposed(&window) || !QTest::qWaitForWindowActive(&window))
            return false;
        box->setFocus();
        return box->hasFocus();
    }

    // Words enough to wrap over several rows of the box: "word<from> word<from+1> ...".
    static QString words(int from, int count)
    {
        QString text;
        for (int n = from; n < from + count; ++n)
            text += QStringLiteral("word%1 ").arg(n);
        return text.trimmed();
    }

    QScrollBar *bar() const { return box->verticalScrollBar(); }
    int rowHeight() const { return std::max(1, int(std::ceil(QFontMetricsF(box->font()).lineSpacing()))); }
    // The rows the box shows whole.
    int shownRows() const { return (box->viewport()->height() - margin) / rowHeight(); }

    void setText(const QString &text, qint64 anchor, qint64 position)
    {
        box->setPlainText(text);
        box->select(anchor, position);
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(box, Qt::Key(key), modifiers);
    }
    // Types text at the caret, a key press per character carrying it.
    void type(const QString &text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(box, &press);
        }
    }
    // Types a character outside the basic plane, a key press carrying its pair.
    void typePair(const QString &pair)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, pair);
        QCoreApplication::sendEvent(box, &press);
    }
    void commit(const QString &text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(box, &event);
    }

    // The row of line that position lies on.
    int rowInLine(qint64 position) const
    {
        const qsizetype line = box->lines().lineAt(position);
        const int column = int(position - box->lines().lineStart(line));
        for (int row = 0; row + 1 < box->rowsOf(line); ++row) {
            const LineLayout::Row textRow = box->rowOf(line, row);
            if (column < textRow.textStart() + textRow.textLength())
                return row;
        }
        return box->rowsOf(line) - 1;
    }
    // The rows from the top of the text to position's row, every line above laid out.
    qint64 rowOfText(qint64 position) const
    {
        const qsizetype line = box->lines().lineAt(position);
        qint64 rows = 0;
        for (qsizetype above = 0; above < line; ++above)
            rows += box->rowsOf(above);
        return rows + rowInLine(position);
    }
    // The middle of the character that begins at position, in the viewport, the text shown
    // from its first row (short texts, all of it laid out).
    QPoint pointOf(qint64 position) const
    {
        const qsizetype line = box->lines().lineAt(position);
        const int column = int(position - box->lines().lineStart(line));
        const LineLayout::Row row = box->rowOf(line, rowInLine(position));
        const qint64 rows = rowOfText(position) - bar()->value();
        return QPoint(margin + qRound(row.cursorToX(column)), margin + int(rows) * rowHeight() + rowHeight() / 2);
    }

    // Whether the caret shows whole in the box, where the box tells an input method it is.
    bool caretShown() const
    {
        const QRect caret = static_cast<QWidget *>(box)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return !caret.isEmpty() && box->viewport()->rect().contains(caret);
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton pressed = Qt::LeftButton)
    {
        QWidget *viewport = box->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : pressed;
        QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), button, held, modifiers);
        QCoreApplication::sendEvent(viewport, &event);
    }
    void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton, modifiers);
    }
    // The position a click at the top left of the text gives, after a paint: the first shown.
    // The caret goes there.
    qint64 clickFirstShown()
    {
        box->viewport()->repaint();
        click(QPoint(margin, margin + 1));
        return box->position();
    }
};
