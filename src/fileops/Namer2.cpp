#include "fileops/Namer2.h"

#include "fileops/FileOpMessages.h"
#include "fileops/FileOpRules.h"
#include "panes/PaneBoard.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathCodec.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>

namespace {
const QString designCaption = QStringLiteral("Rename File :");
}

const FormDesign &Namer2::design()
{
    using Kind = ControlDesign::Kind;
    constexpr qint32 orange = ToolkitColor::rgb(255, 128, 0);
    static const FormDesign form{
        .name = QStringLiteral("Namer2"),
        .caption = designCaption,
        .clientTwips = QSize(4875, 1725),
        .backColor = orange,
        .controls = {
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral(" New Filename"),
             .twips = QRect(1200, 360, 1455, 375), .backColor = orange,
             .foreColor = ToolkitColor::rgb(255, 255, 128), .bold = true},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(1200, 600, 2415, 375),
             .backColor = ToolkitColor::rgb(255, 255, 192)},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(1080, 1200, 900, 325)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(2830, 1200, 900, 325)},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .twips = QRect(120, 0, 2175, 285),
             .visible = false},
        }};
    return form;
}

Namer2::Namer2(Services &services, PaneBoard &board, QWidget *parent)
    : DesignedWindow(design(), parent), m_services(services), m_board(board)
{
}

void Namer2::setFile(const QString &name, const QString &path)
{
    setWindowTitle(designCaption + QLatin1Char(' ') + PathCodec::displayText(name));
    text2()->setText(path);
}

void Namer2::Command1_Click()
{
    const QString path = text2()->text();
    const QString name = text1()->text();
    // A name that is empty or points into another folder is refused before anything is touched.
    const int error = name.isEmpty() || FileOpRules::leavesFolder(name)
                          ? int(FileErrors::PathFileAccess)
                          : m_services.files.rename(path, FileOpRules::renamedPath(path, name));
    if (error != 0) {
        FileOpMessages::fileRename().report(m_services.dialogs, error);
        return;
    }
    m_board.refreshAll();
    Q_EMIT unloadRequested();
}
