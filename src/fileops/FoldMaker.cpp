#include "fileops/FoldMaker.h"

#include "fileops/FileOpMessages.h"
#include "fileops/FileOpRules.h"
#include "fileops/FolderPicture.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>

const FormDesign &FoldMaker::design()
{
    using Kind = ControlDesign::Kind;
    static const FormDesign form{
        .name = QStringLiteral("FoldMaker"),
        .caption = QStringLiteral("Create Folder"),
        .clientTwips = QSize(5415, 2325),
        .backColor = ToolkitColor::White,
        .picture = {DesignPicture::Placement::TopLeft, FolderPicture::naturalSize(), FolderPicture::paint},
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(1145, 840, 1815, 315)},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral(" New  Folder Name"),
             .twips = QRect(1150, 1140, 1815, 255), .backColor = ToolkitColor::rgb(0, 192, 0),
             .foreColor = ToolkitColor::ButtonHighlight, .bold = true},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(1200, 1800, 900, 325)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(3300, 1800, 900, 325)},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .twips = QRect(120, 0, 1455, 375),
             .visible = false},
        }};
    return form;
}

FoldMaker::FoldMaker(Services &services, PaneBoard &board, QWidget *parent)
    : DesignedWindow(design(), parent), m_services(services), m_board(board)
{
}

void FoldMaker::setFolder(const QString &folder)
{
    text2()->setText(PathHelper::join(folder, QString()));
}

void FoldMaker::Command1_Click()
{
    const QString name = text1()->text();
    if (FileOpRules::leavesFolder(name)) {
        m_services.dialogs.message(FileOpMessages::folderNameOnly());
        return;
    }
    const QString folder = text2()->text();
    if (!folder.trimmed().isEmpty()) {
        // The name goes to the file system as typed, blanks included; an empty one names the
        // folder itself, which exists.
        const int error = m_services.files.makeFolder(folder + name);
        if (error != 0) {
            FileOpMessages::newFolder().report(m_services.dialogs, error);
            return;
        }
    }
    for (int n = 1; n <= PaneCount; ++n)
        m_board.pane(n).folderList()->refresh();
    Q_EMIT unloadRequested();
}
