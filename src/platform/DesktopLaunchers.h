#pragma once

#include "platform/Launchers.h"

class DetachedProgramStarter : public ProgramStarter
{
public:
    bool startProgram(const QString &program, WindowStyle style, const QString &folder) override;
};

class XdgShellOpen : public ShellOpen
{
public:
    bool open(const QString &path) override;
};

class SensibleBrowser : public Browser
{
public:
    bool isInstalled() override;
    bool start(const QString &address, WindowStyle style) override;
};

// Linux has no browser automation object: never busy, nothing to quit.
class NoBrowserAutomation : public BrowserAutomation
{
public:
    bool isBusy() override { return false; }
    void quit() override {}
};

// Linux has no shell window collection to close; other programs' windows are left alone.
class NoShellWindows : public ShellWindows
{
public:
    void quitAll() override {}
};
