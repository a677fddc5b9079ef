#include "editor/TextDocument.h"

#include "editor/EditorMessages.h"
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

bool TextDocument::write(const QString &path, const QString &text, LinkAtPath link,
                         std::optional<TextEncoding> encoding)
{
    TextFormat format = m_format;
    if (encoding)
        format.encoding = *encoding;
    const std::optional<qsizetype> stop = TextCodec::firstUnencodable(text, format.encoding);
    const std::optional<QByteArray> bytes = stop ? std::nullopt : TextCodec::encode(text, format);
    if (!bytes) {
        m_dialogs.message(EditorMessages::cannotEncode(format.encoding, text, stop.value_or(0)),
                          MessageIcon::Exclamation);
        return false;
    }
    const int error = link == LinkAtPath::Replace ? m_files.replaceFile(path, *bytes) : m_files.writeFile(path, *bytes);
    if (error) {
        m_dialogs.message(EditorMessages::writeFailed(error), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

std::optional<TextEncoding> TextDocument::encodingForSaveAs(const QString &text)
{
    const TextEncoding own = m_format.encoding;
    if (own != TextEncoding::Windows1252)
        return own;
    const std::optional<qsizetype> stop = TextCodec::firstUnencodable(text, own);
    if (!stop)
        return own;
    const MessageAnswer answer = m_dialogs.message(MessageRequest{EditorMessages::saveAsUtf8(own, text, *stop),
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
