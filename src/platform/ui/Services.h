#pragma once

class BrowserAutomation;
class Browser;
class Clipboard;
class Clock;
class Dialogs;
class Drives;
class FileServices;
class PathHelper;
class PrinterService;
class ProgramEnd;
class ProgramStarter;
class ShellOpen;
class ShellWindows;
class Trash;

// The operating-system services, built once by main() (or by a test) and passed down.
struct Services
{
    Dialogs &dialogs;
    FileServices &files;
    Trash &trash;
    Drives &drives;
    const PathHelper &paths;
    Clipboard &clipboard;
    ProgramStarter &programs;
    ShellOpen &shellOpen;
    Browser &browser;
    BrowserAutomation &browserAutomation;
    ShellWindows &shellWindows;
    PrinterService &printer;
    ProgramEnd &programEnd;
    Clock &clock;
};
