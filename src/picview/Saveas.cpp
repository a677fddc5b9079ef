#include "picview/Saveas.h"

#include "picview/PictureFile.h"
#include "picview/SaveasRules.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"
#include "platform/ui/ToolkitColor.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr qint32 green = ToolkitColor::rgb(0, 192, 0);

// The picture as a file of its own kind: a bitmap as BMP, an icon as ICO, a metafile as the
// metafile it was read from.
QByteArray ownKindFile(const Picture &picture)
{
    if (picture.kind() == Picture::Kind::Metafile)
        return picture.bytes();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, picture.kind() == Picture::Kind::Icon ? "ico" : "bmp");
    if (!writer.write(picture.toImage()))
        return QByteArray();
    return buffer.data();
}
} // namespace

const FormDesign &Saveas::design()
{
    using Kind = ControlDesign::Kind;
    static const FormDesign form{
        .name = QStringLiteral("Saveas"),
        .caption = QStringLiteral("Panoptra Picture Saver"),
        .clientTwips = QSize(4920, 2865),
        .backColor = green,
        .toolWindow = true,
        .controls = {
            {.kind = Kind::TextBox, .name = QStringLiteral("Text1"), .twips = QRect(960, 720, 2775, 375)},
            {.kind = Kind::TextBox, .name = QStringLiteral("Text2"), .twips = QRect(960, 1440, 2775, 405)},
            {.kind = Kind::CheckBox, .name = QStringLiteral("Check1"), .twips = QRect(1080, 1920, 255, 195),
             .backColor = green},
            {.kind = Kind::Button, .name = QStringLiteral("Command1"), .text = QStringLiteral("Okay"),
             .twips = QRect(960, 2400, 875, 375)},
            {.kind = Kind::Button, .name = QStringLiteral("Command2"), .text = QStringLiteral("Cancel"),
             .twips = QRect(3240, 2400, 875, 375)},
            {.kind = Kind::Label, .name = QStringLiteral("Label3"), .twips = QRect(1320, 1920, 2775, 255),
             .backColor = green, .foreColor = ToolkitColor::HighlightText, .bold = true},
            {.kind = Kind::Label, .name = QStringLiteral("Label1"), .text = QStringLiteral(" Name For Picture (name.bmp)"),
             .twips = QRect(960, 480, 4935, 375), .backColor = green, .foreColor = ToolkitColor::HighlightText,
             .bold = true},
            {.kind = Kind::Label, .name = QStringLiteral("Label2"), .text = QStringLiteral("Copy To Folder"),
             .twips = QRect(1080, 1200, 2655, 255), .backColor = green, .foreColor = ToolkitColor::HighlightText,
             .bold = true},
        }};
    return form;
}

Saveas::Saveas(Services &services, SharedWindow<RealView> &viewer)
    : DesignedWindow(design()), m_services(services), m_viewer(viewer)
{
    for (QLabel *label : findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        label->setTextFormat(Qt::PlainText);
    // The fixed folder is the system's temporary folder here; the label names it.
    label(QStringLiteral("Label3"))->setText(SaveasRules::fixedFolderLabel(QDir::tempPath()));
}

void Saveas::Command1_Click()
{
    QCoreApplication::processEvents();
    const QString name = text1()->text();
    const QString folder = text2()->text();
    if (checkBox(QStringLiteral("Check1"))->isChecked()) {
        saveToFixedFolder(name);
        return;
    }
    if (const std::optional<QString> failure = SaveasRules::check(name, folder, m_services.paths)) {
        m_services.dialogs.message(*failure);
        return;
    }
    if (m_services.files.exists(folder))
        copyToFolder(name, folder);
    else
        OfferCreateFolder(name, folder);
}

void Saveas::saveToFixedFolder(const QString &name)
{
    const RealView *view = m_viewer.get();
    const QByteArray bytes = view ? ownKindFile(view->picture()) : QByteArray();
    const bool written = writeCopy(PathHelper::join(QDir::tempPath(), name),
                                   bytes.isEmpty() || name.isEmpty() ? std::nullopt : std::optional(bytes));
    if (written)
        finish();
}

void Saveas::copyToFolder(const QString &name, const QString &folder)
{
    if (!copyShownFile(PathHelper::join(folder, name)))
        return;
    QDir::setCurrent(QStringLiteral("/"));
    finish();
}

void Saveas::OfferCreateFolder(const QString &name, const QString &folder)
{
    MessageRequest question{SaveasRules::createQuestion(folder), SaveasRules::createTitle(), MessageButtons::YesNo};
    question.defaultButton = MessageAnswer::No;
    if (m_services.dialogs.message(question) != MessageAnswer::Yes) {
        Q_EMIT unloadRequested();
        return;
    }
    if (m_services.files.makeFolder(folder) != 0) {
        m_services.dialogs.message(SaveasRules::copyFailed(PathHelper::join(folder, name)));
        return;
    }
    QCoreApplication::processEvents();
    // One copy into the new folder; no second round of checks or questions.
    copyToFolder(name, folder);
}

bool Saveas::copyShownFile(const QString &target)
{
    const RealView *view = m_viewer.get();
    const QString source = view ? view->fileName() : QString();
    if (source.isEmpty() || PathHelper::baseName(target).isEmpty())
        return writeCopy(target, std::nullopt);
    // The target is the shown file itself, which stays as it is.
    if (m_services.files.isSameFile(source, target))
        return true;
    // No longer than a file the viewer reads.
    const FileContents contents = m_services.files.readFile(source, PictureFile::maxFileBytes);
    return writeCopy(target, contents.error == 0 && !contents.tooLarge ? std::optional(contents.data) : std::nullopt);
}

bool Saveas::writeCopy(const QString &target, const std::optional<QByteArray> &bytes)
{
    // Written whole beside the target and renamed over it, so nothing is written anywhere
    // else; a new file gets the user's umask, an existing one keeps its mode. The folder may be
    // shared with every user: a link someone left under the name is replaced, never followed.
    if (!bytes || m_services.files.replaceFile(target, *bytes) != FileErrors::None) {
        m_services.dialogs.message(SaveasRules::copyFailed(target));
        return false;
    }
    return true;
}

void Saveas::finish()
{
    QCoreApplication::processEvents();
    Q_EMIT unloadRequested();
}
