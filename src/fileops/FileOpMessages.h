#pragma once

#include "platform/ui/Dialogs.h"

#include <QHash>
#include <QString>

// What a command family says about a failed file operation: the text for each error number it
// knows (other numbers pass silently) and the icon its boxes carry.
struct MessageTable
{
    MessageIcon icon = MessageIcon::None;
    QHash<int, QString> texts;

    // Shows the box for error when the table knows it; returns whether a box was shown.
    bool report(Dialogs &dialogs, int error) const;
};

// The messages of the Copy File, rename and folder commands, each family's in one place.
namespace FileOpMessages {

// "Copy File To..": the copy into the typed folder (its "select a file" message is File >
// Copy's, in BatchMessages).
const MessageTable &copyFile();
QString enterDestination();

// The file pop-up's "Rename".
const MessageTable &fileRename();
QString noFileSelected();

// The folder pop-up's "Rename".
const MessageTable &folderRename();
QString driveRootRename();
QString enterNewName();

// "Add New Folder".
const MessageTable &newFolder();
QString folderNameOnly();

// The folder pop-up's "Remove".
const MessageTable &removeFolder();

} // namespace FileOpMessages
