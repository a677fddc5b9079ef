#include "fileops/Namer.h"

#include "fileops/FileOpMessages.h"
#include "fileops/FolderPicture.h"
#include "fileops/FileOpRules.h"
#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>

const FormDesign &Namer::design()
{
    using Kind = ControlDesign::Kind;
    static const FormDesign form{
        .name = QStringLiteral("Namer"),
        .caption = QStringLiteral("New Folder Name"),
        .clientTwips = QSize(5280, 1710),
        .toolWindow = true,
        .picture = {DesignPicture::Placement::Fill, FolderPicture::naturalSize(), FolderPicture::paint},
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .twips = QRect(1190, 635, 1665, 325)},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(2400, 120, 1740, 340),
             .enabled = false},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral(" Directory Name"),
             .twips = QRect(360, 120, 495, 255), .backColor = ToolkitColor::White, .visible = false},
            {.kind = Kind::Label, .name = QStringLiteral("Label2"), .text = QStringLiteral("   New Folder Name "),
             .twips = QRect(1080, 960, 1815, 255), .backColor = ToolkitColor::rgb(0, 192, 0),
             .foreColor = ToolkitColor::HighlightText, .bold = true},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(3300, 1320, 1000, 400)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(4295, 1320, 1000, 400)},
        }};
    return form;
}

Namer::Namer(Services &services, PaneBoard &board, QWidget *parent)
    : DesignedWindow(design(), parent), m_services(services), m_board(board)
{
}

void Namer::Command1_Click()
{
    const QString folder = text1()->text();
    if (m_services.paths.isDriveRoot(folder)) {
        m_services.dialogs.message(FileOpMessages::driveRootRename(), MessageIcon::Critical);
        Q_EMIT unloadRequested();
        return;
    }
    const QString name = text2()->text();
    if (name.isEmpty()) {
        m_services.dialogs.message(FileOpMessages::enterNewName());
        return;
    }
    // A name that points into another folder, or is only blanks, is refused untouched.
    const bool refused = FileOpRules::leavesFolder(name) || name.trimmed().isEmpty();
    const int error = refused ? int(FileErrors::PathFileAccess)
                              : m_services.files.rename(folder, FileOpRules::renamedPath(folder, name));
    if (error != 0) {
        FileOpMessages::folderRename().report(m_services.dialogs, error);
        return;
    }
    resetLastChangedPane(m_services.paths.driveRootOf(folder));
    for (int n = 1; n <= PaneCount; ++n)
        m_board.pane(n).folderList()->refresh();
    Q_EMIT unloadRequested();
}

void Namer::resetLastChangedPane(const QString &root)
{
    // Asked again for each pane: the first reset makes its own pane the last changed one, so
    // at most one pane moves.
    for (int n = 1; n <= PaneCount; ++n) {
        Pane &pane = m_board.pane(n);
        if (m_board.lastFolderChangePane() != n)
            continue;
        pane.folderList()->setPath(root);
        pane.fileList()->setPath(root);
        pane.driveList()->setDrive(root);
    }
}
