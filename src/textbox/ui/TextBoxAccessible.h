#pragma once

#include "textbox/ui/TextItems.h"

#include <QAccessibleWidget>

#include <utility>

class TextBox;

// What assistive tools (a screen reader, say) learn of the text box and may do with it: its
// text by characters, words, sentences, rows and lines, its caret and selection, where each
// character shows, and edits.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit TextBoxAccessible(TextBox *box);

    // The factory Qt asks for the interface of an object; installed once, by the first box.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;

    // Edits as typing makes them, one step to undo each; none in a read-only box.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    TextBox *box() const;
    // A line boundary is a row of the box, as it shows; the other kinds are found in the lines.
    QString textItem(int offset, QAccessible::TextBoundaryType boundaryType, TextItems::Side side,
                     int *startOffset, int *endOffset) const;
    // The row around position: from its start to the next row's, the last row of a line with
    // the line's break.
    std::pair<qint64, qint64> rowAround(qint64 position) const;
};
