#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The design of one pane: the names of its controls and menus, its pattern box's design text,
// its tooltips and colours. Five rows of one table; code branches on these values, never on
// the pane's number.
struct PaneSpec
{
    int number;                 // 1..5
    QString driveList;          // "DriveBox", "Drive2", ...
    QString folderList;         // "DirBox", "DirBox2", ...
    QString fileList;           // "FileBox", "FileBox2", ...
    QString patternBox;         // "Text1" .. "Text5"
    QString button;             // "Command1" .. "Command5"
    QString filePopup;          // "mnuPopup1", "mnuPopUp2", ...
    QString folderPopup;        // "mnuDirPop1" .. "mnuDirPop5"
    QString designPattern;      // "*.htm", ...
    QString folderTooltip;
    qint32 driveListColor;      // toolkit colour values (ToolkitColor)
    qint32 folderListColor;
    qint32 fileListColor;
    // Media endings that only this pane's double-click plays, tested where the shared table
    // leaves room for them (pane 1: the four-letter MPEG names).
    QStringList ownMediaEndings = {};

    QString numberText() const { return QString::number(number); }
};

inline constexpr int PaneCount = 5;

// Pane N is paneSpecs()[N - 1].
const std::array<PaneSpec, PaneCount> &paneSpecs();

// Texts every pane shares.
namespace PaneTexts {
QString driveTooltip();
QString fileTooltip();
QString patternTooltip();
QString buttonTooltip();
QString buttonCaption();
QString noFilesMessage();
// The drive change's message for a failure number; "" for a number it does not report.
QString driveErrorMessage(int errorNumber);
} // namespace PaneTexts
