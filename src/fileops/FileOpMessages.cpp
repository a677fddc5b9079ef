#include "fileops/FileOpMessages.h"

#include "platform/FileErrors.h"

bool MessageTable::report(Dialogs &dialogs, int error) const
{
    const auto found = texts.constFind(error);
    if (found == texts.cend())
        return false;
    dialogs.message(*found, icon);
    return true;
}

namespace FileOpMessages {

using namespace FileErrors;

const MessageTable &copyFile()
{
    static const MessageTable table{
        MessageIcon::None,
        {
            {DeviceIo, QStringLiteral("Device not connected or in use")},
            {DiskFull, QStringLiteral("Disk is full")},
            {DeviceUnavailable, QStringLiteral("Device not available")},
            {DiskNotReady, QStringLiteral("Insert disk to continue")},
            {PathFileAccess, QStringLiteral("Destination is write protected or read only or not found")},
            {PathNotFound, QStringLiteral("Either the destination doesn't exist or the path to the folder is misspelled or incomplete")},
        }};
    return table;
}

QString enterDestination()
{
    return QStringLiteral("Please enter destination to continue");
}

const MessageTable &fileRename()
{
    static const MessageTable table{
        MessageIcon::Information,
        {
            {FileNotFound, QStringLiteral(" Path to this file is not found")},
            {FileAlreadyExists, QStringLiteral(" Duplicate filename already exists. ")},
            {PathFileAccess, QStringLiteral(" Write protected or access marked as restricted")},
        }};
    return table;
}

QString noFileSelected()
{
    return QStringLiteral("No file Selected");
}

const MessageTable &folderRename()
{
    static const MessageTable table{
        MessageIcon::Information,
        {
            {FileNotFound, QStringLiteral(" Path to this directory is not found")},
            {FileAlreadyExists, QStringLiteral(" Duplicate name already exists. ")},
            {PathFileAccess, QStringLiteral(" Write protected disk or access marked as restricted,or read only cd-rom")},
        }};
    return table;
}

QString driveRootRename()
{
    return QStringLiteral("Cannot change name of drive root directory or no double click over folder name.");
}

QString enterNewName()
{
    return QStringLiteral("Please enter new name to continue");
}

const MessageTable &newFolder()
{
    static const MessageTable table{
        MessageIcon::Information,
        {
            {FileNotFound, QStringLiteral(" Path to this folder is not found")},
            {FileAlreadyExists, QStringLiteral(" Duplicate folder already exists. ")},
            {PathFileAccess, QStringLiteral(" Write protected or access marked as restricted or name already exists")},
            {PathNotFound, QStringLiteral("Can't map path to folder or read only media")},
        }};
    return table;
}

QString folderNameOnly()
{
    return QStringLiteral("Please enter the new folder name only  ");
}

const MessageTable &removeFolder()
{
    static const MessageTable table{
        MessageIcon::Information,
        {
            {PathFileAccess, QStringLiteral("Can only delete folder after files are deleted.")},
        }};
    return table;
}

} // namespace FileOpMessages
