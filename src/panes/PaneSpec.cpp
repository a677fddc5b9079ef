#include "panes/PaneSpec.h"

#include "platform/FileErrors.h"
#include "platform/ui/ToolkitColor.h"

namespace {
const QString folderTip = QStringLiteral("Double click on a folder to show it's files in the box below");

std::array<PaneSpec, PaneCount> makeSpecs()
{
    using namespace ToolkitColor;
    const auto s = [](const char *text) { return QString::fromLatin1(text); };
    return {{
        {1, s("DriveBox"), s("DirBox"), s("FileBox"), s("Text1"), s("Command1"), s("mnuPopup1"),
         s("mnuDirPop1"), s("*.htm"),
         s("Double click on a folder to show it's files in  the box below"), White, Teal,
         WindowBackground, {s("MPEG"), s("Mpeg"), s("mpeg")}},
        {2, s("Drive2"), s("DirBox2"), s("FileBox2"), s("Text2"), s("Command2"), s("mnuPopUp2"),
         s("mnuDirPop2"), s("*.txt"), folderTip, WindowBackground, Teal, White},
        {3, s("Drive3"), s("DirBox3"), s("FileBox3"), s("Text3"), s("Command3"), s("mnuPopup3"),
         s("mnuDirPop3"), s("*.exe"), folderTip, WindowBackground, Teal, White},
        {4, s("Drive4"), s("DirBox4"), s("FileBox4"), s("Text4"), s("Command4"), s("mnuPopUp4"),
         s("mnuDirPop4"), s("*.zip"), folderTip, WindowBackground, Teal, White},
        {5, s("Drive5"), s("DirBox5"), s("FileBox5"), s("Text5"), s("Command5"), s("mnuPopup5"),
         s("mnuDirPop5"), s("*.bmp"), folderTip, WindowBackground, Teal, White},
    }};
}

struct DriveError
{
    int number;
    const char *message;
};

const DriveError driveErrors[] = {
    {FileErrors::DeviceIo, "Device not connected or in use"},
    {FileErrors::DiskFull, "Disk is full"},
    {FileErrors::DeviceUnavailable, "Device not available or no disk in drive"},
    {FileErrors::PermissionDenied, "Can't copy file to the same location"},
    {FileErrors::DiskNotReady, "Insert disk to continue"},
    {FileErrors::PathNotFound,
     "Either the destination doesn't exist or the path to the folder is misspelled or incomplete"},
};
} // namespace

const std::array<PaneSpec, PaneCount> &paneSpecs()
{
    static const std::array<PaneSpec, PaneCount> specs = makeSpecs();
    return specs;
}

namespace PaneTexts {

QString driveTooltip()
{
    return QStringLiteral("Click right arrow to change to another drive");
}

QString fileTooltip()
{
    return QStringLiteral("Right click for options");
}

QString patternTooltip()
{
    return QStringLiteral("Example(*.zip,*.bat) then click Change Extension");
}

QString buttonTooltip()
{
    return QStringLiteral("Enter any file extension below, then click here ");
}

QString buttonCaption()
{
    return QStringLiteral("Change Extension");
}

QString noFilesMessage()
{
    return QStringLiteral("No files of this type in present directory.");
}

QString driveErrorMessage(int errorNumber)
{
    for (const DriveError &error : driveErrors) {
        if (error.number == errorNumber)
            return QString::fromLatin1(error.message);
    }
    return QString();
}

} // namespace PaneTexts
