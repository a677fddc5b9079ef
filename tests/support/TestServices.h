#pragma once

#include "platform/PathHelper.h"
#include "platform/PosixFileServices.h"
#include "platform/FreedesktopTrash.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Services.h"
#include "support/Doubles.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QTemporaryDir>

// The services a test runs against: real files, trash and clipboard under a temporary home,
// doubles for what would block or leave the sandbox. HOME, XDG_DATA_HOME, XDG_CONFIG_HOME,
// XDG_CACHE_HOME and TMPDIR point into the temporary home for as long as the object lives (HOME
// too, because Qt picks the trash of a file by comparing its volume with the home folder's).
class TestServices
{
    QTemporaryDir m_home; // first: the members below live inside it

public:
    TestServices();
    ~TestServices();

    Services &services() { return m_services; }
    QString home() const { return m_home.path(); }
    QString dataHome() const { return m_home.path() + QStringLiteral("/data"); }
    QString configHome() const { return m_home.path() + QStringLiteral("/config"); }
    // Where the backups of files saved in place go, in Panoptra/ below it.
    QString cacheHome() const { return m_home.path() + QStringLiteral("/cache"); }
    // The temporary folder (TMPDIR, QDir::tempPath()) while the object lives.
    QString tempHome() const { return m_home.path() + QStringLiteral("/tmp"); }

    ScriptedDialogs dialogs;
    PosixFileServices realFiles;
    ScriptedFileServices files{realFiles};
    FreedesktopTrash realTrash;
    ScriptedTrash trash{&realTrash};
    ScriptedDrives drives;
    PathHelper paths;
    QtClipboard clipboard;
    RecordingProgramStarter programs;
    RecordingShellOpen shellOpen;
    RecordingBrowser browser;
    ScriptedBrowserAutomation browserAutomation;
    CountingShellWindows shellWindows;
    PdfPrinter printer{m_home.path() + QStringLiteral("/print.pdf")};
    RecordingProgramEnd programEnd;
    FixedClock clock;

private:
    QByteArray m_oldHome, m_oldData, m_oldConfig, m_oldCache, m_oldTemp;
    Services m_services;
};
