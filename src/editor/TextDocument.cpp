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

bool TextDocument::write(const QString &path, const QString &text)
{
    const std::optional<QByteArray> bytes = TextCodec::encode(text, m_format);
    if (!bytes) {
        m_dialogs.message(EditorMessages::cannotEncode(m_format.encoding), MessageIcon::Exclamation);
        return false;
    }
    if (const int error = m_files.writeFile(path, *bytes)) {
        m_dialogs.message(EditorMessages::writeFailed(error), MessageIcon::Exclamation);
        return false;
    }
    return true;
}
