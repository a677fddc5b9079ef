#include "fileops/CopyFileDialog.h"

#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/FileOpMessages.h"
#include "fileops/FileOpRules.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>

#include <array>

namespace {

// Where the five windows differ.
struct PaneDesign
{
    QString name;
    QString popupCaption;
    qint32 backColor;
    QString label1Text;
    int label1Left;
    int label2Width;
    int text1Width;
    int text2Width;
};

const QString sendCopyText = QStringLiteral(" Send a copy of file to Path  (Example C:\\Temp)");

const std::array<PaneDesign, PaneCount> &paneDesigns()
{
    static const std::array<PaneDesign, PaneCount> designs{{
        {QStringLiteral("Form2"), QStringLiteral("Copy FileTo.."), ToolkitColor::White,
         QStringLiteral("     ") + sendCopyText, -240, 8775, 9015, 4095},
        {QStringLiteral("Form5"), QStringLiteral("Copy File To.."), ToolkitColor::HighlightText,
         sendCopyText, 0, 8775, 9015, 4095},
        {QStringLiteral("Form6"), QStringLiteral("Copy File To"), ToolkitColor::HighlightText,
         sendCopyText, 0, 8755, 6135, 4215},
        {QStringLiteral("Form7"), QStringLiteral("Copy File To.."), ToolkitColor::HighlightText,
         sendCopyText, 0, 8775, 9015, 4095},
        {QStringLiteral("Form8"), QStringLiteral("Copy File To.."), ToolkitColor::HighlightText,
         sendCopyText, 0, 8775, 9015, 4095},
    }};
    return designs;
}

const PaneDesign &paneDesign(int pane)
{
    return paneDesigns().at(std::size_t(pane - 1));
}

} // namespace

FormDesign CopyFileDialog::design(int pane)
{
    using Kind = ControlDesign::Kind;
    const PaneDesign &row = paneDesign(pane);
    return FormDesign{
        .name = row.name,
        .caption = QStringLiteral("Copy File"),
        .clientTwips = QSize(6135, 1155),
        .backColor = row.backColor,
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .twips = QRect(0, 840, row.text2Width, 325),
             .toolTip = QStringLiteral(" FolderName Only")},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(4080, 840, 975, 325)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(5040, 840, 1095, 325)},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = row.label1Text,
             .twips = QRect(row.label1Left, 600, 9015, 255), .backColor = ToolkitColor::Blue,
             .foreColor = ToolkitColor::White},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(0, 240, row.text1Width, 325)},
            {.kind = Kind::Label, .name = QStringLiteral("Label2"), .text = QStringLiteral(" Copy from "),
             .twips = QRect(0, 0, row.label2Width, 255), .backColor = ToolkitColor::Red,
             .foreColor = ToolkitColor::HighlightText},
        }};
}

QString CopyFileDialog::popupCaption(int pane)
{
    return paneDesign(pane).popupCaption;
}

CopyFileDialog::CopyFileDialog(int pane, Services &services, PaneBoard &board, CopyCommands &copy,
                               const CopyBatch &batch, QWidget *parent)
    : DesignedWindow(design(pane), parent), m_pane(pane), m_services(services), m_board(board),
      m_copy(copy), m_batch(batch)
{
}

void CopyFileDialog::Command1_Click()
{
    const QString destination = text2()->text();
    if (destination.isEmpty()) {
        m_services.dialogs.message(FileOpMessages::enterDestination());
        return;
    }
    // The pane's selection and folder as they are now, not as Text1 showed them, become the
    // copy batch, exactly as the pane's own Copy makes it.
    m_copy.paneCopy(m_pane);
    const FileOpRules::CopyOutcome outcome =
        FileOpRules::copyInto(m_services.files, m_batch.sourceFolder(), m_batch.list1(), destination);
    hide();
    if (outcome.error != 0)
        FileOpMessages::copyFile().report(m_services.dialogs, outcome.error);
    m_board.refreshPane(m_pane);
}
