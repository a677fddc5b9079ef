#pragma once

// Test doubles for the services that would block, leave the sandbox or cannot exist here.
// Each records what it was asked and answers from a script.

#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileReader.h"
#include "platform/FileServices.h"
#include "platform/Launchers.h"
#include "platform/ProgramEnd.h"
#include "platform/Trash.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Printer.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <mutex>

struct StartRequest
{
    QString program;
    WindowStyle style;
    QString folder;
};

// The desktop clipboard as it is, with an X primary selection of its own, since the offscreen
// platform has none (or, unsupported, none at all, as there); records each text the selection
// is given.
class RecordingClipboard : public QtClipboard
{
public:
    bool supportsSelection() override { return supported; }
    QString selectionText() override { return supported ? selection : QString(); }
    void setSelectionText(const QString &text) override
    {
        if (!supported)
            return;
        selection = text;
        selectionsSet << text;
    }
    bool supported = true;
    QString selection;
    QStringList selectionsSet;
};

class RecordingProgramStarter : public ProgramStarter
{
public:
    bool startProgram(const QString &program, WindowStyle style, const QString &folder) override
    {
        starts.append({program, style, folder});
        return succeed;
    }
    QList<StartRequest> starts;
    bool succeed = true;
};

class RecordingShellOpen : public ShellOpen
{
public:
    bool open(const QString &path) override
    {
        opened << path;
        return succeed;
    }
    QStringList opened;
    bool succeed = true;
};

class RecordingBrowser : public Browser
{
public:
    bool isInstalled() override { return installed; }
    bool start(const QString &address, WindowStyle style) override
    {
        addresses << address;
        styles << style;
        return succeed;
    }
    bool installed = true;
    bool succeed = true;
    QStringList addresses;
    QList<WindowStyle> styles;
};

class ScriptedBrowserAutomation : public BrowserAutomation
{
public:
    bool isBusy() override { return busy; }
    void quit() override { ++quits; }
    bool busy = false;
    int quits = 0;
};

class CountingShellWindows : public ShellWindows
{
public:
    void quitAll() override { ++quitCalls; }
    int quitCalls = 0;
};

// Drives from a script: their list, and per drive the folder it opens or the error it reports.
class ScriptedDrives : public Drives
{
public:
    QList<Drive> drives() override { return list; }
    DriveFolder currentFolderOf(const QString &root) override
    {
        asked << root;
        if (errors.contains(root))
            return DriveFolder{QString(), errors.value(root)};
        return DriveFolder{folders.value(root, root), 0};
    }
    QList<Drive> list{Drive{QStringLiteral("/"), QString()}};
    QHash<QString, QString> folders;
    QHash<QString, int> errors;
    QStringList asked;
};

// A trash that refuses the scripted paths and passes the others on to a real trash (or, with
// none, records them as moved without touching the disk).
class ScriptedTrash : public Trash
{
public:
    explicit ScriptedTrash(Trash *real = nullptr) : m_real(real) {}
    bool moveToTrash(const QString &path) override
    {
        asked << path;
        if (refuse.contains(path))
            return false;
        return m_real ? m_real->moveToTrash(path) : true;
    }
    QSet<QString> refuse;
    QStringList asked;

private:
    Trash *m_real;
};

