#pragma once

#include <QAccessibleWidget>

class TextBox;

// What assistive tools (a screen reader, say) learn of the text box and may do with it: its
// text, caret and selection, and where each character shows.
class TextBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface
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

private:
    TextBox *box() const;
};
