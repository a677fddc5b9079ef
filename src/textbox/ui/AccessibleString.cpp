#include "textbox/ui/AccessibleString.h"

QString AccessibleString::text(int startOffset, int endOffset) const
{
    return m_text.mid(startOffset, endOffset - startOffset);
}

void AccessibleString::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString AccessibleString::attributes(int, int *startOffset, int *endOffset) const
{
    // Plain text: one run of no attributes over the whole of it.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