// File services that pass every call to the real ones unless an error is scripted for the
// path, for failures that root would otherwise bypass.
class ScriptedFileServices : public FileServices
{
public:
    explicit ScriptedFileServices(FileServices &real) : m_real(real) {}
    int copyFile(const QString &source, const QString &target) override
    {
        copies << qMakePair(source, target);
        if (copyErrors.contains(target))
            return copyErrors.value(target);
        return m_real.copyFile(source, target);
    }
    int rename(const QString &from, const QString &to) override
    {
        if (renameErrors.contains(from))
            return renameErrors.value(from);
        return m_real.rename(from, to);
    }
    int makeFolder(const QString &path) override
    {
        if (folderErrors.contains(path))
            return folderErrors.value(path);
        return m_real.makeFolder(path);
    }
    int removeFolder(const QString &path) override
    {
        if (folderErrors.contains(path))
            return folderErrors.value(path);
        return m_real.removeFolder(path);
    }
    bool exists(const QString &path) override { return m_real.exists(path); }
    qint64 length(const QString &path) override { return m_real.length(path); }
    FileContents readFile(const QString &path, qint64 maxSize) override
    {
        noteRead(path);
        return m_real.readFile(path, maxSize);
    }
    FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                  const std::function<bool(QByteArrayView)> &consume) override
    {
        noteRead(path);
        if (readErrors.contains(path)) {
            FileContents refused;
            refused.error = readErrors.value(path);
            return refused;
        }
        return m_real.readFileInPieces(path, maxSize, consume);
    }
    // The real reader, each read it makes on a worker noted in workerReads(), refusing the
    // readErrors set when it was handed out.
    std::shared_ptr<FileReader> reader() override
    {
        return std::make_shared<RecordingReader>(m_real.reader(), m_workerReads, readErrors);
    }
    int writeFile(const QString &path, const QByteArray &data) override
    {
        writes << path;
        if (writeErrors.contains(path))
            return writeErrors.value(path);
        return m_real.writeFile(path, data);
    }
    int replaceFile(const QString &path, const QByteArray &data) override
    {
        writes << path;
        if (writeErrors.contains(path))
            return writeErrors.value(path);
        return m_real.replaceFile(path, data);
    }
    WriteResult writeFilePieces(const QString &path, const FilePieces &pieces, LinkAtPath link) override
    {
        writes << path;
        if (writeResults.contains(path))
            return writeResults.value(path);
        if (writeErrors.contains(path)) {
            WriteResult result;
            result.error = writeErrors.value(path);
            return result;
        }
        return m_real.writeFilePieces(path, pieces, link);
    }
    bool isSameFile(const QString &a, const QString &b) override { return m_real.isSameFile(a, b); }

    QHash<QString, int> copyErrors;   // by target path
    QHash<QString, int> renameErrors; // by source path
    QHash<QString, int> folderErrors; // by folder path
    QHash<QString, int> writeErrors;  // by target path
    // Read from the editor's worker: set before a load begins.
    QHash<QString, int> readErrors;   // by path, for readFileInPieces
    // A whole result for writeFilePieces (a failure that cannot be made here), by target path.
    QHash<QString, WriteResult> writeResults;
    QStringList reads;
    QStringList writes;
    QList<QPair<QString, QString>> copies;
    // The files the readers handed out read, on whatever thread.
    QStringList workerReads() const
    {
        const std::lock_guard lock(m_workerReads->mutex);
        return m_workerReads->paths;
    }

private:
    // Shared with the readers, which may outlive these services.
    struct ReadLog
    {
        std::mutex mutex;
        QStringList paths;
    };
    class RecordingReader : public FileReader
    {
    public:
        RecordingReader(std::shared_ptr<FileReader> real, std::shared_ptr<ReadLog> log, QHash<QString, int> errors)
            : m_real(std::move(real)), m_log(std::move(log)), m_errors(std::move(errors))
        {
        }
        qint64 length(const QString &path) override { return m_real->length(path); }
        FileContents readFileInPieces(const QString &path, qint64 maxSize,
                                      const std::function<bool(QByteArrayView)> &consume) override
        {
            {
                const std::lock_guard lock(m_log->mutex);
                m_log->paths << path;
            }
            if (m_errors.contains(path)) {
                FileContents refused;
                refused.error = m_errors.value(path);
                return refused;
            }
            return m_real->readFileInPieces(path, maxSize, consume);
        }

    private:
        std::shared_ptr<FileReader> m_real;
        std::shared_ptr<ReadLog> m_log;
        const QHash<QString, int> m_errors;
    };

    void noteRead(const QString &path) { reads << path; }

    FileServices &m_real;
    std::shared_ptr<ReadLog> m_workerReads = std::make_shared<ReadLog>();
};

class RecordingProgramEnd : public ProgramEnd
{
public:
    void endNow() override { ++endCalls; }
    bool isEnding() const override { return endCalls > 0; }
    int endCalls = 0;
};

class FixedClock : public Clock
{
public:
    QDateTime now() override { return time; }
    QDateTime time = QDateTime(QDate(2026, 12, 10), QTime(9, 30));
};

// Prints into a PDF file instead of a printer queue.
class PdfPrinter : public PrinterService
{
public:
    explicit PdfPrinter(QString pdfPath) : m_pdfPath(std::move(pdfPath)) {}
    std::unique_ptr<QPrinter> defaultPrinter() override;
    bool available = true;
    int jobs = 0;

private:
    QString m_pdfPath;
};
