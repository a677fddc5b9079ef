#pragma once

#include "textbox/TextLines.h"

#include <QAccessible>
#include <QString>

// The characters, words, sentences and lines (ends and all) that assistive tools read the text
// by, found as Qt's own text interface finds them in a whole text, but in the few lines around
// the offset asked about: a query costs those lines, not a copy of a text of hundreds of MiB.
class TextItems
{
public:
    enum class Side { Before, At, After };

    struct Item
    {
        // -1 where there is no such item.
        qint64 start = -1;
        qint64 end = -1;
        QString text;
    };

    // The item of type before, at or after offset (-1 for the text's end). Lines are the text's
    // lines here, each with its break; the box's rows are its own business.
    static Item find(const TextLines &lines, qint64 offset, QAccessible::TextBoundaryType type, Side side);
};
