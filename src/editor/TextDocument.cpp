#include "editor/TextDocument.h"

#include "editor/EditorMessages.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/ui/Dialogs.h"

TextDocument::TextDocument(FileServices &files, Dialogs &dialogs) : m_files(files), m_dialogs(dialogs) {}

void TextDocument::makeUntitled()
{
    m_caption = untitledCaption();
    m_path.clear();
    m_format = TextFormat();
}

void TextDocument::belongTo(const QString &path, const QString &caption, const TextFormat &format)
{
    m_path = path;
    m_caption = caption;
    m_format = format;
}

void TextDocument::adoptPath(const QString &path, const QString &caption)
{
    m_path = path;
    m_caption = caption;
}

bool TextDocument::write(const QString &path, const TextLines &lines, LinkAtPath link,
                         std::optional<TextEncoding> encoding)
{
    TextFormat format = m_format;
    if (encoding)
        format.encoding = *encoding;
    if (const std::optional<TextLines::Unencodable> stop = lines.firstUnencodable(format.encoding, format.lineEnd)) {
        m_dialogs.message(EditorMessages::cannotEncode(format.encoding, *stop), MessageIcon::Exclamation);
        return false;
    }
    const std::optional<QByteArray> bytes = lines.encode(format);
    // Only the line end added at the end is left that could fail here, and no file has one
    // that its own encoding cannot hold.
    const int error = !bytes ? FileErrors::PathFileAccess
        : link == LinkAtPath::Replace ? m_files.replaceFile(path, *bytes)
                                      : m_files.writeFile(path, *bytes);
    if (error) {
        m_dialogs.message(EditorMessages::writeFailed(error), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

std::optional<TextEncoding> TextDocument::encodingForSaveAs(const TextLines &lines)
{
    const TextEncoding own = m_format.encoding;
    if (own != TextEncoding::Windows1252)
        return own;
    const std::optional<TextLines::Unencodable> stop = lines.firstUnencodable(own, m_format.lineEnd);
    if (!stop)
        return own;
    const MessageAnswer answer = m_dialogs.message(MessageRequest{EditorMessages::saveAsUtf8(own, *stop),
                                                                  Dialogs::applicationTitle(), MessageButtons::YesNo,
                                                                  MessageIcon::Question});
    if (answer != MessageAnswer::Yes)
        return std::nullopt;
    return TextEncoding::Utf8;
}

bool TextDocument::isOwnFile(const QString &path) const
{
    return !m_path.isEmpty() && (path == m_path || m_files.isSameFile(path, m_path));
}
