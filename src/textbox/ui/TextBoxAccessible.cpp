#include "textbox/ui/TextBoxAccessible.h"

#include "textbox/TextCodec.h"
#include "textbox/ui/TextBox.h"
#include "textbox/ui/TextItems.h"

#include <algorithm>

namespace {

// Offsets an assistive tool gives, kept within the text.
qint64 clamped(const TextBox *box, int offset)
{
    return std::clamp<qint64>(offset, 0, box->characterCount());
}

int asInt(qint64 value)
{
    return int(std::min<qint64>(value, INT_MAX));
}

} // namespace

TextBoxAccessible::TextBoxAccessible(TextBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QAccessibleInterface *TextBoxAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("TextBox")) {
        if (auto *box = qobject_cast<TextBox *>(object))
            return new TextBoxAccessible(box);
    }
    return nullptr;
}

TextBox *TextBoxAccessible::box() const
{
    return static_cast<TextBox *>(widget());
}

void *TextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString TextBoxAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return box()->toPlainText();
    return QAccessibleWidget::text(type);
}

void TextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const bool selected = selectionIndex == 0 && box()->hasSelection();
    *startOffset = selected ? asInt(box()->selectionStart()) : 0;
    *endOffset = selected ? asInt(box()->selectionEnd()) : 0;
}

int TextBoxAccessible::selectionCount() const
{
    return box()->hasSelection() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset)
{
    // The box has one selection: a new one takes its place.
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->setCursorPosition(box()->position());
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->select(clamped(box(), startOffset), clamped(box(), endOffset));
}

int TextBoxAccessible::cursorPosition() const
{
    return asInt(box()->position());
}

void TextBoxAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(clamped(box(), position));
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const
{
    return box()->lines().text(clamped(box(), startOffset), clamped(box(), endOffset));
}

int TextBoxAccessible::characterCount() const
{
    return asInt(box()->characterCount());
}

QRect TextBoxAccessible::characterRect(int offset) const
{
    const qint64 position = clamped(box(), offset);
    const QRect caret = box()->cursorRect(position);
    const QRect next = box()->cursorRect(std::min(position + 1, box()->characterCount()));
    // A character on one row reaches to the next caret place; one at a row's end is a caret wide.
    const int width = next.top() == caret.top() ? std::max(1, next.left() - caret.left()) : 1;
    return QRect(box()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
}

int TextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inViewport = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(inViewport))
        return -1;
    return asInt(box()->positionAt(inViewport));
}

void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    box()->showPosition(clamped(box(), endIndex));
    box()->showPosition(clamped(box(), startIndex));
}

QString TextBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    // Plain text: one run of the same attributes over the whole of it.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

std::pair<qint64, qint64> TextBoxAccessible::rowAround(qint64 position) const
{
    const TextLines &lines = box()->lines();
    const qsizetype line = lines.lineAt(position);
    const qint64 start = lines.lineStart(line);
    const LineLayout::Row shown = box()->rowShowing(line, position - start);
    if (!shown.isLast())
        return {start + shown.textStart(), start + shown.textStart() + shown.textLength()};
    // The last row takes the line's break.
    return {start + shown.textStart(), start + lines.lineLength(line) + (line + 1 < lines.lineCount() ? 1 : 0)};
}

QString TextBoxAccessible::textItem(int offset, QAccessible::TextBoundaryType boundaryType, TextItems::Side side,
                                    int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    const qint64 count = box()->characterCount();
    const qint64 position = offset == -1 ? count : offset;
    if (position < 0 || position > count)
        return QString();
    std::pair<qint64, qint64> found;
    if (boundaryType == QAccessible::LineBoundary) {
        found = rowAround(position);
        if (side == TextItems::Side::Before) {
            if (found.first == 0)
                return QString();
            found = rowAround(found.first - 1);
        } else if (side == TextItems::Side::After) {
            if (found.second >= count)
                return QString();
            found = rowAround(found.second);
        }
    } else {
        const TextItems::Item item = TextItems::find(box()->lines(), position, boundaryType, side);
        *startOffset = asInt(item.start);
        *endOffset = asInt(item.end);
        return item.text;
    }
    *startOffset = asInt(found.first);
    *endOffset = asInt(found.second);
    return box()->lines().text(found.first, found.second);
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    return textItem(offset, boundaryType, TextItems::Side::Before, startOffset, endOffset);
}

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                        int *endOffset) const
{
    return textItem(offset, boundaryType, TextItems::Side::At, startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int *startOffset, int *endOffset) const
{
    return textItem(offset, boundaryType, TextItems::Side::After, startOffset, endOffset);
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!box()->isReadOnly())
        box()->replaceText(clamped(box(), startOffset), clamped(box(), endOffset), TextCodec::withPlainLineBreaks(text));
}
