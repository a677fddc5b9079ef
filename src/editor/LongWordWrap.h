#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QStringView>

class QPlainTextEdit;
class QTextDocument;

// Keeps the text box's wrapping cheap. The box breaks lines at blanks, and a word wider than
// the box anywhere; but to break such a word the toolkit measures the rest of the word again
// for every line it makes, so a long word costs time with the square of its length (a line of
// a million hex digits: many seconds to lay out, and again at each keystroke in it). A
// document that holds a word longer than longWord characters therefore breaks all its lines
// anywhere, which costs time in step with the text: such a line is no prose to wrap. Edits
// that bring such a word switch it on; a change of the whole text, and another document, look
// again.
class LongWordWrap
{
public:
    static constexpr qsizetype longWord = 4096;

    explicit LongWordWrap(QPlainTextEdit &box);
    ~LongWordWrap();
    LongWordWrap(const LongWordWrap &) = delete;
    LongWordWrap &operator=(const LongWordWrap &) = delete;

    // The box now shows document: its whole text decides.
    void watch(QTextDocument *document);
    bool breaksAnywhere() const { return m_anywhere; }

    // Whether text holds more than longWord characters in a row that are not blanks.
    static bool hasLongWord(QStringView text);

private:
    void contentsChange(int position, int added);
    void breakAnywhere(bool anywhere);

    QPlainTextEdit &m_box;
    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_connection;
    bool m_anywhere = false;
};
