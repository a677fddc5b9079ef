#include "editor/LongWordWrap.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

LongWordWrap::LongWordWrap(QPlainTextEdit &box) : m_box(box)
{
    breakAnywhere(false);
}

LongWordWrap::~LongWordWrap()
{
    QObject::disconnect(m_connection);
}

void LongWordWrap::watch(QTextDocument *document)
{
    QObject::disconnect(m_connection);
    m_document = document;
    if (!document)
        return;
    m_connection = QObject::connect(document, &QTextDocument::contentsChange, &m_box,
                                    [this](int position, int, int added) { contentsChange(position, added); });
    bool found = false;
    for (QTextBlock block = document->begin(); block.isValid() && !found; block = block.next())
        found = block.length() > longWord && hasLongWord(block.text());
    breakAnywhere(found);
}

bool LongWordWrap::hasLongWord(QStringView text)
{
    if (text.size() <= longWord)
        return false;
    qsizetype run = 0;
    for (const QChar ch : text) {
        run = ch.isSpace() ? 0 : run + 1;
        if (run > longWord)
            return true;
    }
    return false;
}

void LongWordWrap::contentsChange(int position, int added)
{
    if (!m_document)
        return;
    // The whole text replaced (File > New, say): it alone decides again.
    if (position == 0 && added >= m_document->characterCount() - 1) {
        watch(m_document);
        return;
    }
    if (m_anywhere)
        return;
    const QTextBlock last = m_document->findBlock(position + added);
    for (QTextBlock block = m_document->findBlock(position); block.isValid(); block = block.next()) {
        if (block.length() > longWord && hasLongWord(block.text())) {
            breakAnywhere(true);
            return;
        }
        if (block == last)
            break;
    }
}

void LongWordWrap::breakAnywhere(bool anywhere)
{
    m_anywhere = anywhere;
    const QTextOption::WrapMode mode = anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (m_box.wordWrapMode() != mode)
        m_box.setWordWrapMode(mode);
}
