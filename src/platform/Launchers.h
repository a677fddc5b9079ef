#pragma once

#include <QString>

enum class WindowStyle { Normal, Maximized };

// Starts a program without waiting for it. The path is the program itself: it is never
// handed to a shell or split into arguments.
class ProgramStarter
{
public:
    virtual ~ProgramStarter() = default;
    virtual bool startProgram(const QString &program, WindowStyle style, const QString &folder) = 0;
};

// Opens a document in the program the desktop associates with it (archives, media files).
class ShellOpen
{
public:
    virtual ~ShellOpen() = default;
    virtual bool open(const QString &path) = 0;
};

// The web browser.
class Browser
{
public:
    virtual ~Browser() = default;
    virtual bool isInstalled() = 0;
    // Starts the browser on address (no address for ""); an address starting with "-" is refused.
    virtual bool start(const QString &address, WindowStyle style) = 0;
};

// The browser's automation object: only whether it is busy, and quit.
class BrowserAutomation
{
public:
    virtual ~BrowserAutomation() = default;
    virtual bool isBusy() = 0;
    virtual void quit() = 0;
};

// The desktop shell's window collection, each member asked to quit at File > Exit.
class ShellWindows
{
public:
    virtual ~ShellWindows() = default;
    virtual void quitAll() = 0;
};
