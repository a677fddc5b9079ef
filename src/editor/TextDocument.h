#pragma once

#include "editor/EditorMessages.h"
#include "textbox/TextCodec.h"
#include "textbox/TextLines.h"
#include "textbox/TextLoadJob.h"
#include "platform/FileServices.h"
#include "platform/FileStamp.h"

#include <QString>

#include <optional>

class Dialogs;

// The identity of the editor's one document and its reading and writing. The caption is what
// the window shows and the prompts name (the path in upper case after a load); the path is the
// file that Save really writes, which on Linux the upper-cased caption would not name.
class TextDocument
{
public:
    // Files larger than this, or of more lines, are refused, so that a huge file cannot exhaust
    // the memory: the text box holds the file's bytes and about forty more a line, and a save
    // makes a copy of the bytes.
    static constexpr qint64 maxFileSize = qint64(256) << 20;
    static constexpr qint64 maxLines = 4'000'000;
    static constexpr TextLoadLimits loadLimits{maxFileSize, maxLines};

    TextDocument(FileServices &files, Dialogs &dialogs);

    static QString designCaption() { return QStringLiteral("TextPad "); }
    static QString untitledCaption() { return QStringLiteral("New"); }

    const QString &caption() const { return m_caption; }
    // The file the document belongs to; empty while it belongs to none.
    const QString &path() const { return m_path; }
    // No file yet: a new document, or a window whose first load failed ("TextPad ").
    bool isUntitled() const { return m_path.isEmpty(); }
    const TextFormat &format() const { return m_format; }

    // File > New: an empty document that belongs to no file.
    void makeUntitled();
    // The document now belongs to path, shown as caption, in format; stamp is the file as it
    // was read (nothing when the system could not tell).
    void belongTo(const QString &path, const QString &caption, const TextFormat &format,
                  std::optional<FileStamp> stamp);
    // An untitled document saved under path keeps its format and gets the file.
    void adoptPath(const QString &path, const QString &caption);

    // A save writes a link's file; the HTML preview puts a file of its own in the link's place.
    enum class LinkAtPath { WriteThrough, Replace };

    // Writes lines (each with its own line end, the main one where it has none) to path in the
    // document's format (in encoding, when given), safely: a failed write leaves the old file
    // whole. Where path is the document's own file and another program has changed, replaced,
    // linked or removed it since it was loaded or last saved here, the user is asked first
    // (No writes nothing); a link that was not there then is replaced, never written through.
    // A failure is shown in a message, a character the encoding cannot hold named with its
    // line; returns success.
    bool write(const QString &path, const TextLines &lines, LinkAtPath link = LinkAtPath::WriteThrough,
               std::optional<TextEncoding> encoding = std::nullopt);
    // The encoding Save As writes lines in: the document's own, or UTF-8 when the user takes it
    // for a text that the own encoding cannot hold; nothing when the user declines.
    std::optional<TextEncoding> encodingForSaveAs(const TextLines &lines);
    // The document's file is now written in encoding (Save As onto its own file).
    void useEncoding(TextEncoding encoding) { m_format.encoding = encoding; }
    // Whether path names the document's own file (also through a link).
    bool isOwnFile(const QString &path) const;

private:
    // How the file at the document's path differs from the one loaded or last saved; nothing
    // when it does not (or the system cannot tell).
    std::optional<EditorMessages::DiskChange> changeOnDisk() const;
    void showWriteFailure(const WriteResult &result);

    FileServices &m_files;
    Dialogs &m_dialogs;
    QString m_caption = designCaption();
    QString m_path;
    TextFormat m_format;
    // The document's file as loaded or last saved here.
    std::optional<FileStamp> m_stamp;
    // The file last written, for a document that takes it as its own afterwards.
    QString m_writtenPath;
    std::optional<FileStamp> m_written;
};
