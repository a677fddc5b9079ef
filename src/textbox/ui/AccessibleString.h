#pragma once

#include <QAccessibleTextInterface>
#include <QString>

// A string as assistive tools read a text, nothing selected, nowhere on the screen: Qt's own
// text interface finds the characters, words, sentences and lines of it.
class AccessibleString : public QAccessibleTextInterface
{
public:
    explicit AccessibleString(QString text) : m_text(std::move(text)) {}

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(m_text.size()); }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QString m_text;
};
