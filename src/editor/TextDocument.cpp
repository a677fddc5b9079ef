#include "editor/TextDocument.h"

#include "editor/EditorMessages.h"
#include "platform/FileErrors.h"
#include "textbox/TextEncoder.h"
#include "platform/FileServices.h"
#include "platform/PathCodec.h"
#include "platform/ui/Dialogs.h"

TextDocument::TextDocument(FileServices &files, Dialogs &dialogs) : m_files(files), m_dialogs(dialogs) {}

void TextDocument::makeUntitled()
{
    m_caption = untitledCaption();
    m_path.clear();
    m_format = TextFormat();
    m_stamp.reset();
}

void TextDocument::belongTo(const QString &path, const QString &caption, const TextFormat &format,
                            std::optional<FileStamp> stamp)
{
    m_path = path;
    m_caption = caption;
    m_format = format;
    m_stamp = stamp;
}

void TextDocument::adoptPath(const QString &path, const QString &caption)
{
    m_path = path;
    m_caption = caption;
    m_stamp = path == m_writtenPath ? m_written : FileStamp::of(path);
}

std::optional<EditorMessages::DiskChange> TextDocument::changeOnDisk() const
{
    using EditorMessages::DiskChange;
    if (!m_stamp)
        return std::nullopt;
    const std::optional<FileStamp> now = FileStamp::of(m_path);
    if (!now || now->sameContentsAs(*m_stamp))
        return std::nullopt;
    if (now->link && !m_stamp->link)
        return DiskChange::NowALink;
    if (!now->exists)
        return DiskChange::Removed;
    if (!m_stamp->exists || now->device != m_stamp->device || now->inode != m_stamp->inode)
        return DiskChange::Replaced;
    return DiskChange::Changed;
}

void TextDocument::showWriteFailure(const WriteResult &result)
{
    const QString text = !result.backup.isEmpty()
        ? EditorMessages::writeFailedBackupKept(result.error, PathCodec::displayText(result.backup))
        : !result.noBackupIn.isEmpty() ? EditorMessages::writeFailedNoBackup(result.error, PathCodec::displayText(result.noBackupIn))
                                        : EditorMessages::writeFailed(result.error);
    m_dialogs.message(text, MessageIcon::Exclamation);
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
    const bool ownFile = isOwnFile(path);
    if (const std::optional<EditorMessages::DiskChange> change = ownFile ? changeOnDisk() : std::nullopt) {
        const MessageAnswer answer = m_dialogs.message(
            MessageRequest{EditorMessages::saveOverChange(*change, PathCodec::displayText(m_path)),
                           Dialogs::applicationTitle(), MessageButtons::YesNo, MessageIcon::Exclamation});
        if (answer != MessageAnswer::Yes)
            return false;
        if (*change == EditorMessages::DiskChange::NowALink)
            link = LinkAtPath::Replace;
    }
    TextEncoder encoder(lines, format);
    const FilePieces pieces{[&encoder] { return encoder.size(); }, [&encoder] { return encoder.next(); }};
    // Only the line end added at the end is left that could fail to encode here, and no file
    // has one that its own encoding cannot hold.
    const WriteResult result = m_files.writeFilePieces(
        path, pieces, link == LinkAtPath::Replace ? FileServices::LinkAtPath::Replace : FileServices::LinkAtPath::Follow);
    if (result.error) {
        showWriteFailure(result);
        return false;
    }
    m_writtenPath = path;
    m_written = result.written;
    if (ownFile)
        m_stamp = path == m_path ? result.written : FileStamp::of(m_path);
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
